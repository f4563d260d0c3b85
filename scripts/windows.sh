#!/usr/bin/env bash
# The Windows job: cross-builds the export core, the headless exporter, the
# demo generator and the whole test suite for 64-bit Windows with Debian's
# MinGW-w64 into build-windows/, runs the suite under Wine through ctest,
# exports the demo with the Windows exporter and compares the file byte for
# byte with the Linux build's (the DateCreated line aside), and packs
# dist/varnel-<version>-win64.zip. SQLite comes from Debian's own source
# package, fetched through a private source list under build-windows/ (the
# system's apt sources are never touched) and compiled with the flags of
# Debian's build; it and the Wine prefix are kept there for the next run.
# Exits non-zero when anything fails; prints how long each stage took.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
start=$(date +%s)
stage_start=$start
stage() {  # stage NAME: prints the time the previous stage took
  local now
  now=$(date +%s)
  echo "== windows: $1 (+$((now - stage_start)) s)"
  stage_start=$now
}

packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 wine
          dpkg-dev tcl zip cmake ninja-build googletest bc)
. scripts/install_packages.sh
install_packages "${packages[@]}"

linux_build="${VARNEL_BUILD_DIR:-build}"
out="${VARNEL_WINDOWS_BUILD_DIR:-build-windows}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
sysroot="$out/sysroot"
jobs="$(nproc)"
cc=x86_64-w64-mingw32-gcc-posix
mkdir -p "$sysroot/include" "$sysroot/lib"

# debian_source PACKAGE DIR: Debian's source package, with Debian's patches
# applied, unpacked in DIR/PACKAGE-VERSION, through a source list of our own
# (the system's Debian sources as deb-src) and an apt state under DIR.
debian_source() {
  local package=$1 dir=$2
  local apt_dir="$dir/apt"
  rm -rf "$apt_dir"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && grep -q 'debian' "$f" && sed 's/^Types: deb$/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list >"$apt_dir/sources.list.d/system.list"
  fi
  local apt_options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
                     -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
  apt-get "${apt_options[@]}" update -qq >/dev/null
  (cd "$dir" && apt-get "${apt_options[@]}" source -qq "$package" >/dev/null 2>&1)
  rm -rf "$apt_dir"
  find "$dir" -maxdepth 1 -type d -name "$package-*" | head -1
}

# --- SQLite from Debian's source package ------------------------------------
# Fetched and compiled in the background (one large C file on one core)
# while GoogleTest and libxml2 build on the others.
build_sqlite() {
  local src="$out/sqlite-source" fetched tree
  if [ ! -f "$src/sqlite3.c" ]; then
    fetched="$out/fetch-sqlite"
    rm -rf "$fetched" "$src"
    mkdir -p "$fetched" "$src"
    tree="$(debian_source sqlite3 "$fetched")"
    [ -n "$tree" ] || { echo "apt-get source sqlite3 gave no source tree" >&2; exit 1; }
    # The amalgamation (one C file) from the patched tree.
    mkdir -p "$fetched/amalgamation"
    (cd "$fetched/amalgamation" && "$tree/configure" --disable-amalgamation >configure.log 2>&1 \
      && make -j "$jobs" sqlite3.c >make.log 2>&1)
    # Debian's compile flags, as its debian/rules sets them, plus what its
    # configure options turn on.
    sed -n '/^export CFLAGS += /,/[^\\]$/p' "$tree/debian/rules" | grep -o -- '-D[A-Za-z0-9_]*\(=[0-9]*\)\?' \
      >"$src/debian-flags.txt"
    printf '%s\n' -DSQLITE_ENABLE_FTS4 -DSQLITE_ENABLE_FTS5 -DSQLITE_ENABLE_MATH_FUNCTIONS >>"$src/debian-flags.txt"
    cp "$fetched/amalgamation/sqlite3.c" "$fetched/amalgamation/sqlite3.h" "$tree/VERSION" "$src/"
    rm -rf "$fetched"
  fi
  mapfile -t sqlite_flags <"$src/debian-flags.txt"
  "$cc" -O2 -fno-strict-aliasing "${sqlite_flags[@]}" -c "$src/sqlite3.c" -o "$out/sqlite3.o"
  x86_64-w64-mingw32-ar rcs "$sysroot/lib/libsqlite3.a" "$out/sqlite3.o"
  rm -f "$out/sqlite3.o"
  cp "$src/sqlite3.h" "$sysroot/include/"
}
sqlite_job=""
if [ ! -f "$sysroot/lib/libsqlite3.a" ]; then
  stage "SQLite from Debian's source package (in the background)"
  build_sqlite &
  sqlite_job=$!
