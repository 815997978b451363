// Prints an HTML document made in code to a PDF file, with "Page N of M" centred in the
// footer of every page: the pages are counted first, then printed with the footer.
//   pdf_page_numbers OUT.pdf
// Exits with 1 when nothing was printed, 2 on a usage error.

#include <QApplication>
#include <iostream>
#include <string>

#include <quillon/html/view/qt/html_viewer.h>
#include <quillon/html/view/qt/vw_printer.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: pdf_page_numbers OUT.pdf\n";
        return 2;
    }
    QApplication app(argc, argv);  // the viewer is a widget, though never shown here

    std::string html = "<h1>Stock list</h1><table border=1 cellspacing=0 width=100%>";
    for (int i = 1; i <= 150; ++i) {
        html += "<tr><td>Item " + std::to_string(i) + "</td><td align=right>" +
                std::to_string(i * 3) + "</td></tr>";
    }
    html += "</table>";
    quillon::THTMLViewer viewer;
    viewer.LoadFromBuffer(html);

    quillon::vwSetPrinter(quillon::TvwPrinter::ForPdf(argv[1]));
    const int pages = viewer.NumPrinterPages();
    viewer.OnPrintFooter = [pages](quillon::THTMLViewer&, quillon::Canvas& canvas, int page,
                                   int width, int height, bool&) {
        quillon::FontSpec font;
        font.name = "Arial";
        font.size_pt = 9;
        canvas.SetFont(font);
        const std::string text = "Page " + std::to_string(page) + " of " + std::to_string(pages);
        const std::u32string text32(text.begin(), text.end());
        canvas.DrawText((width - canvas.TextWidth(text32)) / 2,
                        (height - canvas.Metrics().height) / 2, text32);
    };
    if (viewer.Print(1, pages) != pages) return 1;
    std::cout << pages << " pages\n";
    return 0;
}
