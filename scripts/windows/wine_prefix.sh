#!/usr/bin/env bash
# Windows job, stage: the build's Wine prefix (build-windows/wine-prefix) and
# build-windows/wine-run, the emulator ctest runs each test program with.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh

cat >"$out/wine-run" <<RUN
#!/bin/sh
# Runs a Windows program under Wine with the build's own prefix.
WINEPREFIX="$WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" exec "$wine" "\$@"
RUN
chmod +x "$out/wine-run"
# Wine's background services inherit the first Wine process's output: start
# the server and one throw-away program with their output going nowhere, or
# the first test keeps ctest's pipe open until its timeout.
wineserver -p >/dev/null 2>&1 </dev/null || true
"$wine" cmd /c exit >/dev/null 2>&1 </dev/null || true
