#!/usr/bin/env bash
# Builds everything and runs the whole test suite, then builds it again with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/) and runs
# it there too, then runs the Windows job (scripts/windows.sh: the Windows
# build and its tests under Wine, the demo compared across the two builds,
# the package).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${VARNEL_BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
./scripts/sanitize.sh
./scripts/windows.sh