fi

toolchain="$root/cmake/mingw-w64-x86_64.cmake"

# --- GoogleTest ---------------------------------------------------------------
if [ ! -f "$sysroot/lib/cmake/GTest/GTestConfig.cmake" ]; then
  stage "GoogleTest from /usr/src/googletest"
  cmake -S /usr/src/googletest -B "$out/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVARNEL_WINDOWS_SYSROOT="$sysroot" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$sysroot" \
    -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$out/googletest" -j "$jobs" >/dev/null
  cmake --install "$out/googletest" >/dev/null
  rm -rf "$out/googletest"
fi

# --- libxml2 from Debian's source package, for the verifier ----------------------
# Built without a network client, compression or Python; its non-Unicode
# encodings (Windows-1252 for the audit file) go through the small iconv of
# cmake/windows-iconv, on the system's code page tables.
if [ ! -f "$sysroot/lib/libxml2.a" ]; then
  stage "libxml2 from Debian's source package"
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
fi

# --- Wine -----------------------------------------------------------------------
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
export WINEPREFIX="$out/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The emulator ctest runs each test program with.
cat >"$out/wine-run" <<EOF
#!/bin/sh
# Runs a Windows program under Wine with the build's own prefix.
WINEPREFIX="$WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" exec "$wine" "\$@"
EOF
chmod +x "$out/wine-run"
stage "Wine prefix"
# Wine's background services inherit the first Wine process's output: start
# the server and one throw-away program with their output going nowhere, or
# the first test keeps ctest's pipe open until its timeout.
wineserver -p >/dev/null 2>&1 </dev/null || true
"$wine" cmd /c exit >/dev/null 2>&1 </dev/null || true

# --- Cross build ---------------------------------------------------------------
if [ -n "$sqlite_job" ]; then
  stage "waiting for SQLite"
  wait "$sqlite_job" || { echo "The Windows build of SQLite failed." >&2; exit 1; }
fi
stage "cross build"
if [ ! -f "$out/project/CMakeCache.txt" ]; then
  PKG_CONFIG_LIBDIR="$sysroot/lib/pkgconfig" cmake -S . -B "$out/project" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVARNEL_WINDOWS_SYSROOT="$sysroot" \
    -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_UI=OFF \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$out/wine-run" >/dev/null
fi
cmake --build "$out/project" -j "$jobs"

