#!/usr/bin/env bash
# Windows job, stage: the project cross-built for 64-bit Windows into
# build-windows/project (configured once; later runs build what changed),
# with Wine as the emulator ctest runs the test programs with.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh

if [ ! -f "$out/project/CMakeCache.txt" ]; then
  PKG_CONFIG_LIBDIR="$sysroot/lib/pkgconfig" cmake -S . -B "$out/project" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVARNEL_WINDOWS_SYSROOT="$sysroot" \
    -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_UI=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$out/wine-run" >/dev/null
fi
cmake --build "$out/project" -j "$jobs"
