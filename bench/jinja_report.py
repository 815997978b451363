#!/usr/bin/env python3
"""The Jinja2 peer of bench_report_run: the same grouped, paged HTML report of N records.

Each record has ten fields written with the widths of the Quillon template; a total line
closes every customer (50 records each); a page holds 60 lines, and each page break writes
the footer, the <PAGE> marker and the next page heading; the report ends with the grand
total. Records are made in the process, as bench_report_run makes them.

    python3 bench/jinja_report.py N OUT
"""
import datetime
import sys

import jinja2

LINES_PER_PAGE = 60
RECORDS_PER_CUSTOMER = 50

TEMPLATES = {
    "head": "<tr><th>Page {{ '%5d' | format(page) }}</th><th>{{ date }}</th></tr>\r\n",
    "detail": (
        "<tr><td>{{ '%-8s' | format(r.cust) }}</td><td>{{ ('%-20s' | format(r.item))[:20] }}</td>"
        "<td>{{ '%10.2f' | format(r.amount) }}</td><td>{{ '%6d' | format(r.qty) }}</td>"
        "<td>{{ '%-10s' | format(r.date) }}</td><td>{{ '%-12s' | format(r.ref) }}</td>"
        "<td>{{ '%8.2f' | format(r.tax) }}</td><td>{{ '%-6s' | format(r.cur) }}</td>"
        "<td>{{ '%-15s' | format(r.wh) }}</td><td>{{ '%7d' | format(r.line) }}</td></tr>\r\n"
    ),
    "total": "<tr><td>Total {{ '%-8s' | format(cust) }}</td><td>{{ '%12.2f' | format(total) }}</td></tr>\r\n",
    "footer": "<tr><td>end of page {{ '%5d' | format(page) }}</td></tr>\r\n<PAGE>\r\n",
    "end": "<tr><td>Grand total {{ '%12.2f' | format(grand) }}</td></tr></TABLE></BODY></HTML>\r\n",
}


class Record:
    __slots__ = ("cust", "item", "amount", "qty", "date", "ref", "tax", "cur", "wh", "line")

    def __init__(self, i):
        self.cust = "C%05d" % (i // RECORDS_PER_CUSTOMER)
        self.item = "Item name %d" % (i % 977)
        self.amount = (i % 1000) * 1.25
        self.qty = i % 100
        self.date = "2026-12-06"
        self.ref = "REF%07d" % i
        self.tax = (i % 37) * 0.5
        self.cur = "EUR"
        self.wh = "Warehouse %d" % (i % 9)
        self.line = i + 1


class PagedWriter:
    """Counts lines; a full page breaks when the next block arrives, as the engine does."""

    def __init__(self, out, templates, date):
        self.out, self.t, self.date = out, templates, date
        self.page, self.lines, self.full = 1, 0, False

    def write(self, text, lines=1):
        if self.full:
            self.out.write(self.t["footer"].render(page=self.page))
            self.page += 1
            self.lines = 0
            self.full = False
            self.write(self.t["head"].render(page=self.page, date=self.date))
        self.out.write(text)
        self.lines += lines
        self.full = self.lines >= LINES_PER_PAGE


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 200000
    path = sys.argv[2] if len(sys.argv) > 2 else "/tmp/jinja_report.htm"
    env = jinja2.Environment(autoescape=False, keep_trailing_newline=True)
    templates = {name: env.from_string(text) for name, text in TEMPLATES.items()}
    date = datetime.date.today().isoformat()
    with open(path, "w", newline="") as out:
        pages = PagedWriter(out, templates, date)
        pages.write("<HTML><BODY><TABLE>\r\n")
        pages.write(templates["head"].render(page=1, date=date))
        customer, total, grand = None, 0.0, 0.0
        for i in range(n):
            record = Record(i)
            if customer is not None and record.cust != customer:
                pages.write(templates["total"].render(cust=customer, total=total))
                grand += total
                total = 0.0
            customer = record.cust
            total += record.amount
            pages.write(templates["detail"].render(r=record))
        if customer is not None:
            pages.write(templates["total"].render(cust=customer, total=total))
            grand += total
        pages.full = False  # the report end stays on the last page
        pages.write(templates["end"].render(grand=grand))
    print("jinja2: %d records, %d pages" % (n, pages.page))


if __name__ == "__main__":
    main()
