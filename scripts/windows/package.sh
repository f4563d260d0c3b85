#!/usr/bin/env bash
# Windows job, stage: the portable package dist/varnel-<version>-win64.zip:
# varnel.exe, varnel-export.exe and the demo generator, stripped, and
# LEIA-ME.txt in Windows line ends and Windows-1252. The programs may need no
# DLL that Windows does not ship; a release machine signs them
# (VARNEL_SIGN_COMMAND). The folder it is packed from,
# build-windows/package/varnel-<version>-win64, is what the installer takes
# its programs from.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh

package_dir="$out/package/varnel-$version-win64"
rm -rf "$out/package"
mkdir -p "$package_dir" dist
cp "$out/project/src/cli/varnel-export.exe" "$out/project/src/winui/varnel.exe" "$out/project/tools/varnel-demo-db.exe" "$package_dir/"
x86_64-w64-mingw32-strip "$package_dir"/*.exe
# A release machine signs the programs here (VARNEL_SIGN_COMMAND: see
# installer.sh), so the zip and the installer carry the signed ones.
if [ -n "${VARNEL_SIGN_COMMAND:-}" ]; then
  for exe in "$package_dir"/*.exe; do
    sh -c "$VARNEL_SIGN_COMMAND \"\$1\"" sign "$exe"
  done
fi
# The notes in Windows line ends, in the code page Notepad opens them in.
sed "s/@VERSION@/$version/g; s/\$/\r/" packaging/windows/LEIA-ME.txt | iconv -f UTF-8 -t WINDOWS-1252 \
  >"$package_dir/LEIA-ME.txt"
for dll in $(x86_64-w64-mingw32-objdump -p "$package_dir"/*.exe | sed -n 's/^\tDLL Name: //p' | sort -u); do
  case "${dll,,}" in
    kernel32.dll|user32.dll|advapi32.dll|shell32.dll|odbc32.dll|msvcrt.dll|ws2_32.dll|ole32.dll|comctl32.dll|comdlg32.dll|gdi32.dll|bcrypt.dll|crypt32.dll|api-ms-win-*) ;;
    *) echo "The package's programs need $dll, which Windows does not ship." >&2; exit 1 ;;
  esac
done
zip_file="$root/dist/varnel-$version-win64.zip"
rm -f "$zip_file"
(cd "$out/package" && zip -q -r -X "$zip_file" "varnel-$version-win64")
echo "Package: dist/varnel-$version-win64.zip ($(stat -c %s "$zip_file") bytes)"
