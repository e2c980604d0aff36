#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers on) into
# build-fuzz (the fuzz preset) and runs each for a bounded time.
# Usage: fuzz/run.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
jobs="${FUZZ_JOBS:-2}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs" --target $(cd fuzz && ls *.cpp | sed 's/\.cpp$//')

export QT_QPA_PLATFORM=offscreen
status=0
for src in fuzz/*.cpp; do
  name="$(basename "$src" .cpp)"
  seeds="fuzz/corpus/${name#fuzz_}"
  seeds="${seeds%_reader}"
  work="build-fuzz/corpus/$name"
  mkdir -p "$work" "build-fuzz/artifacts/$name"
  args=("$work")
  [ -d "$seeds" ] && args+=("$seeds")
  [ -f "fuzz/$name.dict" ] && args=("-dict=fuzz/$name.dict" "${args[@]}")
  echo "== $name for ${seconds}s"
  if ! "build-fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
       -artifact_prefix="build-fuzz/artifacts/$name/" -print_final_stats=1 "${args[@]}"; then
    echo "!! $name found a failure; see build-fuzz/artifacts/$name/"
    status=1
  fi
done
exit $status
