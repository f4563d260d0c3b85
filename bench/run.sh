#!/usr/bin/env bash
# The export benchmark: builds point-of-sale databases of one month at three
# sizes (cached under bench/cache), exports each three times with the headless
# exporter (Normal type) and prints one table: median wall time, documents and
# megabytes per second, peak memory, file size, statements per document, the
# floor (reading the period's rows in bulk with the sqlite3 shell plus writing
# a file of the same size), the ratio export/floor, the output's checksum and,
# "first s": the wall time of the first export of the database as generated,
# which includes the pre-export maintenance's customer repair; then the
# verified export (its signatures checked with the demo key of Varnel.ini)
# and, last, the signature check's own cost on the exported file: "sig s" the
# signature pass alone (its own reading of the file and the RSA checks),
# "chain s" the RSA chain alone over documents already read.
# That first export is not part of the median, so the timed runs see a
# database that the maintenance has already repaired. Then the verified
# exports, and "recon s": the median time of their comparison with the
# database, with "r/time" its ratio to the export alone.
# A second table times the verifier alone on the exported file
# (varnel-export --verify, median of three, megabytes per second and peak
# memory) beside libxml2's streaming schema validation of the same file
# (xmllint --stream --noout --schema, once).
#
#   bench/run.sh                 # sizes 10000 40000 160000
#   bench/run.sh 2000 8000       # other sizes
set -euo pipefail
cd "$(dirname "$0")/.."

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 40000 160000)
build_dir="${VARNEL_BUILD_DIR:-build}"
./scripts/setup.sh >/dev/null
generator="$build_dir/tools/varnel-demo-db"
speed="$build_dir/tools/varnel-signature-speed"
exporter="$PWD/$build_dir/src/cli/varnel-export"
from=2016-01-01
to=2016-01-31
runs=3

seconds_now() { date +%s.%N; }

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Each line of standard input with the time it came, in seconds.
stamp_lines='import sys, time
for line in sys.stdin: sys.stdout.write("%.3f %s" % (time.time(), line))'

# Runs a command $runs times under /usr/bin/time, each after a sync (so the
# previous run's file is on disk and its write-back does not slow this one);
# sets run_median (seconds) and run_peak_kb (the largest peak). $1 names the
# run in a failure, $2 is the file its standard error goes to.
timed_runs() {
  local what="$1" log="$2" start end run_times=() run_peaks=()
  shift 2
  for ((i = 0; i < runs; i++)); do
    sync
    start=$(seconds_now)
    /usr/bin/time -f '%M' -o bench/out/time.txt "$@" 2>"$log" \
      || { echo "$what failed:" >&2; tail -3 "$log" >&2; exit 1; }
    end=$(seconds_now)
    run_times+=("$(echo "$end - $start" | bc -l)")
    run_peaks+=("$(tail -1 bench/out/time.txt)")
  done
  run_median=$(printf '%s\n' "${run_times[@]}" | median)
  run_peak_kb=$(printf '%s\n' "${run_peaks[@]}" | sort -g | tail -1)
}

printf '%-8s %9s %9s %8s %8s %9s %8s %9s %7s %16s %8s %9s %7s %8s %8s %7s %7s %7s\n' \
  documents "time s" "docs/s" "MB/s" "peak MB" "file MB" "stmt/doc" "floor s" "ratio" "sha256 (first 16)" "first s" \
  "verify s" "v/time" "v peak" "recon s" "r/time" "sig s" "chain s"

verification_rows=()

for size in "${sizes[@]}"; do
  dir="bench/cache/$size"
  stamp="$dir/.generator"
  generator_sum=$(sha256sum "$generator" | cut -c1-16)
  if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$generator_sum" ]; then
    rm -rf "$dir"
    "$generator" --out "$dir" --from "$from" --to "$to" --documents "$size" --seed 7 >/dev/null
    cp "$dir/korvel.db" "$dir/pristine.db"
    echo "$generator_sum" >"$stamp"
  fi
  documents=$(sqlite3 "$dir/korvel.db" \
    "SELECT COUNT(*) FROM documentos WHERE data >= '$from 00:00:00' AND data <= '$to 00:00:00' AND doc IN ('TK','VD','FA','NC','FS','FT','CM','RC') AND (pagamento <> 6 OR doc = 'RC')")

  out="bench/out/$size.xml"
  mkdir -p bench/out
  # The database as generated, then its first export, timed on its own: it
  # runs the customer repair (one transaction per batch of documents); the
  # exports timed for the median are the usual case, a repaired database.
  cp "$dir/pristine.db" "$dir/korvel.db"
  sync
  start=$(seconds_now)
  "$exporter" --workdir "$dir" --output "$PWD/$out" --type normal --from "$from" --to "$to" \
    2>"bench/out/stderr-first-$size.txt" || { echo "first export failed at $size documents:" >&2; tail -3 "bench/out/stderr-first-$size.txt" >&2; exit 1; }
  end=$(seconds_now)
  first=$(echo "$end - $start" | bc -l)
  timed_runs "export at $size documents" "bench/out/stderr-$size.txt" \
    "$exporter" --workdir "$dir" --output "$PWD/$out" --type normal --from "$from" --to "$to" --statistics --no-verify
  time_median=$run_median
  peak_kb=$run_peak_kb
  # The same export ending with its verification, as every export does. Its
  # status lines are stamped as they come, so the comparison with the
  # database shows its own time: from its stage line to the next line.
  verify_times=()
  verify_peaks=()
  reconcile_times=()
  for ((i = 0; i < runs; i++)); do
    sync
    start=$(seconds_now)
    /usr/bin/time -f '%M' -o "bench/out/time-$size.txt" \
      "$exporter" --workdir "$dir" --output "$PWD/$out" --type normal --from "$from" --to "$to" \
      2>&1 >/dev/null | python3 -u -c "$stamp_lines" >"bench/out/verify-$size.txt" \
      || { echo "verified export failed at $size documents:" >&2; tail -3 "bench/out/verify-$size.txt" >&2; exit 1; }
    end=$(seconds_now)
    verify_times+=("$(echo "$end - $start" | bc -l)")
    verify_peaks+=("$(tail -1 "bench/out/time-$size.txt")")
    reconcile_times+=("$(awk '/^[0-9.]+ Comparação com a base de dados/ { s = $1; next } s { print $1 - s; exit }' \
      "bench/out/verify-$size.txt")")
  done
  reconcile_median=$(printf '%s\n' "${reconcile_times[@]}" | median)
  verify_median=$(printf '%s\n' "${verify_times[@]}" | median)
  verify_peak_kb=$(printf '%s\n' "${verify_peaks[@]}" | sort -g | tail -1)
  bytes=$(stat -c %s "$out")
  statements=$(grep -o 'Statements run: [0-9]*' "bench/out/stderr-$size.txt" | grep -o '[0-9]*$')
  # The file without its DateCreated line, so runs on other days compare too.
  checksum=$(grep -av '<DateCreated>' "$out" | sha256sum | cut -c1-16)

  # The floor: every row the export reads, once, in bulk; then a file of the same size.
  sync
  start=$(seconds_now)
  sqlite3 "$dir/korvel.db" >/dev/null <<SQL
