#include "viewers/rtf_viewer.h"

#include <QMenu>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/core/text_encoding.h"
#include "viewers/qt_component.h"
#include "viewers/rtf/rtf_text_document.h"

namespace quillon {

namespace {

QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor ToQColor(Color c) {
    return QColor(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>(c & 0xFF));
}

Color FromQColor(const QColor& c) {
    return (static_cast<Color>(c.red()) << 16) | (static_cast<Color>(c.green()) << 8) |
           static_cast<Color>(c.blue());
}

std::string ReadWholeFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + name + ": " + std::strerror(errno));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw std::runtime_error("cannot read " + name);
    return bytes.str();
}

// A page number typed into the page box; nothing when it is not an integer.
std::optional<int> ReadPageNumber(std::string_view text) {
    text = text::Trim(text);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace

TrptRTFViewer::TrptRTFViewer(std::string name, HostServices& host)
    : TCustomWWWRepViewer(std::move(name), host) {
    FRichEdit = new QTextEdit(&ClientPanel());
    FillClientPanel(*FRichEdit);
    FRichEdit->setReadOnly(true);
    FRichEdit->setLineWrapMode(QTextEdit::NoWrap);
    FRichEdit->setFrameShape(QFrame::NoFrame);
    FRichEdit->setAcceptRichText(true);
    FPrintTXTAllowed = false;
}

TrptRTFViewer::~TrptRTFViewer() = default;

QWidget* TrptRTFViewer::DocumentWidget() const {
    return FRichEdit;
}

THTMLBorderStyle TrptRTFViewer::GetBorderStyle() const {
    return FRichEdit->frameShape() == QFrame::NoFrame ? htNone : htSingle;
}

void TrptRTFViewer::SetBorderStyle(THTMLBorderStyle Value) {
    if (Value == htNone) FRichEdit->setFrameShape(QFrame::NoFrame);
    if (Value == htSingle) FRichEdit->setFrameShape(QFrame::Box);
}

Color TrptRTFViewer::GetDefBackground() const {
    return FromQColor(FRichEdit->palette().color(QPalette::Base));
}

void TrptRTFViewer::SetDefBackground(Color Value) {
    QPalette palette = FRichEdit->palette();
    palette.setColor(QPalette::Base, ToQColor(Value));
    FRichEdit->setPalette(palette);
}

Color TrptRTFViewer::GetDefFontColor() const {
    return FromQColor(FRichEdit->palette().color(QPalette::Text));
}

void TrptRTFViewer::SetDefFontColor(Color Value) {
    QPalette palette = FRichEdit->palette();
    palette.setColor(QPalette::Text, ToQColor(Value));
    FRichEdit->setPalette(palette);
}

std::string TrptRTFViewer::GetDefFontName() const {
    return FRichEdit->font().family().toStdString();
}

void TrptRTFViewer::SetDefFontName(const std::string& Value) {
    QFont font = FRichEdit->font();
    font.setFamily(ToQ(Value));
    FRichEdit->setFont(font);
    FRichEdit->document()->setDefaultFont(font);
}

int TrptRTFViewer::GetDefFontSize() const {
    return FRichEdit->font().pointSize();
}

void TrptRTFViewer::SetDefFontSize(int Value) {
    if (Value <= 0) return;
    QFont font = FRichEdit->font();
    font.setPointSize(Value);
    FRichEdit->setFont(font);
    FRichEdit->document()->setDefaultFont(font);
}

void TrptRTFViewer::SetPopupMenu(TComponent* Value) {
    FPopupMenu.Set(Value);
    QObject::disconnect(FRichEdit, &QWidget::customContextMenuRequested, nullptr, nullptr);
    auto* menu = qobject_cast<QMenu*>(WidgetOf(Value));
    if (menu == nullptr) {
        FRichEdit->setContextMenuPolicy(Qt::DefaultContextMenu);
        return;
    }
    FRichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    QPointer<QMenu> guarded(menu);
    QObject::connect(FRichEdit, &QWidget::customContextMenuRequested, FRichEdit,
                     [this, guarded](const QPoint& at) {
                         if (guarded) guarded->popup(FRichEdit->viewport()->mapToGlobal(at));
                     });
}

void TrptRTFViewer::SetViewerParent(TComponent* Value) {
    FViewerParent.Set(Value);
    QWidget* host = WidgetOf(Value);
    QWidget* target = host != nullptr ? host : &ClientPanel();
    if (FRichEdit->parentWidget() == target) return;
    FRichEdit->setParent(target);
    if (QLayout* layout = target->layout()) {
        layout->addWidget(FRichEdit);
    } else {
        FRichEdit->setGeometry(target->rect());
    }
    FRichEdit->show();
}

int TrptRTFViewer::GetPosition() const {
    return FRichEdit->textCursor().selectionStart();
}

void TrptRTFViewer::SetPosition(int Value) {
    QTextCursor cursor = FRichEdit->textCursor();
    cursor.setPosition(std::clamp(Value, 0, FRichEdit->document()->characterCount() - 1));
    FRichEdit->setTextCursor(cursor);
}

void TrptRTFViewer::LoadFromFile(const std::string& FileName) {
    const std::string bytes = ReadWholeFile(FileName);
    LoadDocument(bytes);
    FCurrentFile = FileName;
}

void TrptRTFViewer::LoadDocument(const std::string& bytes) {
    LoadRtfIntoDocument(*FRichEdit->document(), bytes);
}

void TrptRTFViewer::Print(int, int) {
    QPrinter& printer = Printer();
    printer.setDocName(QString());
    FRichEdit->document()->print(&printer);
}

void TrptRTFViewer::CopyToClipboard() {
    FRichEdit->copy();
}

void TrptRTFViewer::Clear() {
    FRichEdit->clear();
}

int TrptRTFViewer::FindFrom(const std::string& S, int From, bool MatchCase) {
    QTextDocument::FindFlags flags;
    if (MatchCase) flags |= QTextDocument::FindCaseSensitively;
    const QTextCursor hit = FRichEdit->document()->find(ToQ(S), From, flags);
    if (hit.isNull()) return -1;
    FRichEdit->setTextCursor(hit);
    return hit.selectionStart();
}

bool TrptRTFViewer::Find(const std::string& S, bool MatchCase) {
    FLastFind = S.empty() ? -1 : FindFrom(S, 0, MatchCase);
    return FLastFind >= 0;
}

void TrptRTFViewer::ThePrintClick(QObject*) {
    Print(FFromPage, FToPage);
}

void TrptRTFViewer::TheSendReportClick(QObject*) {
    TQuillon* report = Report();
    if (report == nullptr || report->XStorage() == nullptr) return;
    SendReportFile(*report->XStorage(), report->PrnFile());
}

void TrptRTFViewer::ThePageMove(QObject*) {
    std::string answer = std::to_string(FPageNo);
    if (!InputQuery(std::string(Msg(MainMenuPageNumber, Language())), answer)) return;
    const std::optional<int> page = ReadPageNumber(answer);
    if (!page) return;
    const int last = GetLastPageNumber();
    FPageNo = std::clamp(*page, 1, last);
    PositionToPage(FPageNo);
    SetPageCaption(FPageNo, last);
}

void TrptRTFViewer::ThePageFirst(QObject*) {
    PositionToPage(0);
    FPageNo = 1;
}

void TrptRTFViewer::ThePageLast(QObject*) {
    FPageNo = GetLastPageNumber();
    PositionToPage(FPageNo);
}

void TrptRTFViewer::ThePageNext(QObject*) {
    ++FPageNo;
    if (!PositionToPage(FPageNo)) --FPageNo;
}

void TrptRTFViewer::ThePagePrior(QObject*) {
    if (FPageNo > 1) --FPageNo;
    PositionToPage(FPageNo);
}

void TrptRTFViewer::TheFind(QObject*) {
    QTextCursor cursor = FRichEdit->textCursor();
    cursor.setPosition(0);
    FRichEdit->setTextCursor(cursor);
    if (!InputQuery(std::string(Msg(MainMenuTextToFind, Language())), FFindText)) return;
    if (!Find(FFindText, false)) {
        ShowMessage(std::string(Msg(MainMenuTextNotFound, Language())) + FFindText);
    }
}

void TrptRTFViewer::TheFindNext(QObject*) {
    if (FLastFind >= 0) {
        FLastFind = text::Trim(FFindText).empty() ? -1 : FindFrom(FFindText, FLastFind + 1, false);
        if (FLastFind >= 0) return;
    }
    ShowMessage(std::string(Msg(MainMenuTextNotFound, Language())) + FFindText);
}

void TrptRTFViewer::TheCloseClick(QObject*) {
    CloseWindow();
    Clear();
}

void TrptRTFViewer::TheCopyClick(QObject*) {
    FRichEdit->copy();
}

void TrptRTFViewer::TheSelectAllClick(QObject*) {
    FRichEdit->selectAll();
}

}  // namespace quillon
