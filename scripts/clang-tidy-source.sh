#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Runs clang-tidy on one source as the build compiles it (the QUILLET_CLANG_TIDY option), except
# on the sources Qt's tools generate into the *_autogen folders, which are not ours to keep clean.
# Called as: clang-tidy-source.sh <clang-tidy> <its arguments> <source> -- <compile command>
for arg in "$@"; do
  [ "$arg" = "--" ] && break
  case "$arg" in *_autogen/*) exit 0 ;; esac
done
exec "$@"
