#!/usr/bin/env python3
"""Checks a PDF made from bench/make_report_html.py's report: every report page must be one
or more whole PDF pages, and every record row must print exactly once and whole.

    python3 bench/check_pdf_pages.py OUT.pdf REPORT_PAGES

A text line cut across a page edge leaves its glyphs on both sheets (each half clipped), so
pdftotext finds its record on two pages: it counts as cut. Prints one line of figures; the
exit status is 0 when nothing is wrong.
"""
import re
import subprocess
import sys

ROWS_PER_PAGE = 60
ROW = re.compile(r"REF(\d{7})\s+\S+\s+EUR\s+Warehouse\s+\d+\s+(\d+)\s*$")
REF = re.compile(r"REF(\d{7})")


def main():
    pdf, report_pages = sys.argv[1], int(sys.argv[2])
    done = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True)
    if done.returncode != 0:
        print(f"no readable PDF ({pdf}) -> FAULTS")
        return 1
    text = done.stdout
    sheets = text.split("\f")
    if sheets and not sheets[-1].strip():
        sheets.pop()
    seen = {}
    broken = 0          # a row whose fields are not on one line
    mixed = 0           # sheets holding rows of two report pages
    late_heading = 0    # a report page's heading that is not the first text of its sheet
    headings = 0
    for sheet in sheets:
        owners = set()
        for line in sheet.splitlines():
            for m in REF.finditer(line):
                n = int(m.group(1))
                seen[n] = seen.get(n, 0) + 1
                owners.add((n - 1) // ROWS_PER_PAGE)
                whole = ROW.search(line)
                if not whole or int(whole.group(2)) != n:
                    broken += 1
        if len(owners) > 1:
            mixed += 1
        at = sheet.find("Sales by customer")
        if at >= 0:
            headings += 1
            if sheet[:at].strip():
                late_heading += 1
    expected = report_pages * ROWS_PER_PAGE
    missing = sum(1 for n in range(1, expected + 1) if n not in seen)
    twice = sum(1 for n, c in seen.items() if c > 1)
    ok = (missing == 0 and twice == 0 and broken == 0 and mixed == 0 and late_heading == 0
          and headings == report_pages)
    print(f"sheets {len(sheets)} headings {headings}/{report_pages} rows missing {missing} "
          f"cut-or-twice {twice} broken {broken} sheets-mixing-report-pages {mixed} "
          f"headings-not-at-top {late_heading} -> {'OK' if ok else 'FAULTS'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
