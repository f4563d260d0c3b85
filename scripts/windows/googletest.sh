#!/usr/bin/env bash
# Windows job, stage: GoogleTest from Debian's /usr/src/googletest, built
# with the cross toolchain and installed into the sysroot.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh

cmake -S /usr/src/googletest -B "$out/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DVARNEL_WINDOWS_SYSROOT="$sysroot" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sysroot" \
  -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >/dev/null
cmake --build "$out/googletest" -j "$jobs" >/dev/null
cmake --install "$out/googletest" >/dev/null
rm -rf "$out/googletest"
