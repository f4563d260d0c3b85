#!/usr/bin/env bash
# test.sh [--no-sanitize] [--no-windows]: builds everything and runs the
# whole test suite, then builds it again with AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/sanitize.sh, build-sanitize/) and runs
# it there too, then runs the Windows job (scripts/windows.sh: the Windows
# build and its tests under Wine, the demo compared across the two builds,
# the package). The first failing stage ends it.
#   --no-sanitize  leaves out the sanitizer build,
#   --no-windows   the Windows job: a developer's quick loop. Without options,
#                  as CI runs it (.ci/run), every stage runs.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=yes
windows=yes
for option in "$@"; do
  case "$option" in
    --no-sanitize) sanitize=no ;;
    --no-windows) windows=no ;;
    *)
      echo "test.sh: unknown option \"$option\"; it takes --no-sanitize and --no-windows" >&2
      exit 2
      ;;
  esac
done

./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${VARNEL_BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
if [ "$sanitize" = yes ]; then
  ./scripts/sanitize.sh
else
  echo "test.sh: the sanitizer build was left out (--no-sanitize)."
fi
if [ "$windows" = yes ]; then
  ./scripts/windows.sh
else
  echo "test.sh: the Windows job was left out (--no-windows)."
fi
