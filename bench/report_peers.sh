#!/usr/bin/env bash
# Quillon beside its peers on the same input, whole processes, paired runs (the two
# programs alternate, so that a change of machine load hits both):
#
#  1. "quillon run" over an N-row, ten-column CSV file (grouped by customer every 50 rows,
#     a sum line per group, page heading and footer every 60 lines, a report end with the
#     grand total) beside mawk running bench/report_peer.awk, the same report as an awk
#     script. Both reports must carry the same group and grand totals (and are compared
#     byte for byte).
#  2. The same run from JSON and from SQLite.
#  3. Peak memory of the CSV run at 1 and 10 million rows.
#  4. The engine alone (bench_report_run, records made in the process) beside the Jinja2
#     peer on the same number of records.
#  5. One detail line of ten slots (bench_line_building).
#
# Figures: CPU seconds (user + system) and wall seconds; ratios are taken on CPU seconds,
# which a loaded machine disturbs less than wall time. The load average is printed.
#
#   bench/report_peers.sh [N] [BUILD_DIR]      N defaults to 1000000
#   ROUNDS=3 ENGINE_N=200000 BIG_N=10000000 JINJA_REPORT=... (environment, optional)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-1000000}
build=${2:-build}
rounds=${ROUNDS:-3}
engine_n=${ENGINE_N:-200000}
big_n=${BIG_N:-10000000}
peer=${JINJA_REPORT:-/work/shared/bench/jinja_report.py}
awk_peer=bench/report_peer.awk
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -x /usr/bin/time ] || ! command -v mawk >/dev/null; then scripts/install-deps; fi
cmake -S . -B "$build" -DQUILLON_BENCH=ON >/dev/null  # scripts/test configures without them
cmake --build "$build" --target quillon bench_report_run bench_line_building >/dev/null
quillon=$build/apps/quillon/quillon

load() { cut -d' ' -f1-3 /proc/loadavg; }

# Runs a command under /usr/bin/time; prints "cpu_seconds wall_seconds peak_kb".
measure() {
  /usr/bin/time -f '%U %S %e %M' -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || {
    cat "$work/stderr.txt" >&2
    return 1
  }
  awk '{ printf "%.3f %.3f %d\n", $1 + $2, $3, $4 }' "$work/time.txt"
}

# The CSV data: customer,item,amount,qty,date,ref,tax,currency,warehouse,line.
make_csv() {
  mawk -v n="$1" 'BEGIN {
    print "customer,item,amount,qty,date,ref,tax,currency,warehouse,line"
    for (i = 0; i < n; i++)
      printf "C%05d,Item name %d,%.2f,%d,2026-12-06,REF%07d,%.2f,EUR,Warehouse %d,%d\n",
             int(i / 50), i % 977, (i % 1000) * 1.25, i % 100, i, (i % 37) * 0.5, i % 9, i + 1
  }' >"$2"
}

echo "load average at start: $(load)"
make_csv "$n" "$work/data.csv"

nm=$'<\xc2\xbf'
printf '%s\r\n' '^^CSV' '@0' '<HTML><BODY><TABLE>' '@1' \
  "<tr><th>Page ${nm}PAGENO>?????</th><th>${nm}DATE>??????????</th></tr>" '@3' \
  "<tr><td>${nm}CUSTOMER>????????</td><td>${nm}ITEM>????????????????????</td><td>${nm}AMOUNT>???????^??</td><td>${nm}QTY>??????</td><td>${nm}DATE>??????????</td><td>${nm}REF>????????????</td><td>${nm}TAX>?????^??</td><td>${nm}CURRENCY>??????</td><td>${nm}WAREHOUSE>???????????????</td><td>${nm}LINE>???????</td></tr>" \
  '@4' "<tr><td>Total ${nm}CUSTOMER>????????</td><td>${nm}AMOUNT>?????????^??</td></tr>" \
  '@14' "<tr><td>end of page ${nm}PAGENO>?????</td></tr>" \
  '@15' "<tr><td>Grand total ${nm}AMOUNT>?????????^??</td></tr></TABLE></BODY></HTML>" \
  >"$work/report.htm"

# The date the report shows: ISO under the plain time locales (unset, C, POSIX, C.*), else
# the locale's own date, as quillon writes it.
time_locale=${LC_ALL:-${LC_TIME:-${LANG:-}}}
case "$time_locale" in
  "" | C | POSIX | C.*) report_date=$(date +%Y-%m-%d) ;;
  *) report_date=$(date +%x) ;;
esac

# The command lines measured: quillon DATA OUTPUT, and mawk writing OUTPUT.
quillon_cmd() {
  cmd=("$quillon" run "$work/report.htm" --data "$1" --group customer --page-size 60
    --no-progress --out "$2")
}
awk_cmd() {
  cmd=(sh -c 'exec mawk -F, -v date="$1" -f "$2" "$3" >"$4"' sh "$report_date" "$awk_peer"
    "$work/data.csv" "$1")
}

# --- 1. quillon run beside mawk ---------------------------------------------------------
echo
echo "1. quillon run beside mawk, $n rows of CSV, $rounds paired rounds"
q_best=""
a_best=""
for ((r = 1; r <= rounds; r++)); do
  quillon_cmd "$work/data.csv" "$work/quillon.htm"
  read -r q_cpu q_wall q_kb < <(measure "${cmd[@]}")
  awk_cmd "$work/awk.htm"
  read -r a_cpu a_wall a_kb < <(measure "${cmd[@]}")
  printf '   round %d  quillon %6.2f s cpu %6.2f s wall   mawk %6.2f s cpu %6.2f s wall   load %s\n' \
    "$r" "$q_cpu" "$q_wall" "$a_cpu" "$a_wall" "$(load)"
  q_best=$(awk -v a="$q_best" -v b="$q_cpu" 'BEGIN { print (a == "" || b < a) ? b : a }')
  a_best=$(awk -v a="$a_best" -v b="$a_cpu" 'BEGIN { print (a == "" || b < a) ? b : a }')
