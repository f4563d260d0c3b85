#!/usr/bin/env bash
# The export benchmark: builds point-of-sale databases of one month at three
# sizes (cached under bench/cache), exports each three times with the headless
# exporter (Normal type) and prints one table: median wall time, documents and
# megabytes per second, peak memory, file size, statements per document, the
# floor (reading the period's rows in bulk with the sqlite3 shell plus writing
# a file of the same size), the ratio export/floor, the output's checksum and,
# "first s": the wall time of the first export of the database as generated,
# which includes the pre-export maintenance's customer repair; then the
# verified export (its signatures checked with the demo key of Varnel.ini).
# That first export is not part of the median, so the timed runs see a
# database that the maintenance has already repaired. Then the verified
# exports, and "recon s": the median time of their comparison with the
# database, with "r/time" its ratio to the export alone.
# A second table times the verifier alone on the exported file
# (varnel-export --verify, median of three, megabytes per second and peak
# memory), then the same verification with the demo's public key, so the
# signature chain is checked as every export checks it (fed by the
# verifier's own pass, its RSA checks on a thread of their own): "signed s"
# its median wall time and "+wall" what that adds, "cpu s" the verification's
# processor time (user and system, median) without the key and "+cpu" what
# the key adds to it, which is what counts on a machine whose cores are
# busy. The runs with and without the key alternate, so a change in the
# machine's load falls on both. Last, libxml2's streaming schema validation
# of the same file (xmllint --stream --noout --schema, once).
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

# The verifier alone on file $1, $runs times without a key and $runs times
# with the key $2, alternating; a finding of the file (exit status 3) is no
# failure here. Sets plain_median, plain_peak_kb, plain_cpu, signed_median
# and signed_cpu (seconds; cpu: user and system).
verify_runs() {
  local file="$1" key="$2" plain_times=() plain_peaks=() plain_cpus=() signed_times=() signed_cpus=()
  local start end status
  for ((i = 0; i < runs; i++)); do
    for keyed in no yes; do
      local key_options=()
      [ "$keyed" = yes ] && key_options=(--public-key "$key")
      sync
      start=$(seconds_now)
      status=0
      /usr/bin/time -f '%M %U %S' -o bench/out/time.txt "$exporter" --verify "$file" "${key_options[@]}" \
        2>"bench/out/check.txt" || status=$?
      end=$(seconds_now)
      [ "$status" -eq 0 ] || [ "$status" -eq 3 ] \
        || { echo "verification of $file failed:" >&2; tail -3 bench/out/check.txt >&2; exit 1; }
      if [ "$keyed" = yes ]; then
        signed_times+=("$(echo "$end - $start" | bc -l)")
        signed_cpus+=("$(tail -1 bench/out/time.txt | awk '{ print $2 + $3 }')")
      else
        plain_times+=("$(echo "$end - $start" | bc -l)")
        plain_peaks+=("$(tail -1 bench/out/time.txt | awk '{ print $1 }')")
        plain_cpus+=("$(tail -1 bench/out/time.txt | awk '{ print $2 + $3 }')")
      fi
    done
  done
  plain_median=$(printf '%s\n' "${plain_times[@]}" | median)
  plain_peak_kb=$(printf '%s\n' "${plain_peaks[@]}" | sort -g | tail -1)
  plain_cpu=$(printf '%s\n' "${plain_cpus[@]}" | median)
  signed_median=$(printf '%s\n' "${signed_times[@]}" | median)
  signed_cpu=$(printf '%s\n' "${signed_cpus[@]}" | median)
}

printf '%-8s %9s %9s %8s %8s %9s %8s %9s %7s %16s %8s %9s %7s %8s %8s %7s\n' \
  documents "time s" "docs/s" "MB/s" "peak MB" "file MB" "stmt/doc" "floor s" "ratio" "sha256 (first 16)" "first s" \
  "verify s" "v/time" "v peak" "recon s" "r/time"

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

  # The verifier alone on the exported file, without and with the demo's
  # public key, and xmllint's streaming schema validation of it against the
  # same schema (the one its namespace names).
  verify_runs "$PWD/$out" "$PWD/$dir/chave-publica-demo.pem"
  schema=third_party/reference/saftpt1.03_01.xsd
  head -c 4096 "$out" | grep -q 'PT_1.04_01' && schema=third_party/reference/saftpt1.04_01-2022-05-17-libxml.xsd
  start=$(seconds_now)
  /usr/bin/time -f '%M' -o "bench/out/time-$size.txt" xmllint --stream --noout --schema "$schema" "$out" \
    2>"bench/out/xmllint-$size.txt" || true
  end=$(seconds_now)
  xmllint_time=$(echo "$end - $start" | bc -l)
  xmllint_peak_kb=$(tail -1 "bench/out/time-$size.txt")
  verification_rows+=("$(awk -v n="$documents" -v b="$bytes" -v v="$plain_median" -v vp="$plain_peak_kb" \
      -v s="$signed_median" -v c="$plain_cpu" -v sc="$signed_cpu" \
      -v x="$xmllint_time" -v xp="$xmllint_peak_kb" 'BEGIN {
    printf "%-8d %9.1f %9.2f %8.1f %8.1f %9.2f %6.0f%% %8.2f %6.0f%% %10.2f %8.1f %8.1f %7.2f", n, b / 1048576, v,
      b / 1048576 / v, vp / 1024, s, (s / v - 1) * 100, c, (sc / c - 1) * 100, x, b / 1048576 / x, xp / 1024, x / v
  }')")

  awk -v n="$documents" -v t="$time_median" -v b="$bytes" -v p="$peak_kb" -v s="$statements" \
      -v f="$floor" -v c="$checksum" -v first="$first" -v v="$verify_median" -v vp="$verify_peak_kb" \
      -v r="$reconcile_median" 'BEGIN {
    printf "%-8d %9.2f %9.0f %8.1f %8.1f %9.1f %8.2f %9.2f %7.2f %16s %8.2f %9.2f %7.2f %8.1f %8.2f %7.3f\n",
      n, t, n / t, b / 1048576 / t, p / 1024, b / 1048576, s / n, f, t / f, c, first, v, v / t, vp / 1024, r, r / t
  }'
done

echo
printf '%-8s %9s %9s %8s %8s %9s %7s %8s %7s %10s %8s %8s %7s\n' documents "file MB" "verify s" "MB/s" "peak MB" \
  "signed s" "+wall" "cpu s" "+cpu" "xmllint s" "MB/s" "peak MB" "x/v"
printf '%s\n' "${verification_rows[@]}"
