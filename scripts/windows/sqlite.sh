#!/usr/bin/env bash
# Windows job, stage: SQLite from Debian's source package into the sysroot
# (libsqlite3.a, sqlite3.h). The patched tree's amalgamation is kept in
# build-windows/sqlite-source/ with Debian's compile flags, as its
# debian/rules sets them plus what its configure options turn on, so unordered
# queries take the Linux build's order; a later run only compiles it again.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh
. scripts/windows/debian_source.sh

src="$out/sqlite-source"
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
