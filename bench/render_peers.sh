#!/usr/bin/env bash
# quillon render beside wkhtmltopdf and Chromium headless on the same long report, printed
# to PDF: bench/make_report_html.py's report of N pages (a heading and a 60-row table per
# page), A4 landscape, 2-cm margins. Quillon reads the report with its <PAGE> markers; the
# peers read it with the markers written as CSS page breaks.
#
# Figures per program: CPU seconds (user + system, the program and all its processes),
# wall seconds, peak resident memory of the whole process tree, report pages per CPU
# second, and the check of bench/check_pdf_pages.py (every report page one or more whole
# sheets, every row printed once and whole). Ratios are taken on CPU seconds, which a
# loaded machine disturbs less than wall time. The load average is printed.
#
#   bench/render_peers.sh [N] [BUILD_DIR]      N defaults to 1000
#   PEER_TIMEOUT=SECONDS (environment, default 1800): a peer still running then is stopped
#   and reported without a PDF.
#
# The peers are Debian packages installed here when missing (wkhtmltopdf, chromium); they
# are needed by this benchmark only. A peer that cannot be installed is left out.
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-1000}
build=${2:-build}
timeout_s=${PEER_TIMEOUT:-1800}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

install_peer() {
  command -v "$1" >/dev/null && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$2" \
    >/dev/null 2>&1 || true
  command -v "$1" >/dev/null
}

load() { cut -d' ' -f1-3 /proc/loadavg; }

cmake --build "$build" --target quillon >/dev/null
quillon=$build/apps/quillon/quillon
export QT_QPA_PLATFORM=offscreen

python3 bench/make_report_html.py "$n" "$work/report.htm"
python3 bench/make_report_html.py "$n" "$work/css.htm" --css-breaks
# Chromium takes paper and margins from CSS only.
sed -i '0,/<HEAD>/s//<HEAD><STYLE>@page { size: A4 landscape; margin: 2cm }<\/STYLE>/' "$work/css.htm"

echo "report: $n pages of 60 rows ($(du -h "$work/report.htm" | cut -f1)), A4 landscape"
echo "load average at start: $(load)"
printf '%-12s %8s %8s %10s %12s  %s\n' program cpu_s wall_s peak_MB pages/cpu_s check

run() {
  local name=$1 pdf=$2
  shift 2
  local figures
  if ! figures=$(python3 bench/measure_tree.py "$@"); then
    printf '%-12s failed\n' "$name"
    return
  fi
  read -r cpu wall peak <<<"$figures"
  local check
  check=$(python3 bench/check_pdf_pages.py "$pdf" "$n" || true)
  awk -v name="$name" -v cpu="$cpu" -v wall="$wall" -v peak="$peak" -v n="$n" -v check="$check" \
    'BEGIN { printf "%-12s %8.2f %8.2f %10.0f %12.1f  %s\n", name, cpu, wall, peak / 1024,
             n / cpu, check }'
  echo "$name $cpu $peak" >>"$work/figures"
}

run quillon "$work/q.pdf" "$quillon" render "$work/report.htm" --pdf "$work/q.pdf" --landscape
if install_peer wkhtmltopdf wkhtmltopdf; then
  run wkhtmltopdf "$work/w.pdf" timeout "$timeout_s" wkhtmltopdf -q -O Landscape -s A4 -T 20mm -B 20mm -L 20mm \
    -R 20mm "$work/css.htm" "$work/w.pdf"
else
  echo "wkhtmltopdf: not installed and not installable here; left out"
fi
if install_peer chromium chromium; then
  run chromium "$work/c.pdf" timeout "$timeout_s" chromium --headless --no-sandbox --disable-gpu \
    --no-pdf-header-footer --user-data-dir="$work/chromium" --print-to-pdf="$work/c.pdf" \
    "file://$work/css.htm"
else
  echo "chromium: not installed and not installable here; left out"
fi
echo "load average at end: $(load)"
awk '$1 == "quillon" { qc = $2; qm = $3 }
     $1 != "quillon" && qc > 0 {
       printf "%s / quillon: CPU %.2fx, peak memory %.2fx\n", $1, $2 / qc, $3 / qm }' \
  "$work/figures"
