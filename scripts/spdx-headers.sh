#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Puts the licence and copyright lines at the top of every source file of the repository that
# lacks them: C++, CMake, shell and Python (an executable script's first line stays its "#!"
# line). Running it again changes nothing. With --check, changes nothing and fails listing the
# files without the lines.
#   scripts/spdx-headers.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."
LICENCE="SPDX-License-Identifier: GPL-3.0-or-later"
COPYRIGHT="Copyright (C) 2026 The Quillet developers"

# Every source file git knows: C++, CMake, shell, Python, and scripts without an extension
# (.ci/run) known by their "#!" line; not the fuzz inputs, which are data.
source_files() {
  git ls-files -z -- '*.cpp' '*.h' '*CMakeLists.txt' '*.cmake' '*.sh' '*.py' ':!fuzz/corpus'
  local file
  while IFS= read -r -d '' file; do
    case "${file##*/}" in *.* | CMakeLists.txt) continue ;; esac
    [ -f "$file" ] && head -n 1 "$file" | grep -qE '^#!.*(sh|bash|python3?)( |$)' && printf '%s\0' "$file"
  done < <(git ls-files -z -- ':!fuzz/corpus')
  return 0
}

# The comment leader of a source file.
leader() {
  case "$1" in
    *.cpp | *.h) echo "//" ;;
    *) echo "#" ;;
  esac
}

# True when the file's first lines already carry the licence line.
has_header() {
  head -n 4 "$1" | grep -qF "$LICENCE"
}

# Writes the two lines and a blank line after the "#!" line, if any, else at the very top.
add_header() {
  local file="$1" mark="$2" tmp
  tmp="$(mktemp)"
  {
    if head -n 1 "$file" | grep -q '^#!'; then
      head -n 1 "$file"
      printf '%s %s\n%s %s\n\n' "$mark" "$LICENCE" "$mark" "$COPYRIGHT"
      tail -n +2 "$file"
    else
      printf '%s %s\n%s %s\n\n' "$mark" "$LICENCE" "$mark" "$COPYRIGHT"
      cat "$file"
    fi
  } >"$tmp"
  # Keeps the file's mode (executable scripts stay executable).
  cat "$tmp" >"$file"
  rm -f "$tmp"
}

main() {
  local check=no file mark count=0
  local -a missing=()
  [ "${1:-}" = "--check" ] && check=yes
  while IFS= read -r -d '' file; do
    [ -f "$file" ] || continue
    count=$((count + 1))
    has_header "$file" && continue
    missing+=("$file")
    [ "$check" = yes ] || add_header "$file" "$(leader "$file")"
  done < <(source_files)

  if [ "$check" = yes ]; then
    if [ "${#missing[@]}" -gt 0 ]; then
      printf 'no licence lines (run scripts/spdx-headers.sh): %s\n' "${missing[@]}"
      return 1
    fi
    echo "licence lines: $count source files carry them"
  else
    echo "licence lines: added to ${#missing[@]} of $count source files"
  fi
}

# On one line, so that bash has read all of it before the script rewrites its own file.
main "$@"; exit $?
