#!/usr/bin/env bash
# Windows job, stage: the whole test suite under Wine through ctest. Each
# test program runs once (see tests/CMakeLists.txt); its own output, kept in
# build-windows/ctest.log, names every test case and every skipped one.
# Prints the programs' results, the skipped cases and the count of passed
# cases; exits with ctest's status.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh

ctest_status=0
ctest --test-dir "$out/project" --output-on-failure -V -j "$jobs" --timeout 900 >"$out/ctest.log" 2>&1 || ctest_status=$?
grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+:|tests passed|tests failed' "$out/ctest.log" || true
sed -n 's/^[0-9]*: \[  SKIPPED \] \([A-Za-z_0-9]*\.[A-Za-z_0-9/]*\).*/skipped: \1/p' "$out/ctest.log" | sort -u
passed=$(sed -n 's/^[0-9]*: \[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$out/ctest.log" | paste -sd+ | bc)
echo "Test cases passed under Wine: ${passed:-0}"
if [ "$ctest_status" -ne 0 ]; then
  grep -E '^[0-9]+: \[  FAILED  \]' "$out/ctest.log" | sort -u || true
  echo "Tests failed under Wine; the whole output is in $out/ctest.log." >&2
  exit "$ctest_status"
fi
