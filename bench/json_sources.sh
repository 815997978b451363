#!/usr/bin/env bash
# "quillon run" over the same N rows (ten columns, grouped by customer every 50 rows) as CSV,
# as a JSON array of objects and as JSON Lines: median wall seconds, CPU seconds (user +
# system, which a loaded machine disturbs less) and peak memory of each, and the ratios of
# the JSON forms to CSV. The three runs of a round follow each other (the
# order turns each round), so that a change of machine load hits all three. Then the peak
# memory of the JSON forms at N and at 5 N rows: reading as a stream, it must not grow with
# the rows. The three reports must be identical. The load average is printed.
#
#   bench/json_sources.sh [N] [BUILD_DIR]      N defaults to 200000
#   ROUNDS=5 (environment, optional)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-200000}
build=${2:-build}
rounds=${ROUNDS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -x /usr/bin/time ] || ! command -v mawk >/dev/null; then scripts/install-deps; fi
cmake --build "$build" --target quillon >/dev/null
quillon=$build/apps/quillon/quillon

load() { cut -d' ' -f1-3 /proc/loadavg; }

# Runs quillon on DATA writing OUT; prints "wall_seconds cpu_seconds peak_kb".
measure() {
  /usr/bin/time -f '%e %U %S %M' -o "$work/time.txt" "$quillon" run "$work/report.htm" --data "$1" \
    --group customer --page-size 60 --no-progress --out "$2" >/dev/null 2>"$work/stderr.txt" || {
    cat "$work/stderr.txt" >&2
    return 1
  }
  awk '{ printf "%.2f %.2f %d\n", $1, $2 + $3, $4 }' "$work/time.txt"
}

# The rows as CSV (customer,item,amount,qty,date,ref,tax,currency,warehouse,line), as a
# JSON array (one object per line) and as JSON Lines; numbers are JSON numbers.
make_data() {
  mawk -v n="$1" -v csv="$2.csv" -v json="$2.json" -v jsonl="$2.jsonl" 'BEGIN {
    print "customer,item,amount,qty,date,ref,tax,currency,warehouse,line" >csv
    printf "[" >json
    for (i = 0; i < n; i++) {
      c = sprintf("C%05d", int(i / 50)); item = "Item name " (i % 977)
      amount = sprintf("%.2f", (i % 1000) * 1.25); qty = i % 100
      ref = sprintf("REF%07d", i); tax = sprintf("%.2f", (i % 37) * 0.5)
      printf "%s,%s,%s,%d,2026-12-06,%s,%s,EUR,Warehouse %d,%d\n", c, item, amount, qty, ref, \
        tax, i % 9, i + 1 >csv
      o = sprintf("{\"customer\":\"%s\",\"item\":\"%s\",\"amount\":%s,\"qty\":%d," \
        "\"date\":\"2026-12-06\",\"ref\":\"%s\",\"tax\":%s,\"currency\":\"EUR\"," \
        "\"warehouse\":\"Warehouse %d\",\"line\":%d}", c, item, amount, qty, ref, tax, i % 9, i + 1)
      printf "%s%s", (i > 0 ? ",\n" : ""), o >json
      print o >jsonl
    }
    print "]" >json
  }'
}

nm=$'<\xc2\xbf'
printf '%s\r\n' '^^CSV' '@0' '<HTML><BODY><TABLE>' '@1' \
  "<tr><th>Page ${nm}PAGENO>?????</th></tr>" '@3' \
  "<tr><td>${nm}CUSTOMER>????????</td><td>${nm}ITEM>????????????????????</td><td>${nm}AMOUNT>???????^??</td><td>${nm}QTY>??????</td><td>${nm}DATE>??????????</td><td>${nm}REF>????????????</td><td>${nm}TAX>?????^??</td><td>${nm}CURRENCY>??????</td><td>${nm}WAREHOUSE>???????????????</td><td>${nm}LINE>???????</td></tr>" \
  '@4' "<tr><td>Total ${nm}CUSTOMER>????????</td><td>${nm}AMOUNT>?????????^??</td></tr>" \
  '@15' "<tr><td>Grand total ${nm}AMOUNT>?????????^??</td></tr></TABLE></BODY></HTML>" \
  >"$work/report.htm"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "load average at start: $(load)"
make_data "$n" "$work/data"
printf 'data: %d rows; CSV %d bytes, JSON %d bytes, JSON Lines %d bytes\n' "$n" \
  "$(stat -c %s "$work/data.csv")" "$(stat -c %s "$work/data.json")" \
  "$(stat -c %s "$work/data.jsonl")"

echo
echo "1. quillon run, $n rows, $rounds rounds (wall seconds, cpu seconds, peak kB)"
forms=(csv json jsonl)
for ((r = 1; r <= rounds; r++)); do
  line="   round $r"
  for ((k = 0; k < 3; k++)); do
    form=${forms[$(((k + r - 1) % 3))]}
    read -r wall cpu kb < <(measure "$work/data.$form" "$work/$form.htm")
    echo "$wall" >>"$work/$form.wall"
    echo "$cpu" >>"$work/$form.cpu"
    echo "$kb" >>"$work/$form.kb"
    line+=$(printf '  %-5s %5.2f s %5.2f cpu %6d kB' "$form" "$wall" "$cpu" "$kb")
  done
  echo "$line   load $(load)"
done
for form in json jsonl; do
  cmp -s "$work/csv.htm" "$work/$form.htm" || echo "   the $form report DIFFERS from the CSV report"
done
c_wall=$(median <"$work/csv.wall")
c_cpu=$(median <"$work/csv.cpu")
c_kb=$(median <"$work/csv.kb")
for form in csv json jsonl; do
  wall=$(median <"$work/$form.wall")
  cpu=$(median <"$work/$form.cpu")
  kb=$(median <"$work/$form.kb")
  awk -v f="$form" -v w="$wall" -v c="$cpu" -v k="$kb" -v cw="$c_wall" -v cc="$c_cpu" \
    -v ck="$c_kb" 'BEGIN {
    printf "   %-5s median %5.2f s %5.2f cpu %7d kB   of CSV: time x%.2f cpu x%.2f memory x%.2f\n",
           f, w, c, k, w / cw, c / cc, k / ck }'
done

echo
echo "2. peak memory of the JSON forms at $n and $((5 * n)) rows"
make_data $((5 * n)) "$work/big"
for form in json jsonl; do
  read -r s_wall s_cpu s_kb < <(measure "$work/data.$form" "$work/small.htm")
  read -r b_wall b_cpu b_kb < <(measure "$work/big.$form" "$work/big.htm")
  printf '   %-5s %7d rows %7d kB %5.2f s   %7d rows %7d kB %5.2f s\n' "$form" "$n" "$s_kb" \
    "$s_wall" $((5 * n)) "$b_kb" "$b_wall"
done
echo
echo "load average at end: $(load)"
