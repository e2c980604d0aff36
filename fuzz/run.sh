#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers on) into
# build-fuzz (the fuzz preset) and runs each for a bounded time, starting from its committed
# seeds (fuzz/corpus/<name>) and what earlier runs found (build-fuzz/corpus/<name>).
#
# Usage: fuzz/run.sh [seconds per target, default 60] [--grow] [target ...]
#   --grow   afterwards, merge into fuzz/corpus/<name> each input that reaches code the seeds
#            do not; commit what it adds, so the next run (and CI's) starts further in.
#   target   run only these (fuzz_rtf_reader ...); all of fuzz/*.cpp otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=60
grow=0
targets=()
for arg in "$@"; do
  case "$arg" in
    --grow) grow=1 ;;
    [0-9]*) seconds="$arg" ;;
    *) targets+=("$arg") ;;
  esac
done
[ "${#targets[@]}" -gt 0 ] || targets=($(cd fuzz && ls *.cpp | sed 's/\.cpp$//'))
jobs="${FUZZ_JOBS:-2}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
status=0
for name in "${targets[@]}"; do
  seeds="fuzz/corpus/${name#fuzz_}"
  seeds="${seeds%_reader}"
  work="build-fuzz/corpus/$name"
  mkdir -p "$work" "$seeds" "build-fuzz/artifacts/$name"
  dict=()
  [ -f "fuzz/$name.dict" ] && dict=("-dict=fuzz/$name.dict")
  echo "== $name for ${seconds}s"
  if ! "build-fuzz/fuzz/$name" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=4096 -artifact_prefix="build-fuzz/artifacts/$name/" -print_final_stats=1 \
       "$work" "$seeds"; then
    echo "!! $name found a failure; see build-fuzz/artifacts/$name/"
    status=1
  fi
  if [ "$grow" = 1 ]; then
    before=$(ls "$seeds" | wc -l)
    "build-fuzz/fuzz/$name" -merge=1 -timeout=10 -rss_limit_mb=4096 "$seeds" "$work" 2>/dev/null
    echo "== $name: corpus $before -> $(ls "$seeds" | wc -l) inputs in $seeds"
  fi
done
exit $status
