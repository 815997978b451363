#!/usr/bin/env bash
# A grouped, paged report of N records written by Quillon (bench_report_run: TQuillon with
# events) and by the Jinja2 peer (bench/jinja_report.py), one after the
# other on the same N: records per second, peak memory (/usr/bin/time -v) and the ratio.
# Then "quillon run" end to end on an N-row CSV file.
#
#   bench/report_vs_jinja.sh [N] [BUILD_DIR]        (N defaults to 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-1000000}
build=${2:-build}
peer=${JINJA_REPORT:-bench/jinja_report.py}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -x /usr/bin/time ]; then scripts/install-deps; fi
cmake -S . -B "$build" -DQUILLON_BENCH=ON >/dev/null  # scripts/test configures without them
cmake --build "$build" --target bench_report_run quillon >/dev/null

# Runs a command under /usr/bin/time -v; prints "seconds peak_kb".
measure() {
  /usr/bin/time -v "$@" 2>"$work/time.txt" >/dev/null
  local wall peak
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time.txt")
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
  # h:mm:ss or m:ss.ss to seconds
  echo "$(echo "$wall" | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }') $peak"
}

read -r q_sec q_kb < <(measure "$build/bench/bench_report_run" "$n" "$work/quillon.htm")
read -r j_sec j_kb < <(measure python3 "$peer" "$n" "$work/jinja.htm")
awk -v n="$n" -v qs="$q_sec" -v qk="$q_kb" -v js="$j_sec" -v jk="$j_kb" 'BEGIN {
  qr = n / qs; jr = n / js;
  printf "records                 %d\n", n;
  printf "quillon  %12.0f records/s  %8.2f s  peak %8d kB\n", qr, qs, qk;
  printf "jinja2   %12.0f records/s  %8.2f s  peak %8d kB\n", jr, js, jk;
  printf "ratio    %12.1f x records/s\n", qr / jr;
}'

# quillon run over an N-row CSV file, the same ten fields, grouped by customer.
python3 - "$n" "$work/data.csv" <<'PY'
import sys
n, path = int(sys.argv[1]), sys.argv[2]
with open(path, "w") as f:
    f.write("customer,item,amount,qty,date,ref,tax,currency,warehouse,line\n")
    for i in range(n):
        f.write("C%05d,Item name %d,%.2f,%d,2026-12-06,REF%07d,%.2f,EUR,Warehouse %d,%d\n"
                % (i // 50, i % 977, (i % 1000) * 1.25, i % 100, i, (i % 37) * 0.5, i % 9, i + 1))
PY
nm=$'<\xc2\xbf'
printf '%s\r\n' '^^CSV' '@0' '<HTML><BODY><TABLE>' '@1' \
  "<tr><th>Page ${nm}PAGENO>?????</th><th>${nm}DATE>??????????</th></tr>" '@3' \
  "<tr><td>${nm}CUSTOMER>????????</td><td>${nm}ITEM>????????????????????</td><td>${nm}AMOUNT>???????^??</td><td>${nm}QTY>??????</td><td>${nm}DATE>??????????</td><td>${nm}REF>????????????</td><td>${nm}TAX>?????^??</td><td>${nm}CURRENCY>??????</td><td>${nm}WAREHOUSE>???????????????</td><td>${nm}LINE>???????</td></tr>" \
  '@4' "<tr><td>Total ${nm}CUSTOMER>????????</td><td>${nm}AMOUNT>?????????^??</td></tr>" \
  '@14' "<tr><td>end of page ${nm}PAGENO>?????</td></tr>" \
  '@15' "<tr><td>Grand total ${nm}AMOUNT>?????????^??</td></tr></TABLE></BODY></HTML>" \
  > "$work/csv_report.htm"
read -r r_sec r_kb < <(measure "$build/apps/quillon/quillon" run "$work/csv_report.htm" \
  --data "$work/data.csv" --group customer --page-size 60 --no-progress --out "$work/run.htm")
awk -v n="$n" -v s="$r_sec" -v k="$r_kb" 'BEGIN {
  printf "quillon run (CSV) %12.0f records/s  %8.2f s  peak %8d kB\n", n / s, s, k }'
