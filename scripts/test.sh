#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Installs the packages, builds Quillet with its tests and runs every test, through a preset of
# CMakePresets.json: QUILLET_PRESET (default dev; ci adds warnings as errors). Extra cmake
# arguments for the configure step may be given in QUILLET_CMAKE_ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
preset="${QUILLET_PRESET:-dev}"
cmake --preset "$preset" ${QUILLET_CMAKE_ARGS:-}
cmake --build --preset "$preset" -j"$(nproc)"
# The print test sends a job through the real print system when a scheduler can be started.
if [ -x .ci/setup-cups.sh ]; then .ci/setup-cups.sh || echo "print system not available: its test will be skipped"; fi
ctest --preset "$preset" -j"$(nproc)"
