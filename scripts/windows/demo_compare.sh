#!/usr/bin/env bash
# Windows job, stage: the demo exported by both builds. The Linux build
# (brought up to date) and the Windows build each make the demo database and
# export its month in 1.04_01 and 1.03_01; the two files must be identical
# byte for byte (DateCreated aside), the status texts too (line ends aside:
# the verifier's findings, every signature checked with the demo's key of
# Varnel.ini), and the Windows file valid against the version's schema. Then
# both verifiers check one signed file whose GrossTotal was changed after
# signing, with the demo's public key: their findings must be the same, the
# changed document named by both.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/env.sh

./scripts/setup.sh >/dev/null  # the Linux build to compare with, up to date
demo="$out/demo"
rm -rf "$demo"
mkdir -p "$demo/linux" "$demo/windows"
"$linux_build/tools/varnel-demo-db" --out "$demo/linux" --seed 2016 --atcud-codes >/dev/null
"$out/wine-run" "$out/project/tools/varnel-demo-db.exe" --out 'Z:'"$demo/windows" --seed 2016 --atcud-codes >/dev/null
cmp "$demo/linux/korvel.db" "$demo/windows/korvel.db" >/dev/null \
  && echo "The two demo generators wrote the same database." \
  || echo "note: the two demo databases differ as files (page layout); the exports are compared below."
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
  if grep -aq 'Assinaturas.* não verificadas\|Primeiro documento da série' "$demo/windows-status-$version.txt"; then
    echo "The Windows exporter left signatures of the $version demo file unverified:" >&2
    grep -a 'Assinaturas\|Primeiro documento' "$demo/windows-status-$version.txt" >&2
    exit 1
  fi
  if command -v xmllint >/dev/null; then
    schema="third_party/reference/saftpt$version.xsd"
    [ -f "$schema" ] || schema="third_party/reference/saftpt$version-2022-05-17-libxml.xsd"
    xmllint --noout --schema "$schema" "$demo/windows/$file" 2>"$demo/xmllint.log" \
      || { echo "The Windows exporter's $version demo file is not valid against the schema; see $demo/xmllint.log." >&2; exit 1; }
  fi
  echo "Demo export $version: the Windows file is byte-identical to the Linux one ($(stat -c %s "$demo/linux/$file") bytes, DateCreated aside), and so are the status texts (line ends aside)."
done

# One signed file, changed after signing: the second FT invoice's GrossTotal
# gets a leading 1. Both verifiers, given the demo's public key, must name it.
signed="$demo/assinado-alterado.xml"
python3 - "$demo/linux/saft-demo-1.04_01.xml" "$signed" <<'PYTHON'
import sys
data = open(sys.argv[1], 'rb').read()
second = data.find(b'<InvoiceNo>FT ', data.find(b'<InvoiceNo>FT ') + 1)
at = data.find(b'<GrossTotal>', second) + len(b'<GrossTotal>')
open(sys.argv[2], 'wb').write(data[:at] + b'1' + data[at:])
PYTHON
"$linux_build/src/cli/varnel-export" --verify "$signed" --public-key "$demo/linux/chave-publica-demo.pem" \
  2>"$demo/linux-signatures.txt" && { echo "The Linux verifier passed a changed signed file." >&2; exit 1; }
"$out/wine-run" "$out/project/src/cli/varnel-export.exe" --verify 'Z:'"$signed" \
  --public-key 'Z:'"$demo/windows/chave-publica-demo.pem" 2>"$demo/windows-signatures.txt" \
  && { echo "The Windows verifier passed a changed signed file." >&2; exit 1; }
if ! cmp "$demo/linux-signatures.txt" <(tr -d '\r' <"$demo/windows-signatures.txt"); then
  echo "The Windows verifier's findings on the changed signed file differ from the Linux verifier's." >&2
  exit 1
fi
named=$(grep -a 'Assinatura não confere' "$demo/linux-signatures.txt" || true)
[ "$(printf '%s' "$named" | grep -c .)" = 1 ] \
  || { echo "The changed document is not named once by the signature check:" >&2; cat "$demo/linux-signatures.txt" >&2; exit 1; }
echo "Signatures: both verifiers give the same findings on a signed file changed after signing, the document named:"
echo "  ${named}"
