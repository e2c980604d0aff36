# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# shellcheck shell=bash
# Sourced by the scripts that run a list of checks (check-package.sh, check-clean-install.sh):
# each check prints one line, and the closing line has the form ctest uses, so that .ci/run
# counts the checks with the tests.
passed=0
failed=0

# check DESCRIPTION COMMAND...: runs the command, counts it and prints "ok" or "FAILED"; a failure
# is followed by the command's output, indented (its last CHECK_OUTPUT_LINES lines when that is
# set).
check() {
  local what="$1" out
  shift
  out="$(mktemp)"
  if "$@" >"$out" 2>&1; then
    passed=$((passed + 1))
    echo "ok      $what"
  else
    failed=$((failed + 1))
    echo "FAILED  $what"
    if [ -n "${CHECK_OUTPUT_LINES:-}" ]; then
      tail -n "$CHECK_OUTPUT_LINES" "$out" | sed 's/^/        /'
    else
      sed 's/^/        /' "$out"
    fi
  fi
  rm -f "$out"
}

# check_summary: the closing line; succeeds only when no check failed.
check_summary() {
  local total=$((passed + failed))
  echo "$((total ? passed * 100 / total : 0))% tests passed, $failed tests failed out of $total"
  [ "$failed" -eq 0 ]
}
