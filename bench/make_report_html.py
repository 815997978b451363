#!/usr/bin/env python3
"""Writes a large paged HTML report for bench_html_parse (QUILLON_BENCH_HTML=FILE).

The report has the shape of the one bench_html_parse makes in memory: per page a heading,
a table of 60 rows with 10 columns, a "continued" line and the <PAGE> marker. With
--css-breaks the marker is a CSS page break instead, for peers that read only standard
HTML. With --styled the same report takes its look from one style sheet of about 30 rules
and class names instead of presentational attributes (and breaks pages with CSS), so that
the cost of style sheets can be measured against the attributes.

    python3 bench/make_report_html.py PAGES OUT [--css-breaks | --styled]
                                                         (750 pages: about 10 MB)
"""
import argparse

ROWS_PER_PAGE = 60
HEADER = ("<TR><TH>Cust</TH><TH>Item</TH><TH>Amount</TH><TH>Qty</TH><TH>Date</TH><TH>Ref</TH>"
          "<TH>Tax</TH><TH>Cur</TH><TH>Warehouse</TH><TH>Line</TH></TR>\r\n")


def row(n):
    return ("<TR><TD>C%05d</TD><TD>Item name %d</TD><TD ALIGN=RIGHT>%.2f</TD>"
            "<TD ALIGN=RIGHT>%d</TD><TD>2026-12-06</TD><TD>REF%07d</TD>"
            "<TD ALIGN=RIGHT>%.2f</TD><TD>EUR</TD><TD>Warehouse %d</TD>"
            "<TD ALIGN=RIGHT>%d</TD></TR>\r\n"
            % (n // 50, n % 977, (n % 1000) * 1.25, n % 100, n, (n % 37) * 0.5, n % 9, n))


STYLE_SHEET = """<STYLE>
body { font-family: serif; font-size: 12pt; color: #000; background: #fff; }
h2 { font-size: 18pt; font-weight: bold; color: #000; }
p.stamp { color: #000; }
p.cont { font-style: italic; }
table.grid { width: 100%; border-collapse: collapse; border-spacing: 0; }
table.grid th { font-weight: bold; text-align: center; padding: 2px; }
table.grid td { padding: 2px; vertical-align: middle; }
td.num { text-align: right; }
td.cust { text-align: left; }
td.item { text-align: left; }
td.date { text-align: left; }
td.ref { text-align: left; }
td.cur { text-align: left; }
td.wh { text-align: left; }
tr.row td { color: #000; }
tr.head th { color: #000; }
.page-end { page-break-after: always; }
.hidden { display: none; }
.total { font-weight: bold; }
.warn { color: #c00; }
.ok { color: #060; }
a { color: #00e; text-decoration: underline; }
ul.notes { list-style-type: disc; }
caption { font-weight: bold; }
div.box { border: 1px solid #ccc; padding: 4px; }
span.small { font-size: 10pt; }
em { font-style: italic; }
strong { font-weight: bold; }
code { font-family: monospace; }
</STYLE>"""

STYLED_HEADER = ('<TR class="head"><TH>Cust</TH><TH>Item</TH><TH>Amount</TH><TH>Qty</TH>'
                 "<TH>Date</TH><TH>Ref</TH><TH>Tax</TH><TH>Cur</TH><TH>Warehouse</TH>"
                 "<TH>Line</TH></TR>\r\n")


def styled_row(n):
    return ('<TR class="row"><TD class="cust">C%05d</TD><TD class="item">Item name %d</TD>'
            '<TD class="num">%.2f</TD><TD class="num">%d</TD><TD class="date">2026-12-06</TD>'
            '<TD class="ref">REF%07d</TD><TD class="num">%.2f</TD><TD class="cur">EUR</TD>'
            '<TD class="wh">Warehouse %d</TD><TD class="num">%d</TD></TR>\r\n'
            % (n // 50, n % 977, (n % 1000) * 1.25, n % 100, n, (n % 37) * 0.5, n % 9, n))


def write_styled(out, pages):
    out.write("<HTML><HEAD><TITLE>Sales report</TITLE>%s</HEAD><BODY>\r\n" % STYLE_SHEET)
    n = 0
    for page in range(1, pages + 1):
        out.write('<H2>Sales by customer</H2><P class="stamp">Page %d &nbsp; printed '
                  "2026-12-06</P>\r\n" % page)
        out.write('<TABLE class="grid">\r\n' + STYLED_HEADER)
        for _ in range(ROWS_PER_PAGE):
            n += 1
            out.write(styled_row(n))
        out.write('</TABLE><P class="cont">Continued on page %d</P>\r\n'
                  '<DIV class="page-end"></DIV>\r\n' % (page + 1))
    out.write("</BODY></HTML>\r\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pages", type=int)
    parser.add_argument("out")
    parser.add_argument("--css-breaks", action="store_true")
    parser.add_argument("--styled", action="store_true")
    args = parser.parse_args()
    if args.styled:
        with open(args.out, "w", newline="") as out:
            write_styled(out, args.pages)
        return
    marker = ('<div style="page-break-after: always"></div>' if args.css_breaks else "<PAGE>")
    n = 0
    with open(args.out, "w", newline="") as out:
        out.write('<HTML><HEAD><TITLE>Sales report</TITLE></HEAD><BODY BGCOLOR="#FFFFFF">\r\n')
        for page in range(1, args.pages + 1):
            out.write("<H2>Sales by customer</H2><P>Page %d &nbsp; printed 2026-12-06</P>\r\n"
                      % page)
            out.write('<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=2 WIDTH="100%">\r\n' + HEADER)
            for _ in range(ROWS_PER_PAGE):
                n += 1
                out.write(row(n))
            out.write("</TABLE><P><I>Continued on page %d</I></P>\r\n%s\r\n" % (page + 1, marker))
        out.write("</BODY></HTML>\r\n")


if __name__ == "__main__":
    main()
