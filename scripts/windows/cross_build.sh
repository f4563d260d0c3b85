#!/usr/bin/env bash
# Windows job, stage: the project cross-built for 64-bit Windows into
# build-windows/project (the preset "windows" of CMakePresets.json, over the
# sysroot the earlier stages filled; configured again only when its preset or
# arguments change, later runs build what changed), with Wine as the
# emulator ctest runs the test programs with.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh

. scripts/configure_build.sh
configure_build windows "$out/project" -DVARNEL_WINDOWS_SYSROOT="$sysroot" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$out/wine-run" >/dev/null
cmake --build "$out/project" -j "$jobs"
