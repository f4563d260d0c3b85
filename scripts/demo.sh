#!/usr/bin/env bash
# The first thing to run: installs what is missing and builds (setup.sh),
# makes the demo working directory demo/ with a restaurant's previous month
# (fixed seed, so every run gives the same database), then exports that
# month's audit file there with the headless exporter and checks it against
# the official schema when xmllint is at hand. Exits non-zero when no valid
# audit file came out, saying why.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh

build_dir="${VARNEL_BUILD_DIR:-build}"
workdir="$PWD/demo"
output="$workdir/saft-demo.xml"
schema="third_party/reference/saftpt1.03_01.xsd"

"$build_dir/tools/varnel-demo-db" --out "$workdir" --seed 2016

exporter="$build_dir/src/cli/varnel-export"
if [ ! -x "$exporter" ]; then
  echo "The headless exporter $exporter is not built; the demo working directory is ready in $workdir." >&2
  exit 1
fi
rm -f "$output"
status=0
"$exporter" --workdir "$workdir" --output "$output" --type normal || status=$?
if [ ! -s "$output" ]; then
  echo "The exporter wrote no audit file (exit status $status); the demo working directory is ready in $workdir." >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "The exporter failed (exit status $status); what it wrote before failing is in $output." >&2
  exit 1
fi

echo "Audit file written to $output"
if command -v xmllint >/dev/null; then
  if xmllint --noout --schema "$schema" "$output" 2>"$workdir/xmllint.log"; then
    echo "It is valid against $(basename "$schema")."
  else
    echo "It is NOT valid against $(basename "$schema"); see $workdir/xmllint.log." >&2
    exit 1
  fi
fi
