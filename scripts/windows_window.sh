#!/usr/bin/env bash
# The Win32 window's smoke test, under Wine on a virtual display (Xvfb):
# windows_window.sh [BUILD_DIR] (the Windows build folder of
# scripts/windows.sh, build-windows by default, with its project build, Wine
# prefix and wine-run). Two identical demo working directories are made with
# the Windows demo generator (made-up ATCUD codes for its series, so the
# 1.04_01 file of a recent month verifies); the headless exporter exports
# one, and the test driver (tests/winui/window_driver.exe) drives varnel.exe
# over the other through window messages: the window shows the demo's
# company, a blank path shows the "Erro" box, the validation codes' dialog
# refuses a short code, the demo period is exported and verified, and the
# window closes. The two files must be byte-identical (DateCreated aside).
# While the window shows its filled-in form, the screen is captured into
# BUILD_DIR/screenshot-windows.png; with VARNEL_UPDATE_SCREENSHOT=1 it also
# replaces the README's docs/screenshot-windows.png (a test run leaves the
# source tree as it found it).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(cd "${1:-build-windows}" && pwd)"
project="$out/project"

packages=(xvfb xauth x11-apps netpbm)
. scripts/install_packages.sh
install_packages "${packages[@]}"

cmake --build "$project" --target varnel window_driver varnel-export varnel-demo-db >/dev/null
wine_run="$out/wine-run"
demo="$out/window-demo"
rm -rf "$demo"
mkdir -p "$demo/window" "$demo/headless"
for side in window headless; do
  "$wine_run" "$project/tools/varnel-demo-db.exe" --out 'Z:'"$demo/$side" --seed 2016 --atcud-codes >/dev/null
done
company="$(grep -a '^CompanyName=' "$demo/window/Varnel.ini" | head -1 | cut -d= -f2- | tr -d '\r' \
  | iconv -f WINDOWS-1252 -t UTF-8)"

"$wine_run" "$project/src/cli/varnel-export.exe" --workdir 'Z:'"$demo/headless" --output saft-janela.xml \
  2>"$demo/headless-status.txt" || { cat "$demo/headless-status.txt" >&2; exit 1; }

# Wine's desktop process belongs to the display it was started on: let the
# server of the programs above end before Wine starts on the virtual display,
# and end it again afterwards.
export WINEPREFIX="$out/wine-prefix"
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

# The driver and the screen capture on one virtual display: the driver says
# where the window stands once its form is filled in, waits for the capture,
# then exports and closes.
ready="$demo/ready.txt"
cat >"$demo/session.sh" <<EOF
#!/bin/sh
LC_ALL=C.UTF-8 "$wine_run" "$project/tests/winui/window_driver.exe" 'Z:$project/src/winui/varnel.exe' 'Z:$demo/window' \
  "$company" saft-janela.xml 'Z:$ready' >"$demo/driver.log" 2>&1 &
driver=\$!
for i in \$(seq 1 600); do [ -f "$ready" ] && break; sleep 0.2; done
sleep 1
xwd -root -silent >"$demo/screen.xwd" || true
touch "$ready.taken"
wait \$driver
EOF
chmod +x "$demo/session.sh"
status=0
xvfb-run -a -s "-screen 0 1024x768x24" "$demo/session.sh" || status=$?
wineserver -k 2>/dev/null || true
tr -d '\r' <"$demo/driver.log"
[ "$status" -eq 0 ] || { echo "The window smoke test failed." >&2; exit 1; }

if ! cmp <(grep -av '<DateCreated>' "$demo/window/saft-janela.xml") \
         <(grep -av '<DateCreated>' "$demo/headless/saft-janela.xml"); then
  echo "The window's file differs from the headless exporter's." >&2
  exit 1
fi
echo "Window export: byte-identical to the headless exporter's ($(stat -c %s "$demo/window/saft-janela.xml") bytes, DateCreated aside)."

if [ -s "$demo/screen.xwd" ] && [ -f "$ready" ]; then
  read -r left top width height < <(tr -d '\r' <"$ready")
  xwdtopnm "$demo/screen.xwd" 2>/dev/null | pnmcut -left "$left" -top "$top" -width "$width" -height "$height" \
    | pnmtopng -compression 9 >"$out/screenshot-windows.png"
  echo "Screenshot: $out/screenshot-windows.png (${width}x${height})"
  if [ "${VARNEL_UPDATE_SCREENSHOT:-0}" = 1 ]; then
    cp "$out/screenshot-windows.png" docs/screenshot-windows.png
    echo "The README's docs/screenshot-windows.png replaced."
  fi
fi
