#pragma once
// TrptTXTViewer: the RTF viewer for reports written as plain text. The file is read as
// UTF-8 when it is valid UTF-8, else as Windows-1252; its menu offers Print TXT, which
// prints the report on a character printer through the report (TQuillon::PrintTXT).

#include "viewers/rtf_viewer.h"

namespace quillon {

class TrptTXTViewer : public TrptRTFViewer {
  public:
    explicit TrptTXTViewer(std::string name = {}, HostServices& host = DefaultHost());

    // Prints the report's pages FFromPage..FToPage as text; the line width is the
    // printer section's.
    void ThePrintTXTClick(QObject* Sender) override;
    // Text reports line their columns up in a fixed-pitch font: the one set here (a
    // report sets its viewer's), else DejaVu Sans Mono.
    std::string GetDefPreFontName() const override;
    void SetDefPreFontName(const std::string& Value) override;

  protected:
    void LoadDocument(const std::string& bytes) override;
};

}  // namespace quillon
