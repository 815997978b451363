#!/usr/bin/env bash
# The cost of style sheets: a PAGES-page report (default 1000) rendered to PDF twice, once
# with its look given by presentational attributes and once by one style sheet of about 30
# rules and class names (bench/make_report_html.py --styled), in alternating runs. Prints
# the CPU seconds (user + system) of each run, the medians, their ratio and the load.
#
#   bench/css_report.sh [PAGES] [BUILD_DIR]      ROUNDS=5 (environment, optional)
set -euo pipefail
cd "$(dirname "$0")/.."
pages=${1:-1000}
build=${2:-build}
rounds=${ROUNDS:-5}
quillon="$build/apps/quillon/quillon"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 bench/make_report_html.py "$pages" "$work/attr.htm"
python3 bench/make_report_html.py "$pages" "$work/styled.htm" --styled
cpu() {  # CPU seconds of one render
    /usr/bin/time -f "%U %S" -o "$work/time" "$quillon" render --pdf "$work/$1.pdf" \
        "$work/$1.htm" >/dev/null 2>&1
    awk '{ printf "%.2f", $1 + $2 }' "$work/time"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
cpu attr >/dev/null  # warm-up
: >"$work/a"
: >"$work/s"
for ((i = 1; i <= rounds; i++)); do
    a=$(cpu attr)
    s=$(cpu styled)
    echo "round $i: attributes $a s, style sheet $s s"
    echo "$a" >>"$work/a"
    echo "$s" >>"$work/s"
done
ma=$(median <"$work/a")
ms=$(median <"$work/s")
pa=$(pdfinfo "$work/attr.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }' || true)
ps=$(pdfinfo "$work/styled.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }' || true)
echo "pages: attributes ${pa:-?}, style sheet ${ps:-?}"
echo "median CPU seconds: attributes $ma, style sheet $ms, ratio $(awk -v a="$ma" -v s="$ms" 'BEGIN { printf "%.2f", s / a }')"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
