#include "platform/qt/print_page_range.h"

#include <QPrintDialog>
#include <algorithm>

namespace quillon {

void OfferPageRange(QPrintDialog& dialog, int FromPage, int ToPage, bool show_narrower_range) {
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, kPrintLastPage);
    const int from = std::clamp(FromPage, 1, kPrintLastPage);
    const int to = std::clamp(ToPage, from, kPrintLastPage);
    dialog.setFromTo(from, to);
    const bool whole = from == 1 && to == kPrintLastPage;
    dialog.setPrintRange(show_narrower_range && !whole ? QAbstractPrintDialog::PageRange
                                                       : QAbstractPrintDialog::AllPages);
}

void TakePageRange(const QPrintDialog& dialog, int& FromPage, int& ToPage) {
    const auto range = dialog.printRange();
    if (range == QAbstractPrintDialog::PageRange || range == QAbstractPrintDialog::Selection) {
        FromPage = dialog.fromPage();
        ToPage = dialog.toPage();
    } else {
        FromPage = 1;
        ToPage = kPrintLastPage;
    }
}

}  // namespace quillon
