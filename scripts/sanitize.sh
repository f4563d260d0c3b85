#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# (the preset "sanitize" of CMakePresets.json: -DVARNEL_SANITIZE=ON) in its
# own folder, build-sanitize/ (or the folder given as the first argument),
# and runs the whole test suite there. Any
# sanitizer report fails the test that triggered it: undefined behaviour
# aborts (-fno-sanitize-recover), leaks are reported at exit. -O1 keeps the
# reports' stacks exact and compiles quicker than -O2; -g1 gives the stacks
# their file names and line numbers without the rest of the debug
# information, which the reports do not use. $VARNEL_CMAKE_ARGS is added as
# for every build (scripts/configure_build.sh). Prints how long the build and
# the tests took. Exits non-zero when a test failed.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${1:-build-sanitize}"
jobs="$(nproc)"

start=$(date +%s)
. scripts/configure_build.sh
configure_build sanitize "$build_dir" >/dev/null
cmake --build "$build_dir" -j "$jobs"
built=$(date +%s)

# halt_on_error and abort_on_error make a report end the process with an
# error status, so ctest marks the test failed; print_stacktrace shows where.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

status=0
ctest --test-dir "$build_dir" --output-on-failure -j "$jobs" --timeout 900 || status=$?
finished=$(date +%s)

echo "Sanitizer build: $((built - start)) s; tests: $((finished - built)) s; total: $((finished - start)) s."
exit "$status"
