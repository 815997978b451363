#!/usr/bin/env bash
# Peak memory and time of layout, render and view on inputs that are large in one
# dimension: a 10 MB document that is one word (HTML, text, RTF), a 10 MB and a 2 MB
# one-line text, and a page with a 600,000-cell table. Prints per command the peak
# resident memory against the bound of 20 times the input plus 150 MB, the seconds
# (wall, CPU) and the load.
#
#   bench/heavy_inputs.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
quillon="$(pwd)/$build/apps/quillon/quillon"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
python3 - "$work" <<'PY'
import random, sys
d = sys.argv[1]
random.seed(1)
word = 'x' * 10_000_000
open(f'{d}/word.htm', 'w').write(word)
open(f'{d}/word.txt', 'w').write(word)
open(f'{d}/word.rtf', 'w').write('{\\rtf1\\ansi ' + word + '}')
def line(n):
    out, size = [], 0
    while size < n:
        w = ''.join(random.choice('abcdefghij') for _ in range(random.randint(2, 9)))
        out.append(w)
        size += len(w) + 1
    return ' '.join(out)[:n]
open(f'{d}/line10.txt', 'w').write(line(10_000_000))
open(f'{d}/line2.txt', 'w').write(line(2_000_000))
row = '<tr>' + '<td>x</td>' * 6 + '</tr>'
open(f'{d}/table.htm', 'w').write('<table>' + row * 100_000 + '</table>')
PY
measure() {  # name, input, command...
    local name=$1 input=$2
    shift 2
    /usr/bin/time -f "%M %e %U %S" -o "$work/time" "$@" >/dev/null 2>&1 || true
    read -r kb wall user sys <"$work/time"
    local bytes
    bytes=$(stat -c %s "$input")
    awk -v n="$name" -v kb="$kb" -v b="$bytes" -v w="$wall" -v u="$user" -v s="$sys" 'BEGIN {
        mb = kb / 1024; bound = 20 * b / 1048576 + 150
        printf "%-24s %8.0f MB  bound %6.0f MB  %-4s  %6.2f s wall  %6.2f s CPU\n",
               n, mb, bound, (mb <= bound ? "ok" : "OVER"), w, u + s }'
}
for f in word.htm table.htm; do
    measure "layout $f" "$work/$f" "$quillon" layout "$work/$f"
done
measure "layout table.htm fixed" "$work/table.htm" "$quillon" layout --fixed-metrics \
    "$work/table.htm"
for f in word.htm word.txt word.rtf line10.txt table.htm; do
    measure "render $f" "$work/$f" "$quillon" render "$work/$f" --pdf "$work/out.pdf"
done
for f in word.htm word.txt word.rtf line10.txt line2.txt table.htm; do
    measure "view $f" "$work/$f" "$quillon" view "$work/$f" --screenshot "$work/view.png"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