# --- Tests under Wine -------------------------------------------------------------
stage "tests under Wine"
# Each test program runs once (see tests/CMakeLists.txt); its own output,
# kept in ctest.log, names every test case and every skipped one.
ctest_status=0
ctest --test-dir "$out/project" --output-on-failure -V -j "$jobs" --timeout 900 >"$out/ctest.log" 2>&1 || ctest_status=$?
grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+:|tests passed|tests failed' "$out/ctest.log" || true
sed -n 's/^[0-9]*: \[  SKIPPED \] \([A-Za-z_0-9]*\.[A-Za-z_0-9/]*\).*/skipped: \1/p' "$out/ctest.log" | sort -u
passed=$(sed -n 's/^[0-9]*: \[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$out/ctest.log" | paste -sd+ | bc)
echo "Test cases passed under Wine: ${passed:-0}"
if [ "$ctest_status" -ne 0 ]; then
  grep -E '^[0-9]+: \[  FAILED  \]' "$out/ctest.log" | sort -u || true
  echo "Tests failed under Wine; the whole output is in $out/ctest.log." >&2
  exit "$ctest_status"
fi

# --- The demo, exported by both builds ----------------------------------------------
stage "demo export compared with the Linux build"
./scripts/setup.sh >/dev/null  # the Linux build to compare with, up to date
demo="$out/demo"
rm -rf "$demo"
mkdir -p "$demo/linux" "$demo/windows"
"$linux_build/tools/varnel-demo-db" --out "$demo/linux" --seed 2016 --atcud-codes >/dev/null
"$out/wine-run" "$out/project/tools/varnel-demo-db.exe" --out 'Z:'"$demo/windows" --seed 2016 --atcud-codes >/dev/null
cmp "$demo/linux/korvel.db" "$demo/windows/korvel.db" >/dev/null \
  && echo "The two demo generators wrote the same database." \
  || echo "note: the two demo databases differ as files (page layout); the exports are compared below."
# The demo month in both versions: 1.04_01 (its period's default) and 1.03_01.
for version in 1.04_01 1.03_01; do
  file="saft-demo-$version.xml"
  "$linux_build/src/cli/varnel-export" --workdir "$demo/linux" --output "$file" --type normal \
    --saft-version "$version" 2>"$demo/linux-status-$version.txt"
  "$out/wine-run" "$out/project/src/cli/varnel-export.exe" --workdir 'Z:'"$demo/windows" --output "$file" \
    --type normal --saft-version "$version" 2>"$demo/windows-status-$version.txt"
  if ! cmp <(grep -av '<DateCreated>' "$demo/linux/$file") <(grep -av '<DateCreated>' "$demo/windows/$file"); then
    echo "The Windows exporter's $version demo file differs from the Linux exporter's." >&2
    exit 1
  fi
  if ! cmp "$demo/linux-status-$version.txt" <(tr -d '\r' <"$demo/windows-status-$version.txt"); then
    echo "The Windows exporter's status texts ($version) differ from the Linux exporter's." >&2
    exit 1
  fi
  if command -v xmllint >/dev/null; then
    schema="third_party/reference/saftpt$version.xsd"
    [ -f "$schema" ] || schema="third_party/reference/saftpt$version-noassert.xsd"
    xmllint --noout --schema "$schema" "$demo/windows/$file" 2>"$demo/xmllint.log" \
      || { echo "The Windows exporter's $version demo file is not valid against the schema; see $demo/xmllint.log." >&2; exit 1; }
  fi
  echo "Demo export $version: the Windows file is byte-identical to the Linux one ($(stat -c %s "$demo/linux/$file") bytes, DateCreated aside), and so are the status texts (line ends aside)."
done

./scripts/windows_window.sh "$out"  # the window under Wine on Xvfb, and its screenshot

# --- The package -------------------------------------------------------------------------
stage "package"
version="$(sed -n 's/^project(Varnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
package_dir="$out/package/varnel-$version-win64"
rm -rf "$out/package"
mkdir -p "$package_dir" dist
cp "$out/project/src/cli/varnel-export.exe" "$out/project/src/winui/varnel.exe" "$out/project/tools/varnel-demo-db.exe" "$package_dir/"
x86_64-w64-mingw32-strip "$package_dir"/*.exe
# The notes in Windows line ends, in the code page Notepad opens them in.
sed "s/@VERSION@/$version/g; s/\$/\r/" packaging/windows/LEIA-ME.txt | iconv -f UTF-8 -t WINDOWS-1252 \
  >"$package_dir/LEIA-ME.txt"
for dll in $(x86_64-w64-mingw32-objdump -p "$package_dir"/*.exe | sed -n 's/^\tDLL Name: //p' | sort -u); do
  case "${dll,,}" in
    kernel32.dll|user32.dll|advapi32.dll|shell32.dll|odbc32.dll|msvcrt.dll|ws2_32.dll|ole32.dll|comctl32.dll|comdlg32.dll|gdi32.dll|api-ms-win-*) ;;
    *) echo "The package's programs need $dll, which Windows does not ship." >&2; exit 1 ;;
  esac
done
zip_file="$root/dist/varnel-$version-win64.zip"
rm -f "$zip_file"
(cd "$out/package" && zip -q -r -X "$zip_file" "varnel-$version-win64")
echo "Package: dist/varnel-$version-win64.zip ($(stat -c %s "$zip_file") bytes)"

stage "done"
echo "Windows job: $(( $(date +%s) - start )) s in all."