done
grep -a -E '^<tr><td>(Total|Grand total)' "$work/quillon.htm" >"$work/quillon.totals"
grep -a -E '^<tr><td>(Total|Grand total)' "$work/awk.htm" >"$work/awk.totals"
if cmp -s "$work/quillon.totals" "$work/awk.totals"; then
  totals="the same $(wc -l <"$work/quillon.totals") totals"
else
  totals="DIFFERENT totals"
fi
cmp -s "$work/quillon.htm" "$work/awk.htm" && same="identical reports" || same="reports differ"
printf '   quillon %.2f s cpu (best), mawk %.2f s cpu (best): quillon %.1f times faster; %s, %s (%s)\n' \
  "$q_best" "$a_best" "$(awk -v q="$q_best" -v a="$a_best" 'BEGIN { print a / q }')" \
  "$totals" "$same" "$(tail -1 "$work/quillon.totals" | sed 's/<[^>]*>//g')"

# --- 2. the same run from JSON and SQLite -------------------------------------------------
echo
echo "2. the same report from other sources, $n rows"
mawk -F, 'NR == 1 { for (i = 1; i <= NF; i++) name[i] = $i; printf "["; next }
  { printf "%s{", (NR > 2 ? ",\n" : "")
    for (i = 1; i <= NF; i++) printf "%s\"%s\":\"%s\"", (i > 1 ? "," : ""), name[i], $i
    printf "}" }
  END { print "]" }' "$work/data.csv" >"$work/data.json"
sqlite3 "$work/data.db" ".import --csv $work/data.csv report"
quillon_cmd "$work/data.csv" "$work/csv.htm"
read -r c_cpu c_wall c_kb < <(measure "${cmd[@]}")
quillon_cmd "$work/data.json" "$work/json.htm"
read -r j_cpu j_wall j_kb < <(measure "${cmd[@]}")
read -r s_cpu s_wall s_kb < <(measure "$quillon" run "$work/report.htm" --data "$work/data.db" \
  --table report --group customer --page-size 60 --no-progress --out "$work/sqlite.htm")
for source in csv json sqlite; do
  cmp -s "$work/csv.htm" "$work/$source.htm" && echo "same" >"$work/$source.same" ||
    echo "differs from the CSV report" >"$work/$source.same"
done
printf '   CSV     %6.2f s cpu %6.2f s wall  peak %8d kB\n' "$c_cpu" "$c_wall" "$c_kb"
printf '   JSON    %6.2f s cpu %6.2f s wall  peak %8d kB  report %s\n' "$j_cpu" "$j_wall" "$j_kb" \
  "$(cat "$work/json.same")"
printf '   SQLite  %6.2f s cpu %6.2f s wall  peak %8d kB  report %s\n' "$s_cpu" "$s_wall" "$s_kb" \
  "$(cat "$work/sqlite.same")"
rm -f "$work"/{csv,json,sqlite}.htm "$work/data.json" "$work/data.db"

# --- 3. peak memory from 1 to 10 million rows --------------------------------------------
echo
echo "3. peak memory of quillon run over CSV"
for rows in 1000000 "$big_n"; do
  make_csv "$rows" "$work/rows.csv"
  quillon_cmd "$work/rows.csv" "$work/rows.htm"
  read -r m_cpu m_wall m_kb < <(measure "${cmd[@]}")
  printf '   %9d rows  %7.2f s cpu  peak %8d kB\n' "$rows" "$m_cpu" "$m_kb"
  rm -f "$work/rows.csv" "$work/rows.htm"
done

# --- 4. the engine beside the Jinja2 peer ------------------------------------------------
echo
echo "4. the engine (bench_report_run) beside the Jinja2 peer, $engine_n records, $rounds paired rounds"
e_best=""
p_best=""
for ((r = 1; r <= rounds; r++)); do
  read -r e_cpu e_wall e_kb < <(measure "$build/bench/bench_report_run" "$engine_n" "$work/e.htm")
  read -r p_cpu p_wall p_kb < <(measure python3 "$peer" "$engine_n" "$work/p.htm")
  printf '   round %d  quillon %6.2f s cpu  jinja2 %6.2f s cpu   load %s\n' "$r" "$e_cpu" "$p_cpu" \
    "$(load)"
  e_best=$(awk -v a="$e_best" -v b="$e_cpu" 'BEGIN { print (a == "" || b < a) ? b : a }')
  p_best=$(awk -v a="$p_best" -v b="$p_cpu" 'BEGIN { print (a == "" || b < a) ? b : a }')
done
awk -v n="$engine_n" -v e="$e_best" -v p="$p_best" 'BEGIN {
  printf "   quillon %10.0f records/s, jinja2 %8.0f records/s (cpu, best): %.1f times\n",
         n / e, n / p, p / e }'

# --- 5. one detail line --------------------------------------------------------------------
echo
echo "5. one detail line of ten slots (CPU time per line; allocations per line)"
"$build/bench/bench_line_building" --benchmark_min_time=1 2>/dev/null | grep '^BM_' |
  sed 's/^/   /'
echo
echo "load average at end: $(load)"
