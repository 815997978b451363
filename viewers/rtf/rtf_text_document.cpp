// A stand-in until the rich-text reader arrives: the document receives the file's text
// as it is, so that the RTF viewer can be built and tried.

#include "viewers/rtf/rtf_text_document.h"

#include <QString>
#include <QTextDocument>
#include <stdexcept>

namespace quillon {

void LoadRtfIntoDocument(QTextDocument& doc, std::string_view rtf) {
    if (rtf.substr(0, 5) != "{\\rtf") throw std::runtime_error("not a rich-text document");
    doc.setPlainText(QString::fromUtf8(rtf.data(), static_cast<qsizetype>(rtf.size())));
}

}  // namespace quillon
