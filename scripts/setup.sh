#!/usr/bin/env bash
# setup.sh [--demo]: installs the Debian packages a build needs (only those
# missing, one line per group saying what for), configures with CMake and
# builds into build/ (or $VARNEL_BUILD_DIR).
#   --demo   what the demo needs and nothing more: the compiler, the
#            exporter's libraries and Qt (without the packages they only
#            recommend, but Qt's display plugins), and only the headless
#            exporter, the demo generator and the window's program; a fresh
#            build folder is configured for a quick build (no tests, -O1, no
#            debugging information: about a third less compile time than the
#            usual -O2 -g, and the demo month exports in a second anyway):
#            the preset "demo" of CMakePresets.json.
#   (none)   everything the test command needs: also GoogleTest, the ODBC
#            drivers, clang with its sanitizer runtime, the benchmark's tools;
#            the folder is configured with the preset "default" (RelWithDebInfo,
#            tests on; a folder the demo configured is switched to it) and
#            every target is built.
# $VARNEL_CMAKE_ARGS adds this machine's own CMake arguments (a compiler
# launcher, say); the folder is configured afresh when they change (see
# scripts/configure_build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=all
[ "${1:-}" = --demo ] && mode=demo

groups=(
  --why "compiling (C++20 compiler, CMake, Ninja)" build-essential cmake ninja-build pkg-config
  --why "the exporter's libraries (SQLite, ODBC, libxml2, OpenSSL's libcrypto)" libsqlite3-dev unixodbc-dev libxml2-dev libssl-dev
  --why "the window (Qt 6 Widgets, its display plugins and Portuguese dialogs)"
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev qt6-translations-l10n
)
if [ "$mode" = all ]; then
  groups+=(
    --why "the tests (GoogleTest, xmllint, a virtual display)" libgtest-dev googletest libxml2-utils xvfb xauth
    --why "the database tests (the sqlite3 shell, ODBC drivers for SQLite and SQL Server)"
      sqlite3 unixodbc odbcinst tdsodbc libsqliteodbc
    --why "the sanitizer and fuzzer builds (clang and its runtime)" clang libclang-rt-14-dev
    --why "the benchmark and the scripts (time, bc, python3)" time bc python3
  )
fi
. scripts/install_packages.sh
if [ "$mode" = demo ]; then
  VARNEL_APT_NO_RECOMMENDS=1 install_packages "${groups[@]}"
else
  install_packages "${groups[@]}"
fi

build_dir="${VARNEL_BUILD_DIR:-build}"
# The demo keeps a folder the test command configured as it is; the test
# command switches a folder the demo configured to the usual build.
preset=default
if [ "$mode" = demo ] && ! grep -qs '^VARNEL_BUILD_TESTS:BOOL=ON$' "$build_dir/CMakeCache.txt"; then
  preset=demo
fi
. scripts/configure_build.sh
configure_build "$preset" "$build_dir"
if [ "$mode" = demo ]; then
  cmake --build "$build_dir" -j "$(nproc)" --target varnel-export varnel-demo-db varnel
else
  cmake --build "$build_dir" -j "$(nproc)"
fi
