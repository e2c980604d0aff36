#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Checks that the libraries' layers hold (docs/ARCHITECTURE.md, "Architecture"): every
# #include "folder/..." of a source in a library's folder names that folder itself or one the
# picture puts below it on its path, never one above it or beside it. Prints each include that
# breaks the order and fails; prints one line and succeeds when none does.
set -euo pipefail
cd "$(dirname "$0")/.."

# The folders each library's folder may include directly, as the picture draws them; what those
# may include is allowed too.
declare -A uses=(
  [platform/system]=""
  [platform/rtf]=""
  [platform/printing]=""
  [platform/richedit]="platform/rtf"
  [platform/mci]="platform/system"
  [platform/gstreamer]="platform/mci"
  [platform/help]="platform/system"
  [toolkit]="platform/system platform/help"
  [browse]="toolkit"
  [notes]="toolkit platform/richedit"
  [printing]="toolkit platform/printing"
  [player]="toolkit platform/mci"
  [colour]="toolkit"
  [app]="browse notes printing player colour toolkit"
)

# Everything below `folder`, itself included.
below() {
  local folder="$1" seen=" $1 " queue=("$1")
  while [ "${#queue[@]}" -gt 0 ]; do
    local next="${queue[0]}"
    queue=("${queue[@]:1}")
    for used in ${uses[$next]}; do
      case "$seen" in *" $used "*) ;; *) seen+="$used " queue+=("$used") ;; esac
    done
  done
  echo "$seen"
}

# One awk pass over every include line: the folder of the file and of the header are the
# longest folders of the table that prefix them; a header outside them (generated, or the
# system's) is not checked.
rules=""
for folder in "${!uses[@]}"; do rules+="$folder=$(below "$folder");"; done
broken=0
git ls-files --cached --others --exclude-standard -- "${!uses[@]}" | grep -E '\.(h|cpp)$' |
  xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
  awk -v rules="$rules" '
    BEGIN {
      n = split(rules, entries, ";")
      for (i = 1; i <= n; i++) {
        if (entries[i] == "") continue
        split(entries[i], kv, "=")
        folders[kv[1]] = 1
        allowed[kv[1]] = kv[2]
      }
    }
    function owner(path,   best, f) {
      best = ""
      for (f in folders)
        if (index(path, f "/") == 1 && length(f) > length(best)) best = f
      return best
    }
    {
      split($0, parts, ":")
      file = parts[1]; line = parts[2]
      target = $0
      sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
      from = owner(file); to = owner(target)
      if (from == "" || to == "") next
      if (index(allowed[from], " " to " ") == 0) {
        printf "%s:%s: %s includes %s, of %s, which is not below it\n", file, line, from, target, to
        bad = 1
      }
    }
    END { exit bad }' || broken=1
if [ "$broken" -ne 0 ]; then
  echo "layers: includes against the order of docs/ARCHITECTURE.md"
  exit 1
fi
echo "layers: every include keeps the order of docs/ARCHITECTURE.md"
