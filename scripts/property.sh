#!/usr/bin/env bash
# Runs the hostile-database property test with many more cases than CI:
#   scripts/property.sh [SEED] [CASES]
# SEED defaults to the current time (printed, so a failing run can be
# repeated), CASES to 2000. Each case is a small hostile database exported
# four times (both SAF-T types, both schema generations); a failure names the
# case's seed, which reruns alone with: scripts/property.sh <seed> 1
# Builds into build/ (or $VARNEL_BUILD_DIR) first. Exits non-zero on failure.
set -euo pipefail
cd "$(dirname "$0")/.."

seed="${1:-$(date +%s)}"
cases="${2:-2000}"
build_dir="${VARNEL_BUILD_DIR:-build}"

# A folder already configured (by setup.sh, say) keeps its configuration.
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  . scripts/configure_build.sh
  configure_build default "$build_dir" >/dev/null
fi
cmake --build "$build_dir" -j "$(nproc)" --target reliability_tests

echo "Property test: seed $seed, $cases cases"
start=$(date +%s)
status=0
"$build_dir/tests/reliability_tests" --gtest_filter='HostileDatabase.*' --seed="$seed" --cases="$cases" || status=$?
echo "Property test: seed $seed, $cases cases, $(( $(date +%s) - start )) s, exit status $status"
exit "$status"
