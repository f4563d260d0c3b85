#!/usr/bin/env bash
# The Windows job: cross-builds the export core, the headless exporter, the
# demo generator and the whole test suite for 64-bit Windows with Debian's
# MinGW-w64 into build-windows/, runs the suite under Wine through ctest,
# exports the demo with the Windows exporter and compares the file byte for
# byte with the Linux build's (the DateCreated line aside), packs
# dist/varnel-<version>-win64.zip, makes the installer
# dist/varnel-<version>-setup.exe with NSIS and tests it under Wine on a fresh
# prefix (install, the monthly task's command, upgrade, uninstall: see
# tests/installer/installer_test.sh). SQLite comes from Debian's own source
# package, fetched through a private source list under build-windows/ (the
# system's apt sources are never touched) and compiled with the flags of
# Debian's build; it and the Wine prefix are kept there for the next run.
# Each stage is a script of scripts/windows/ (their shared settings in
# scripts/windows/env.sh); a library already in the sysroot is not built
# again. Exits non-zero when anything fails; prints how long each stage took.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
stage_start=$start
stage() {  # stage NAME: prints the time the previous stage took
  local now
  now=$(date +%s)
  echo "== windows: $1 (+$((now - stage_start)) s)"
  stage_start=$now
}

packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 wine
          dpkg-dev tcl zip cmake ninja-build googletest bc nsis python3)
. scripts/install_packages.sh
install_packages "${packages[@]}"
. scripts/windows/env.sh
stages=scripts/windows

# SQLite compiles in the background (one large C file on one core) while
# GoogleTest and libxml2 build on the others.
sqlite_job=""
if [ ! -f "$sysroot/lib/libsqlite3.a" ]; then
  stage "SQLite from Debian's source package (in the background)"
  "$stages/sqlite.sh" &
  sqlite_job=$!
fi
if [ ! -f "$sysroot/lib/cmake/GTest/GTestConfig.cmake" ]; then
  stage "GoogleTest from /usr/src/googletest"
  "$stages/googletest.sh"
fi
if [ ! -f "$sysroot/lib/libxml2.a" ]; then
  stage "libxml2 from Debian's source package"
  "$stages/libxml2.sh"
fi
stage "Wine prefix"
"$stages/wine_prefix.sh"
if [ -n "$sqlite_job" ]; then
  stage "waiting for SQLite"
  wait "$sqlite_job" || { echo "The Windows build of SQLite failed." >&2; exit 1; }
fi
stage "cross build"
"$stages/cross_build.sh"
stage "tests under Wine"
"$stages/tests.sh"
stage "demo export compared with the Linux build"
"$stages/demo_compare.sh"
./scripts/windows_window.sh "$out"  # the window under Wine on Xvfb, and its screenshot
stage "package"
"$stages/package.sh"
stage "installer"
"$stages/installer.sh"
stage "installer under Wine"
tests/installer/installer_test.sh "$out"
stage "done"
echo "Windows job: $(( $(date +%s) - start )) s in all."
