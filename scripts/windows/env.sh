# The Windows job's shared settings, sourced by scripts/windows.sh and by
# each of its stages (scripts/windows/*.sh) from the source tree's root:
# the build folder (build-windows/ or $VARNEL_WINDOWS_BUILD_DIR, made
# absolute), the sysroot the third-party libraries are installed into, the
# cross compiler and toolchain file, and Wine with the build's own prefix.
root="$PWD"
linux_build="${VARNEL_BUILD_DIR:-build}"
out="${VARNEL_WINDOWS_BUILD_DIR:-build-windows}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
sysroot="$out/sysroot"
jobs="$(nproc)"
cc=x86_64-w64-mingw32-gcc-posix
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
mkdir -p "$sysroot/include" "$sysroot/lib"
version="$(sed -n 's/^project(Varnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
export WINEPREFIX="$out/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
