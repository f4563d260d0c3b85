#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), then
# configures and builds into build/ (or $VARNEL_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev sqlite3
  unixodbc unixodbc-dev tdsodbc libsqliteodbc odbcinst
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libgtest-dev googletest
  libxml2-utils libxml2-dev xvfb xauth
  libssl-dev
  clang libclang-rt-14-dev
  time bc python3
)
. scripts/install_packages.sh
install_packages "${packages[@]}"

build_dir="${VARNEL_BUILD_DIR:-build}"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" "${generator[@]}" ${VARNEL_CMAKE_ARGS:-}
fi
cmake --build "$build_dir" -j "$(nproc)"
