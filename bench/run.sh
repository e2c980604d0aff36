#!/usr/bin/env bash
# Builds the benchmarks in release mode (the bench preset, build-bench) and runs each, or only
# those named (bench/run.sh bench_browse bench_startup); every figure is printed beside the
# reference measured in the same run.
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
for name in "${benches[@]}"; do
  b="build-bench/bench/$name"
  [ -x "$b" ] || continue
  echo "== $name"
  "$b"
done
