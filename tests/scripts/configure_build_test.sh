#!/usr/bin/env bash
# The scripts' presets exist, and scripts/configure_build.sh, against a
# stand-in cmake that records how it was called, configures as it says: a folder is configured once for a preset and arguments, again
# (over its cache) for another preset or a folder without its record,
# afresh when $VARNEL_CMAKE_ARGS changes, and a failed configuration leaves
# no record, so the next call tries again.
#   configure_build_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
failures=0

# Every preset the scripts configure with is one CMake lists.
listed="$(cd "$source_dir" && cmake --list-presets=configure)"
for preset in default demo sanitize fuzz windows; do
  if ! grep -q "^ *\"$preset\"" <<<"$listed"; then
    echo "FAILED: CMakePresets.json lacks the preset \"$preset\"" >&2
    failures=$((failures + 1))
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
cat >"$work/bin/cmake" <<'FAKE'
#!/usr/bin/env bash
# Records its arguments; makes the cache of the folder after -B; fails when asked.
for argument in "$@"; do
  printf '%s ' "$argument" >>"$CALLS"
  [ "${previous:-}" != -B ] || { mkdir -p "$argument"; touch "$argument/CMakeCache.txt"; }
  previous=$argument
done
echo >>"$CALLS"
[ ! -f "$FAIL" ]
FAKE
chmod +x "$work/bin/cmake"
export PATH="$work/bin:$PATH" CALLS="$work/calls" FAIL="$work/fail"
cd "$source_dir"
. scripts/configure_build.sh
dir="$work/build"

# step DESCRIPTION PRESET EXPECTED_CALL: runs configure_build and compares
# the call it made ("" for none) with the expected one.
step() {
  local description=$1 preset=$2 expected=$3
  : >"$CALLS"
  local status=0
  configure_build "$preset" "$dir" >/dev/null 2>&1 || status=$?
  local made
  made="$(sed 's/ $//' "$CALLS")"
  if [ "$made" != "$expected" ]; then
    echo "FAILED: $description: cmake called as \"$made\", expected \"$expected\"" >&2
    failures=$((failures + 1))
  fi
  return "$status"
}

base="--preset default -S . -B $dir"
export VARNEL_CMAKE_ARGS=""
step "a new folder" default "$base"
step "the same preset and arguments" default ""
step "the demo's preset" demo "--preset demo -S . -B $dir"
step "back to the usual build" default "$base"
VARNEL_CMAKE_ARGS="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
step "a launcher added" default "$base --fresh -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
step "the launcher kept" default ""
VARNEL_CMAKE_ARGS=""
step "the launcher taken away" default "$base --fresh"
rm "$dir/varnel-configure.txt"
step "a folder configured before the record" default "$base"
touch "$FAIL"
VARNEL_CMAKE_ARGS="-DVARNEL_BUILD_UI=OFF"
if step "a failing configuration" default "$base --fresh -DVARNEL_BUILD_UI=OFF"; then
  echo "FAILED: a failing configuration was not reported" >&2
  failures=$((failures + 1))
fi
rm "$FAIL"
step "tried again after the failure" default "$base -DVARNEL_BUILD_UI=OFF"

[ "$failures" -eq 0 ] && echo "configure_build: every step as expected"
exit "$failures"
