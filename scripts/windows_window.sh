#!/usr/bin/env bash
# The Win32 window's smoke test, under Wine on a virtual display (Xvfb):
# windows_window.sh [BUILD_DIR] (the Windows build folder of
# scripts/windows.sh, build-windows by default, with its project build, Wine
# prefix and wine-run). Demo working directories are made with the Windows
# demo generator (made-up ATCUD codes for its series, so the 1.04_01 file of
# a recent month verifies); the headless exporter exports one, and the test
# driver (tests/winui/window_driver.exe) drives varnel.exe over a copy,
# once at 100 % (96 DPI) and once at 150 % (144 DPI, the Wine prefix's
# LogPixels, put back afterwards): the window shows the demo's company, no
# static text or button text is wider than its control (the window, the
# processing panel, the codes' dialog, the results and their column
# headers), a blank path shows the "Erro" box, a typed period keeps its
# last day, the validation codes' dialog refuses a short code, the demo
# period is exported and verified, and the window closes. Each window's file
# must be byte-identical to the headless exporter's (DateCreated aside).
# While the window shows its filled-in form, the screen is captured into
# BUILD_DIR/screenshot-windows.png (and screenshot-windows-150.png); with
# VARNEL_UPDATE_SCREENSHOT=1 the first also replaces the README's
# docs/screenshot-windows.png (a test run leaves the source tree as it found
# it).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(cd "${1:-build-windows}" && pwd)"
project="$out/project"

. scripts/install_packages.sh
install_packages --why "the Win32 window's smoke test (a virtual display, its screen capture)" \
  xvfb xauth x11-apps netpbm

cmake --build "$project" --target varnel window_driver varnel-export varnel-demo-db >/dev/null
wine_run="$out/wine-run"
demo="$out/window-demo"
rm -rf "$demo"
mkdir -p "$demo/headless"
"$wine_run" "$project/tools/varnel-demo-db.exe" --out 'Z:'"$demo/headless" --seed 2016 --atcud-codes >/dev/null
company="$(grep -a '^CompanyName=' "$demo/headless/Varnel.ini" | head -1 | cut -d= -f2- | tr -d '\r' \
  | iconv -f WINDOWS-1252 -t UTF-8)"
cp -a "$demo/headless" "$demo/pristine"

"$wine_run" "$project/src/cli/varnel-export.exe" --workdir 'Z:'"$demo/headless" --output saft-janela.xml \
  2>"$demo/headless-status.txt" || { cat "$demo/headless-status.txt" >&2; exit 1; }

export WINEPREFIX="$out/wine-prefix"

# set_dpi DPI: the Wine prefix's screen DPI, for the programs started next.
set_dpi() {
  local value
  value=$(printf '0x%x' "$1")
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$value" /f >/dev/null 2>&1
  "$wine_run" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$value" /f >/dev/null 2>&1
}

# session NAME DPI SCREEN: one run of the driver over a fresh copy of the
# demo folder, on a virtual screen of SCREEN (WIDTHxHEIGHT) at DPI.
session() {
  local name=$1 dpi=$2 screen=$3 work="$demo/$1" ready="$demo/$1-ready.txt" status=0
  rm -rf "$work" "$ready" "$ready.taken"
  cp -a "$demo/pristine" "$work"
  set_dpi "$dpi"
  # Wine's desktop process belongs to the display it was started on: let
  # the server of the programs before end first, and end it again after.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  # The driver and the screen capture on one virtual display: the driver
  # says where the window stands once its form is filled in, waits for the
  # capture, then exports and closes.
  cat >"$demo/$name-session.sh" <<SESSION
#!/bin/sh
LC_ALL=C.UTF-8 "$wine_run" "$project/tests/winui/window_driver.exe" 'Z:$project/src/winui/varnel.exe' 'Z:$work' \
  "$company" saft-janela.xml 'Z:$ready' >"$demo/$name-driver.log" 2>&1 &
driver=\$!
for i in \$(seq 1 600); do [ -f "$ready" ] && break; sleep 0.2; done
sleep 1
xwd -root -silent >"$demo/$name-screen.xwd" || true
touch "$ready.taken"
wait \$driver
SESSION
  chmod +x "$demo/$name-session.sh"
  xvfb-run -a -s "-screen 0 ${screen}x24" "$demo/$name-session.sh" || status=$?
  wineserver -k 2>/dev/null || true
  echo "-- the window at $name ($dpi DPI):"
  tr -d '\r' <"$demo/$name-driver.log"
  [ "$status" -eq 0 ] || { echo "The window smoke test failed at $name." >&2; return 1; }
  if ! cmp <(grep -av '<DateCreated>' "$work/saft-janela.xml") \
           <(grep -av '<DateCreated>' "$demo/headless/saft-janela.xml"); then
    echo "The window's file at $name differs from the headless exporter's." >&2
    return 1
  fi
  echo "Window export at $name: byte-identical to the headless exporter's" \
       "($(stat -c %s "$work/saft-janela.xml") bytes, DateCreated aside)."
  if [ -s "$demo/$name-screen.xwd" ] && [ -f "$ready" ]; then
    local left top width height png
    read -r left top width height < <(tr -d '\r' <"$ready")
    png="$out/screenshot-windows.png"
    [ "$dpi" -eq 96 ] || png="$out/screenshot-windows-$name.png"
    xwdtopnm "$demo/$name-screen.xwd" 2>/dev/null | pnmcut -left "$left" -top "$top" -width "$width" \
      -height "$height" | pnmtopng -compression 9 >"$png"
    echo "Screenshot: $png (${width}x${height})"
  fi
}

status=0
session 100 96 1024x768 || status=1
session 150 144 1600x1200 || status=1
set_dpi 96
wineserver -k 2>/dev/null || true
[ "$status" -eq 0 ] || exit 1
if [ "${VARNEL_UPDATE_SCREENSHOT:-0}" = 1 ] && [ -s "$out/screenshot-windows.png" ]; then
  cp "$out/screenshot-windows.png" docs/screenshot-windows.png
  echo "The README's docs/screenshot-windows.png replaced."
fi
