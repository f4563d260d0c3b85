#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in their own folder,
# build-fuzz/ (the preset "fuzz" of CMakePresets.json: coverage,
# AddressSanitizer, UndefinedBehaviorSanitizer), and runs each for a bounded
# time:
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# SECONDS_PER_TARGET defaults to 60; without targets all six run. Each
# target grows its corpus in fuzz/corpus/<target>/ (kept between runs, not
# in git), starting from fuzz/seeds/<target>/; an input that breaks an
# invariant or crashes is saved in fuzz/out/<target>/ and the script ends
# non-zero. A finding becomes a regression test in tests/reliability.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
all=(fuzz_data_link fuzz_profile_file fuzz_value_routines fuzz_windows1252 fuzz_sql_dialect fuzz_verifier)
# Inputs up to 8 KB, but whole audit files for the verifier (its seeds are
# valid files of about 9 and 22 KB).
declare -A max_len=([fuzz_verifier]=32768)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
build_dir="${VARNEL_FUZZ_BUILD_DIR:-build-fuzz}"

start=$(date +%s)
. scripts/configure_build.sh
configure_build fuzz "$build_dir" >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target varnel_fuzzers
echo "Fuzz build: $(( $(date +%s) - start )) s"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
summary=()
for target in "${targets[@]}"; do
  corpus="fuzz/corpus/$target"
  artifacts="fuzz/out/$target"
  mkdir -p "$corpus" "$artifacts"
  log="$artifacts/last-run.log"
  echo "== $target: $seconds s"
  target_status=0
  "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${max_len[$target]:-8192}" \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "fuzz/seeds/$target" >"$log" 2>&1 \
    || target_status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  findings=$(find "$artifacts" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  summary+=("$target: $runs inputs, corpus $(find "$corpus" -type f | wc -l) files, $findings findings saved, exit $target_status")
  if [ "$target_status" -ne 0 ]; then
    status=1
    grep -E 'invariant broken|ERROR: (AddressSanitizer|libFuzzer|UndefinedBehaviorSanitizer)|runtime error' "$log" | head -5 || true
    echo "   see $log"
  fi
done
echo
printf '%s\n' "${summary[@]}"
echo "Fuzzing: $(( $(date +%s) - start )) s in all"
exit "$status"
