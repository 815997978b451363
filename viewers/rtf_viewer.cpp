#include "viewers/rtf_viewer.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
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

// Where the pages of a document start: position 0, and each block that begins a page.
std::vector<int> PageStartsOf(const QTextDocument& doc) {
    std::vector<int> starts{0};
    bool break_after = false;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextFormat::PageBreakFlags flags = block.blockFormat().pageBreakPolicy();
        const bool starts_page = break_after || (flags & QTextFormat::PageBreak_AlwaysBefore);
        if (starts_page && block.position() > starts.back()) starts.push_back(block.position());
        break_after = (flags & QTextFormat::PageBreak_AlwaysAfter) != 0;
    }
    return starts;
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
    QObject::connect(FRichEdit->verticalScrollBar(), &QScrollBar::valueChanged, FRichEdit,
                     [this] { FollowScrolling(); });
    UpdateButtons();
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
    FPageStarts = PageStartsOf(*FRichEdit->document());
    ShowFirstPage();
}

void TrptRTFViewer::LoadDocument(const std::string& bytes) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(FRichEdit->document()->defaultFont());
    LoadRtfIntoDocument(*doc, bytes);
    SetDocument(std::move(doc));
}

void TrptRTFViewer::SetDocument(std::unique_ptr<QTextDocument> Document) {
    FPageStarts = PageStartsOf(*Document);
    if (FPageStarts.size() > 1) {
        // Room below the text, so that the last page too can be scrolled to the top of
        // the panel. Set before the control lays the document out; printing sets margins
        // of its own.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int room =
            std::max(screen != nullptr ? screen->geometry().height() : 0, Form().height());
        QTextFrameFormat root = Document->rootFrame()->frameFormat();
        root.setBottomMargin(root.bottomMargin() + room);
        Document->rootFrame()->setFrameFormat(root);
    }
    QTextDocument* previous = FRichEdit->document();
    // The control deletes a document of its own; the ones given here belong to the viewer.
    std::unique_ptr<QTextDocument> ours(previous->parent() == FRichEdit ? previous : nullptr);
    Document->setParent(FRichEdit);
    FRichEdit->setDocument(Document.release());
}

void TrptRTFViewer::ShowFirstPage() {
    FRichEdit->moveCursor(QTextCursor::Start);
    FRichEdit->horizontalScrollBar()->setValue(0);
    FRichEdit->verticalScrollBar()->setValue(0);
    FPageNo = 1;
    SetPageCaption(FPageNo, GetLastPageNumber());
    UpdateButtons();
}

void TrptRTFViewer::Show(TQuillon& Report, bool Modal) {
    ShowFirstPage();
    TCustomWWWRepViewer::Show(Report, Modal);
    UpdateButtons();  // an embedded viewer is not shown here
}

void TrptRTFViewer::OnFormShow() {
    TCustomWWWRepViewer::OnFormShow();
    UpdateButtons();
}

bool TrptRTFViewer::PositionToPage(int Page) {
    if (Page == 0 || Page == 1) {
        FRichEdit->verticalScrollBar()->setValue(0);
        return true;
    }
    if (Page < 0 || Page > GetLastPageNumber()) return false;
    QTextDocument& doc = *FRichEdit->document();
    const QTextBlock block = doc.findBlock(FPageStarts[static_cast<std::size_t>(Page - 1)]);
    // Lays the document out as far as the block, no further.
    const QRectF rect = doc.documentLayout()->blockBoundingRect(block);
    const int top = static_cast<int>(std::floor(rect.top()));
    QScrollBar& bar = *FRichEdit->verticalScrollBar();
    // The control learns the laid-out height only when it next handles its events; the
    // room below the text keeps the page start within the range it will set.
    if (top > bar.maximum()) bar.setMaximum(top);
    bar.setValue(top);
    return true;
}

int TrptRTFViewer::PageAtTop() const {
    const int last = static_cast<int>(FPageStarts.size());
    if (last <= 1) return 1;
    // Walks from the page shown to the one whose start is the last at or above the panel's
    // first row of pixels: the layout is asked only about pages near what the panel shows,
    // and a document laid out no further than that stays so.
    QTextDocument& doc = *FRichEdit->document();
    QAbstractTextDocumentLayout& layout = *doc.documentLayout();
    const auto start_of = [&](int page) {
        const QTextBlock block = doc.findBlock(FPageStarts[static_cast<std::size_t>(page - 1)]);
        return layout.blockBoundingRect(block).top();
    };
    const double top = FRichEdit->verticalScrollBar()->value() + 1;
    int page = std::clamp(FPageNo, 1, last);
    while (page > 1 && start_of(page) > top) --page;
    while (page < last && start_of(page + 1) <= top) ++page;
    return page;
}

void TrptRTFViewer::FollowScrolling() {
    FPageNo = PageAtTop();
    SetPageCaption(FPageNo, GetLastPageNumber());
    UpdateButtons();
}

void TrptRTFViewer::UpdateButtons() {
    const int last = GetLastPageNumber();
    Button(vbFirst).setEnabled(FPageNo > 1);
    Button(vbPrior).setEnabled(FPageNo > 1);
    Button(vbNext).setEnabled(FPageNo < last);
    Button(vbLast).setEnabled(FPageNo < last);
    Button(vbPageNumber).setEnabled(last > 1);
    const TQuillon* report = Report();
    Button(vbStorage).setEnabled(report != nullptr && report->XStorage() != nullptr);
    // No history and no help in a text control.
    Button(vbViewerBack).setEnabled(false);
    Button(vbViewerForward).setEnabled(false);
    Button(vbViewerHelp).setEnabled(false);
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
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(FRichEdit->document()->defaultFont());
    SetDocument(std::move(doc));
    ShowFirstPage();
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

// Every page move ends with the page at the top of the panel on the page box, whether
// the panel could scroll as far as asked or not.
void TrptRTFViewer::ThePageMove(QObject*) {
    std::string answer = std::to_string(FPageNo);
    if (!InputQuery(std::string(Msg(MainMenuPageNumber, Language())), answer)) return;
    const std::optional<int> page = ReadPageNumber(answer);
    if (!page) return;
    PositionToPage(std::clamp(*page, 1, GetLastPageNumber()));
    FollowScrolling();
}

void TrptRTFViewer::ThePageFirst(QObject*) {
    PositionToPage(0);
    FollowScrolling();
}

void TrptRTFViewer::ThePageLast(QObject*) {
    PositionToPage(GetLastPageNumber());
    FollowScrolling();
}

void TrptRTFViewer::ThePageNext(QObject*) {
    PositionToPage(FPageNo + 1);
    FollowScrolling();
}

void TrptRTFViewer::ThePagePrior(QObject*) {
    PositionToPage(std::max(FPageNo - 1, 1));
    FollowScrolling();
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
