#!/usr/bin/env bash
# Installs the packages, builds Quillet with its tests and runs every test.
# QUILLET_BUILD_DIR and extra cmake arguments (QUILLET_CMAKE_ARGS) may be given.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir="${QUILLET_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${QUILLET_CMAKE_ARGS:-}
cmake --build "$dir" -j"$(nproc)"
# The print test sends a job through the real print system when a scheduler can be started.
if [ -x .ci/setup-cups.sh ]; then .ci/setup-cups.sh || echo "print system not available: its test will be skipped"; fi
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
