#pragma once
// Generated paged reports for the HTML benchmarks, the shape a long report has after a
// run: per page a heading, a paragraph and the page's records, then a page break.

#include <cstdio>
#include <string>

namespace quillon::bench {

// Records as a 60-row table of 10 columns per page.
inline std::string MakeReport(int pages) {
    std::string s = "<HTML><HEAD><TITLE>Sales report</TITLE></HEAD><BODY BGCOLOR=\"#FFFFFF\">\r\n";
    char buf[512];
    int n = 0;
    for (int p = 1; p <= pages; ++p) {
        std::snprintf(buf, sizeof buf,
                      "<H2>Sales by customer</H2><P>Page %d &nbsp; printed 2026-12-06</P>\r\n", p);
        s += buf;
        s += "<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=2 WIDTH=\"100%\">\r\n<TR><TH>Cust</TH>"
             "<TH>Item</TH><TH>Amount</TH><TH>Qty</TH><TH>Date</TH><TH>Ref</TH><TH>Tax</TH>"
             "<TH>Cur</TH><TH>Warehouse</TH><TH>Line</TH></TR>\r\n";
        for (int r = 0; r < 60; ++r) {
            ++n;
            std::snprintf(buf, sizeof buf,
                          "<TR><TD>C%05d</TD><TD>Item name %d</TD><TD ALIGN=RIGHT>%.2f</TD>"
                          "<TD ALIGN=RIGHT>%d</TD><TD>2026-12-06</TD><TD>REF%07d</TD>"
                          "<TD ALIGN=RIGHT>%.2f</TD><TD>EUR</TD><TD>Warehouse %d</TD>"
                          "<TD ALIGN=RIGHT>%d</TD></TR>\r\n",
                          n / 50, n % 977, (n % 1000) * 1.25, n % 100, n, (n % 37) * 0.5, n % 9, n);
            s += buf;
        }
        std::snprintf(buf, sizeof buf, "</TABLE><P><I>Continued on page %d</I></P>\r\n<PAGE>\r\n",
                      p + 1);
        s += buf;
    }
    s += "</BODY></HTML>\r\n";
    return s;
}

// The same records as text: per record a paragraph with bold and linked parts, every tenth
// record a list of its lines.
inline std::string MakeTextReport(int pages) {
    std::string s = "<HTML><HEAD><TITLE>Sales report</TITLE></HEAD><BODY BGCOLOR=\"#FFFFFF\">\r\n";
    char buf[768];
    int n = 0;
    for (int p = 1; p <= pages; ++p) {
        std::snprintf(buf, sizeof buf,
                      "<H2>Sales by customer</H2><P>Page %d &nbsp; printed 2026-12-06</P>\r\n", p);
        s += buf;
        for (int r = 0; r < 60; ++r) {
            ++n;
            std::snprintf(buf, sizeof buf,
                          "<P>Customer <B>C%05d</B> bought item name %d for %.2f EUR, quantity "
                          "%d, on 2026-12-06 under reference <A HREF=\"ref%07d.htm\">REF%07d</A>"
                          " with tax %.2f from warehouse %d, line %d.</P>\r\n",
                          n / 50, n % 977, (n % 1000) * 1.25, n % 100, n, n, (n % 37) * 0.5, n % 9,
                          n);
            s += buf;
            if (n % 10 == 0) s += "<UL><LI>first line<LI>second line<LI>third line</UL>\r\n";
        }
        s += "<PAGE>\r\n";
    }
    s += "</BODY></HTML>\r\n";
    return s;
}

}  // namespace quillon::bench
