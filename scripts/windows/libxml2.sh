#!/usr/bin/env bash
# Windows job, stage: libxml2 from Debian's source package into the sysroot,
# for the verifier. Built without a network client, compression or Python;
# its non-Unicode encodings (Windows-1252 for the audit file) go through the
# small iconv of cmake/windows-iconv, on the system's code page tables.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh
. scripts/windows/debian_source.sh

"$cc" -O2 -Wall -c "$root/cmake/windows-iconv/iconv.c" -o "$out/iconv.o"
x86_64-w64-mingw32-ar rcs "$sysroot/lib/libiconv.a" "$out/iconv.o"
rm -f "$out/iconv.o"
cp "$root/cmake/windows-iconv/iconv.h" "$sysroot/include/"
fetched="$out/fetch-libxml2"
rm -rf "$fetched"
mkdir -p "$fetched"
tree="$(debian_source libxml2 "$fetched")"
[ -n "$tree" ] || { echo "apt-get source libxml2 gave no source tree" >&2; exit 1; }
PKG_CONFIG_LIBDIR="$sysroot/lib/pkgconfig" cmake -S "$tree" -B "$fetched/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DVARNEL_WINDOWS_SYSROOT="$sysroot" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sysroot" \
  -DBUILD_SHARED_LIBS=OFF -DLIBXML2_WITH_ICONV=ON -DIconv_INCLUDE_DIR="$sysroot/include" \
  -DIconv_LIBRARY="$sysroot/lib/libiconv.a" -DIconv_IS_BUILT_IN=OFF -DLIBXML2_WITH_ICU=OFF \
  -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_PROGRAMS=OFF \
  -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_MODULES=OFF \
  -DLIBXML2_WITH_CATALOG=OFF -DLIBXML2_WITH_DOCB=OFF >"$out/libxml2-configure.log"
cmake --build "$fetched/build" -j "$jobs" >"$out/libxml2-build.log"
cmake --install "$fetched/build" >/dev/null
rm -rf "$fetched"
