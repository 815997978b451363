#!/usr/bin/env python3
"""Writes a large paged HTML report for bench_html_parse (QUILLON_BENCH_HTML=FILE).

The report has the shape of the one bench_html_parse makes in memory: per page a heading,
a table of 60 rows with 10 columns, a "continued" line and the <PAGE> marker. With
--css-breaks the marker is a CSS page break instead, for peers that read only standard
HTML.

    python3 bench/make_report_html.py PAGES OUT [--css-breaks]     (750 pages: about 10 MB)
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pages", type=int)
    parser.add_argument("out")
    parser.add_argument("--css-breaks", action="store_true")
    args = parser.parse_args()
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
