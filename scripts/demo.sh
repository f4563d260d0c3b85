#!/usr/bin/env bash
# The first thing to run: installs what the demo lacks and builds only the
# headless exporter, the demo generator and the window's program
# (setup.sh --demo; the test command builds the rest), makes the demo
# working directory demo/ with a restaurant's previous month
# (fixed seed, so every run gives the same database, made-up ATCUD
# validation codes for its series in Varnel.ini, and every document signed
# with the demo key pair, whose public key Varnel.ini names), then exports that month's
# audit file there (SAF-T (PT) 1.04_01, the version a period after June 2017
# asks for) with the headless exporter, which reads it back
# and verifies it (schema, control totals, references, numbering, the
# signature chain, the comparison with the database) and prints its findings and VAT summary; the
# report also goes to demo/verificacao.json. Exits non-zero when no verified
# audit file came out, saying why; says how long it all took.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

./scripts/setup.sh --demo

build_dir="${VARNEL_BUILD_DIR:-build}"
workdir="$PWD/demo"
output="$workdir/saft-demo.xml"

"$build_dir/tools/varnel-demo-db" --out "$workdir" --seed 2016 --atcud-codes

exporter="$build_dir/src/cli/varnel-export"
if [ ! -x "$exporter" ]; then
  echo "The headless exporter $exporter is not built; the demo working directory is ready in $workdir." >&2
  exit 1
fi
rm -f "$output"
status=0
"$exporter" --workdir "$workdir" --output "$output" --type normal --report "$workdir/verificacao.json" || status=$?
if [ ! -s "$output" ]; then
  echo "The exporter wrote no audit file (exit status $status); the demo working directory is ready in $workdir." >&2
  exit 1
fi
case "$status" in
  0) echo "Audit file written to $output and verified; the report is in $workdir/verificacao.json."
     echo "Ready in $(($(date +%s) - started)) s. The window: (cd demo && ../${build_dir}/src/ui/varnel)" ;;
  3) echo "Audit file written to $output, but the verifier found errors (above; $workdir/verificacao.json)." >&2
     exit 1 ;;
  *) echo "The exporter failed (exit status $status); what it wrote before failing is in $output." >&2
     exit 1 ;;
esac