.output /dev/null
SELECT * FROM documentos WHERE data >= '$from 00:00:00' AND data <= '$to 00:00:00';
SELECT * FROM vendas WHERE data >= '$from 00:00:00' AND data <= '$to 00:00:00';
SELECT * FROM compensacoes WHERE data >= '$from 00:00:00' AND data <= '$to 00:00:00';
SELECT * FROM clientes;
SELECT * FROM fornecedores;
SELECT * FROM produtos;
SELECT * FROM unidades;
SELECT * FROM iva;
SELECT * FROM motivos_isencao;
SQL
  head -c "$bytes" /dev/zero >"bench/out/floor-$size.bin"
  end=$(seconds_now)
  floor=$(echo "$end - $start" | bc -l)
  rm -f "bench/out/floor-$size.bin"

  # The signature check on its own, with the demo's public key.
  key="$dir/chave-publica-demo.pem"
  signature_pass=$("$speed" --file "$out" --public-key "$key" | sed -n 's/^signature pass: \([0-9.]*\) s.*/\1/p')
  chain=$("$speed" --chain "$out" --public-key "$key" | sed -n 's/^chain over [0-9]* documents: \([0-9.]*\) s.*/\1/p')
  # The verifier alone on the exported file, and xmllint's streaming schema
  # validation of it against the same schema (the one its namespace names).
  timed_runs "verification at $size documents" "bench/out/check-$size.txt" "$exporter" --verify "$PWD/$out"
  check_median=$run_median
  check_peak_kb=$run_peak_kb
  schema=third_party/reference/saftpt1.03_01.xsd
  head -c 4096 "$out" | grep -q 'PT_1.04_01' && schema=third_party/reference/saftpt1.04_01-2022-05-17-libxml.xsd
  start=$(seconds_now)
  /usr/bin/time -f '%M' -o "bench/out/time-$size.txt" xmllint --stream --noout --schema "$schema" "$out" \
    2>"bench/out/xmllint-$size.txt" || true
  end=$(seconds_now)
  xmllint_time=$(echo "$end - $start" | bc -l)
  xmllint_peak_kb=$(tail -1 "bench/out/time-$size.txt")
  verification_rows+=("$(awk -v n="$documents" -v b="$bytes" -v v="$check_median" -v vp="$check_peak_kb" \
      -v x="$xmllint_time" -v xp="$xmllint_peak_kb" 'BEGIN {
    printf "%-8d %9.1f %9.2f %8.1f %8.1f %10.2f %8.1f %8.1f %7.2f", n, b / 1048576, v, b / 1048576 / v, vp / 1024,
      x, b / 1048576 / x, xp / 1024, x / v
  }')")

  awk -v n="$documents" -v t="$time_median" -v b="$bytes" -v p="$peak_kb" -v s="$statements" \
      -v f="$floor" -v c="$checksum" -v first="$first" -v v="$verify_median" -v vp="$verify_peak_kb" \
      -v r="$reconcile_median" -v sp="$signature_pass" -v ch="$chain" 'BEGIN {
    printf "%-8d %9.2f %9.0f %8.1f %8.1f %9.1f %8.2f %9.2f %7.2f %16s %8.2f %9.2f %7.2f %8.1f %8.2f %7.3f %7.2f %7.2f\n",
      n, t, n / t, b / 1048576 / t, p / 1024, b / 1048576, s / n, f, t / f, c, first, v, v / t, vp / 1024, r, r / t, sp, ch
  }'
done

echo
printf '%-8s %9s %9s %8s %8s %10s %8s %8s %7s\n' documents "file MB" "verify s" "MB/s" "peak MB" "xmllint s" \
  "MB/s" "peak MB" "x/v"
printf '%s\n' "${verification_rows[@]}"
