#!/usr/bin/env bash
# Windows job, stage: the installer dist/varnel-<version>-setup.exe, made by
# NSIS (makensis) from packaging/windows/varnel.nsi with the programs of the
# portable package (build-windows/package, made by the package stage), the
# window's icon and the monthly task's definition in UTF-16LE, the encoding
# the installer reads and schtasks takes.
# Signing: no certificate here. A release machine sets VARNEL_SIGN_COMMAND to
# a command that signs, in place, the file named by its last argument (for
# example an osslsigncode or signtool wrapper); the package stage then signs
# the programs and makensis the installer and its uninstaller.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh

programs="$out/package/varnel-$version-win64"
icon="$out/project/src/winui/varnel.ico"
for f in "$programs/varnel.exe" "$programs/varnel-export.exe" "$icon"; do
  [ -f "$f" ] || { echo "The installer needs $f: run the cross build and package stages first." >&2; exit 1; }
done
work="$out/installer"
rm -rf "$work"
mkdir -p "$work" dist
{ printf '\xff\xfe'; sed 's/$/\r/' packaging/windows/monthly-task.xml.in | iconv -f UTF-8 -t UTF-16LE; } \
  >"$work/monthly-task.xml.in"
setup="$root/dist/varnel-$version-setup.exe"
sign=()
[ -z "${VARNEL_SIGN_COMMAND:-}" ] || sign=("-DSIGN=$VARNEL_SIGN_COMMAND")
makensis -INPUTCHARSET UTF8 -WX -V2 "-DVERSION=$version" "-DPROGRAMS=$programs" "-DICON=$icon" \
  "-DTASK_TEMPLATE=$work/monthly-task.xml.in" "-DOUTFILE=$setup" "${sign[@]}" packaging/windows/varnel.nsi \
  >"$work/makensis.log" || { cat "$work/makensis.log" >&2; exit 1; }
echo "Installer: dist/varnel-$version-setup.exe ($(stat -c %s "$setup") bytes)"
