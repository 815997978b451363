#pragma once
// The page range of a print dialog: pages 1 to kPrintLastPage (the open end, "to the last
// page"), offered from a range the caller holds and read back once the dialog is accepted.

class QPrintDialog;

namespace quillon {

inline constexpr int kPrintLastPage = 9999;

// Lets dialog choose among pages 1..kPrintLastPage with FromPage..ToPage (clamped) filled
// in. The dialog opens on "all pages" unless show_narrower_range is set and the range is
// narrower than the whole.
void OfferPageRange(QPrintDialog& dialog, int FromPage, int ToPage, bool show_narrower_range);

// The range chosen in dialog (a page range or a selection), else 1..kPrintLastPage.
void TakePageRange(const QPrintDialog& dialog, int& FromPage, int& ToPage);

}  // namespace quillon
