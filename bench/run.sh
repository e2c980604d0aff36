#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Builds the benchmarks in release mode (the bench preset, build-bench) and runs each, or only
# those named (bench/run.sh bench_browse bench_startup); every figure is printed beside the
# reference measured in the same run.
#
# Each benchmark also prints its figures as lines "FIGURE<TAB>bench<TAB>what<TAB>reference<TAB>
# ratio<TAB>goal<TAB>measured<TAB>how". This script gathers them into the table between the
# figures markers of docs/BENCHMARKS.md, with the machine and the date: the benches run replace
# their own rows, the others keep theirs. BENCH_PAGE=no leaves the page alone.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
if [ "$#" -gt 0 ]; then
  cmake --build --preset bench -j"$(nproc)" --target "$@"
  benches=("$@")
else
  cmake --build --preset bench -j"$(nproc)"
  benches=($(cd bench && ls bench_*.cpp | sed 's/\.cpp$//'))
fi
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
figures="$(mktemp)"
trap 'rm -f "$figures"' EXIT
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
ran=()
for name in "${benches[@]}"; do
  b="build-bench/bench/$name"
  [ -x "$b" ] || continue
  echo "== $name"
  set +e
  "$b" | tee -a "$figures" | grep -v '^FIGURE'
  status="${PIPESTATUS[0]}"
  set -e
  if [ "$status" -ne 0 ]; then
    echo "$name failed (exit $status)" >&2
    exit 1
  fi
  ran+=("$name")
done
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"
[ "${BENCH_PAGE:-yes}" = no ] && exit 0

page=docs/BENCHMARKS.md
begin='<!-- figures:begin (written by bench/run.sh; edit the prose outside these markers) -->'
end='<!-- figures:end -->'
if ! grep -qF "$begin" "$page" || ! grep -qF "$end" "$page"; then
  echo "$page has no figures markers; the page is left as it was" >&2
  exit 1
fi

# Where and how: gathered from the machine and the build, never typed.
cpu="$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
cores="$(nproc)"
memory="$(awk '/^MemTotal/ { printf "%.0f GB", $2 / 1024 / 1024 }' /proc/meminfo)"
os="$(. /etc/os-release && echo "$PRETTY_NAME")"
compiler_path="$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build-bench/CMakeCache.txt)"
compiler="$("${compiler_path:-c++}" --version | head -1)"
build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' build-bench/CMakeCache.txt)"
qt="$(sed -n 's/^Qt6Core_DIR:[A-Z]*=//p' build-bench/CMakeCache.txt)"
qt_version="$(cat "$qt"/Qt6CoreConfigVersion*.cmake 2>/dev/null |
  sed -n 's/.*PACKAGE_VERSION "\([0-9.]*\)".*/\1/p' | head -1)"
when="$(date -u '+%Y-%m-%d %H:%M UTC')"
machine="Measured on: ${cpu}, ${cores} cores, ${memory} of memory; ${os}; ${compiler}; \
Qt ${qt_version:-unknown} with the ${QT_QPA_PLATFORM} platform; ${build_type} build (\`bench\` preset); \
load average ${load_before} before and ${load_after} after the run; ${when}. \
Benchmarks run: ${ran[*]}."

# The rows of the benches that did not run now stay as they were.
old_rows="$(awk -v begin="$begin" -v end="$end" '
  $0 == begin { inside = 1; next }
  $0 == end { inside = 0 }
  inside && /^\| `/' "$page")"
keep=""
while IFS= read -r row; do
  [ -z "$row" ] && continue
  bench="$(printf '%s' "$row" | sed 's/^| `\([^`]*\)`.*/\1/')"
  case " ${ran[*]} " in *" $bench "*) ;; *) keep+="$row"$'\n' ;; esac
done <<<"$old_rows"

new_rows="$(awk -F'\t' -v when="$(date -u '+%Y-%m-%d')" '
  $1 == "FIGURE" && NF >= 8 {
    goal = $6 == "" ? "" : "<= " $6 "x"
    if ($6 != "") goal = goal (($5 + 0 <= $6 + 0) ? ", met" : ", not met")
    printf "| `%s` | %s | %s | %.2fx | %s | %s | %s | %s |\n", $2, $3, $4, $5, goal, $7, $8, when
  }' "$figures")"

table="$(
  echo "$machine"
  echo
  echo "| Bench | What is measured | Reference (same run) | Ratio | Goal | Measured | How | When |"
  echo "|---|---|---|---|---|---|---|---|"
  printf '%s\n%s\n' "$keep" "$new_rows" | grep '^| `' | sort -s -t'|' -k2,2
)"

tmp="$(mktemp)"
TABLE="$table" awk -v begin="$begin" -v end="$end" '
  $0 == begin { print; print ENVIRON["TABLE"]; skipping = 1; next }
  $0 == end { skipping = 0 }
  !skipping { print }' "$page" >"$tmp"
mv "$tmp" "$page"
echo "figures written to $page"
