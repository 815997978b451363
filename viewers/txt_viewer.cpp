#include "viewers/txt_viewer.h"

#include <QFont>
#include <QTextEdit>

#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// A line longer than this many bytes is shown in pieces of about this length, one below
// the other, broken after a blank near the end of a piece where there is one: the control
// lays out and keeps glyphs for a whole line at once, which for a line of megabytes takes
// seconds and hundreds of megabytes.
constexpr std::size_t kLongLine = 4096;
constexpr std::size_t kBreakRoom = 256;

}  // namespace

TrptTXTViewer::TrptTXTViewer(std::string name, HostServices& host)
    : TrptRTFViewer(std::move(name), host) {
    FRichEdit->setAcceptRichText(false);
    FPrintTXTAllowed = true;
    SetDefPreFontName("DejaVu Sans Mono");
}

std::string TrptTXTViewer::GetDefPreFontName() const {
    const QStringList families = FRichEdit->font().families();
    return families.isEmpty() ? GetDefFontName() : families.front().toStdString();
}

void TrptTXTViewer::SetDefPreFontName(const std::string& Value) {
    if (Value.empty()) return;
    // The face asked for, else DejaVu Sans Mono, else any fixed-pitch face: text reports
    // line their columns up with spaces.
    QFont font = FRichEdit->font();
    font.setFamilies({QString::fromStdString(Value), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    FRichEdit->setFont(font);
    FRichEdit->document()->setDefaultFont(font);
}

void TrptTXTViewer::LoadDocument(const std::string& bytes) {
    std::string utf8 = text::IsValidUtf8(bytes) ? bytes : text::Cp1252ToUtf8(bytes);
    // Report lines end in CR LF; the control wants bare line ends.
    std::string lines;
    lines.reserve(utf8.size() + utf8.size() / kLongLine);
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        if (utf8[i] == '\n') {
            line_start = lines.size() + 1;
        } else if (const std::size_t length = lines.size() - line_start;
                   (length >= kLongLine - kBreakRoom && lines.back() == ' ') ||
                   (length >= kLongLine && (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80)) {
            lines.push_back('\n');
            line_start = lines.size();
        }
        lines.push_back(utf8[i]);
    }
    FRichEdit->setPlainText(QString::fromUtf8(lines.data(), static_cast<qsizetype>(lines.size())));
}

void TrptTXTViewer::ThePrintTXTClick(QObject*) {
    TQuillon* report = Report();
    if (report == nullptr) return;
    // Width 0: the printer section's <WIDTH> applies (else 128).
    report->PrintTXT("", "", "", FFromPage, FToPage, 0);
}

}  // namespace quillon
