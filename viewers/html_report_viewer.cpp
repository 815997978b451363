#include "viewers/html_report_viewer.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>

#include "platform/core/text_encoding.h"
#include "viewers/qt_component.h"

namespace quillon {

namespace {

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

TrptHTMLViewer::TrptHTMLViewer(std::string name, HostServices& host)
    : TCustomWWWRepViewer(std::move(name), host) {
    FViewer = new THTMLViewer(&ClientPanel());
    FillClientPanel(*FViewer);
    FViewer->SetBorderStyle(htSingle);
    FViewer->SetHistoryMaxCount(kHistoryMaxCount);
    FViewer->OnHistoryChange = [this](THTMLViewerModel&) { TheViewerHistoryChange(); };
    FViewer->OnScroll = [this](THTMLViewerModel&) { FollowScroll(); };
    // A failing event handler is shown where the window shows its other messages.
    FViewer->SetHost(&host);
    TReportViewerSignals* signals = &Signals();
    QObject::connect(FViewer, &THTMLViewer::hotSpotClicked, signals,
                     &TReportViewerSignals::hotSpotClicked);
    QObject::connect(FViewer, &THTMLViewer::hotSpotCovered, signals,
                     &TReportViewerSignals::hotSpotCovered);
    QObject::connect(FViewer, &THTMLViewer::formSubmitted, signals,
                     &TReportViewerSignals::formSubmitted);
    QObject::connect(FViewer, &THTMLViewer::historyChanged, signals,
                     &TReportViewerSignals::historyChanged);
    TheViewerHistoryChange();
}

TrptHTMLViewer::~TrptHTMLViewer() {
    // The control lives until the window goes; its events must not reach this object then.
    FViewer->OnHistoryChange = nullptr;
    FViewer->OnScroll = nullptr;
    FViewer->OnHotSpotClick = nullptr;
    FViewer->OnHotSpotCovered = nullptr;
    FViewer->OnFormSubmit = nullptr;
    FViewer->OnPrintHeader = nullptr;
    FViewer->OnPrintFooter = nullptr;
    FViewer->SetOnImageRequest(nullptr);
    FViewer->SetOnBitmapRequest(nullptr);
    // An embedded control belongs to its host widget: take it back so that it goes with
    // the window.
    QObject::disconnect(FHostDestroyed);
    if (FViewer->parentWidget() != &ClientPanel()) FViewer->setParent(&ClientPanel());
    if (ToolPanel().parentWidget() != &Form()) ToolPanel().setParent(&Form());
}

QWidget* TrptHTMLViewer::DocumentWidget() const {
    return FViewer;
}

// --- properties ------------------------------------------------------------------------

std::string TrptHTMLViewer::GetTitle() const {
    const std::string& title = FViewer->Title();
    return text::Trim(title).empty() ? FTitle : title;
}

THTMLBorderStyle TrptHTMLViewer::GetBorderStyle() const {
    return FViewer->BorderStyle();
}

void TrptHTMLViewer::SetBorderStyle(THTMLBorderStyle Value) {
    FViewer->SetBorderStyle(Value);
}

std::uint8_t TrptHTMLViewer::GetCharset() const {
    return static_cast<std::uint8_t>(FViewer->CharSet());
}

void TrptHTMLViewer::SetPopupMenu(TComponent* Value) {
    FPopupMenu.Set(Value);
    QWidget& panel = FViewer->PaintPanel();
    QObject::disconnect(&panel, &QWidget::customContextMenuRequested, nullptr, nullptr);
    auto* menu = qobject_cast<QMenu*>(WidgetOf(Value));
    if (menu == nullptr) {
        panel.setContextMenuPolicy(Qt::DefaultContextMenu);
        return;
    }
    panel.setContextMenuPolicy(Qt::CustomContextMenu);
    QPointer<QMenu> guarded(menu);
    QObject::connect(&panel, &QWidget::customContextMenuRequested, &panel,
                     [&panel, guarded](const QPoint& at) {
                         if (guarded) guarded->popup(panel.mapToGlobal(at));
                     });
}

void TrptHTMLViewer::SetViewerParent(TComponent* Value) {
    FViewerParent.Set(Value);
    QWidget* host = WidgetOf(Value);
    if (host != nullptr) {
        // The host shows the tool panel above the control.
        QLayout* layout = host->layout();
        if (layout == nullptr) {
            auto* column = new QVBoxLayout(host);
            column->setContentsMargins(0, 0, 0, 0);
            column->setSpacing(0);
            layout = column;
        }
        ToolPanel().setParent(host);
        FViewer->setParent(host);
        if (auto* column = qobject_cast<QBoxLayout*>(layout)) {
            column->addWidget(&ToolPanel());
            column->addWidget(FViewer, 1);
        } else {
            layout->addWidget(&ToolPanel());
            layout->addWidget(FViewer);
        }
        if (GetVisibleButtons() != 0) ToolPanel().show();
        FViewer->show();
        // A host destroyed before the viewer would take the control and the tool panel
        // with it: they come back into the window first.
        QObject::disconnect(FHostDestroyed);
        FHostDestroyed = QObject::connect(host, &QObject::destroyed, FViewer, [this] {
            FViewerParent.Set(nullptr);
            TakeBackFromHost();
        });
        return;
    }
    QObject::disconnect(FHostDestroyed);
    TakeBackFromHost();
}

void TrptHTMLViewer::TakeBackFromHost() {
    if (ToolPanel().parentWidget() != &Form()) {
        ToolPanel().setParent(&Form());
        if (auto* column = qobject_cast<QBoxLayout*>(Form().layout())) {
            column->insertWidget(0, &ToolPanel());
        }
        if (GetVisibleButtons() != 0) ToolPanel().show();
    }
    if (FViewer->parentWidget() != &ClientPanel()) {
        FViewer->setParent(&ClientPanel());
        ClientPanel().layout()->addWidget(FViewer);
        FViewer->show();
    }
}

// The interface's position is an int; the control's 64-bit position (section index and
// offset) does not fit, so the interface speaks in pixels from the document's top.
int TrptHTMLViewer::GetPosition() const {
    return FViewer->ScrollPos();
}

void TrptHTMLViewer::SetPosition(int Value) {
    FViewer->ScrollTo(Value);
}

std::vector<TFormControlInfo> TrptHTMLViewer::GetFormControlList() const {
    std::vector<TFormControlInfo> list;
    for (TViewerFormControl& control : FViewer->FormControls()) {
        TFormControlInfo info;
        info.name = std::move(control.Name);
        if (control.IsCheckBox) {
            info.kind = TFormControlInfo::fcCheckBox;
            info.checked = control.Checked;
        }
        list.push_back(std::move(info));
    }
    return list;
}

std::vector<std::string> TrptHTMLViewer::GetNameList() const {
    std::vector<std::string> names;
    names.reserve(FViewer->NameList().size());
    for (const TNameEntry& entry : FViewer->NameList()) names.push_back(entry.Name);
    return names;
}

// --- events ----------------------------------------------------------------------------

void TrptHTMLViewer::SetHotSpot(THotSpotClickEvent Value) {
    FHotSpot = std::move(Value);
    if (!FHotSpot) {
        FViewer->OnHotSpotClick = nullptr;
        return;
    }
    FViewer->OnHotSpotClick = [this](THTMLViewerModel&, const std::string& src, bool& handled) {
        if (FHotSpot) FHotSpot(*this, src, handled);
    };
}

void TrptHTMLViewer::SetHotSpotDescr(THotSpotEvent Value) {
    FHotSpotDescr = std::move(Value);
    if (!FHotSpotDescr) {
        FViewer->OnHotSpotCovered = nullptr;
        return;
    }
    FViewer->OnHotSpotCovered = [this](THTMLViewerModel&, const std::string& src) {
        if (FHotSpotDescr) FHotSpotDescr(*this, src);
    };
}

void TrptHTMLViewer::SetImageRequest(TGetImageEvent Value) {
    FImageRequest = std::move(Value);
    if (!FImageRequest) {
        FViewer->SetOnImageRequest(nullptr);
        return;
    }
    FViewer->SetOnImageRequest([this](TSectionList&, const std::string& name, std::string& bytes) {
        if (FImageRequest) FImageRequest(*this, name, bytes);
    });
}

void TrptHTMLViewer::SetBitmapRequest(TGetBitmapEvent Value) {
    FBitmapRequest = std::move(Value);
    if (!FBitmapRequest) {
        FViewer->SetOnBitmapRequest(nullptr);
        return;
    }
    FViewer->SetOnBitmapRequest([this](TSectionList&, const std::string& name,
                                       std::shared_ptr<const RgbaImage>& bitmap,
                                       std::int64_t& transparent) {
        if (!FBitmapRequest) return;
        std::shared_ptr<RgbaImage> image;
        // A colour above 0xFFFFFF is none: the picture has no transparent colour.
        Color color = 0xFFFFFFFFu;
        FBitmapRequest(*this, name, image, color);
        if (!image) return;
        bitmap = std::move(image);
        if (color <= 0xFFFFFFu) transparent = color;
    });
}

void TrptHTMLViewer::SetPrintHeader(TPagePrinted Value) {
    FPrintHeader = std::move(Value);
    if (!FPrintHeader) {
        FViewer->OnPrintHeader = nullptr;
        return;
    }
    FViewer->OnPrintHeader = [this](THTMLViewer&, Canvas& canvas, int page, int w, int h,
                                    bool& stop) {
        if (FPrintHeader) FPrintHeader(*this, canvas, page, w, h, stop);
    };
}

void TrptHTMLViewer::SetPrintFooter(TPagePrinted Value) {
    FPrintFooter = std::move(Value);
    if (!FPrintFooter) {
        FViewer->OnPrintFooter = nullptr;
        return;
    }
    FViewer->OnPrintFooter = [this](THTMLViewer&, Canvas& canvas, int page, int w, int h,
                                    bool& stop) {
        if (FPrintFooter) FPrintFooter(*this, canvas, page, w, h, stop);
    };
}

void TrptHTMLViewer::SetFormSubmit(TFormSubmitEvent Value) {
    FFormSubmit = std::move(Value);
    if (!FFormSubmit) {
        FViewer->OnFormSubmit = nullptr;
        return;
    }
    FViewer->OnFormSubmit = [this](THTMLViewerModel&, const std::string& action,
                                   const std::string& method,
                                   const std::vector<std::string>& results) {
        if (FFormSubmit) FFormSubmit(*this, action, method, results);
    };
}

// --- document operations -----------------------------------------------------------------

void TrptHTMLViewer::PrintTitle(TComponent&, Canvas& Canvas, int, int W, int, bool&) {
    FontSpec font;
    font.name = "Arial";
    font.size_pt = 8;
    Canvas.SetFont(font);
    Canvas.DrawText(50, 40, text::DecodeText(GetTitle()));
    const QString now = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    const std::u32string stamp = now.toStdU32String();
    Canvas.DrawText(W - 50 - Canvas.TextWidth(stamp), 40, stamp);
}

void TrptHTMLViewer::Show(TQuillon& Report, bool Modal) {
    FPageNo = 1;
    TCustomWWWRepViewer::Show(Report, Modal);
}

void TrptHTMLViewer::LoadFromFile(const std::string& FileName) {
    FViewer->LoadFromFile(FileName);
}

int TrptHTMLViewer::GetLastPageNumber() {
    return 1 + static_cast<int>(FViewer->PageBreakTops().size());
}

bool TrptHTMLViewer::PositionToPage(int Page) {
    if (Page == 0 || Page == 1) {
        SetPosition(0);
        return true;
    }
    if (Page < 0) return false;
    const std::vector<int> tops = FViewer->PageBreakTops();
    const auto index = static_cast<std::size_t>(Page - 2);
    if (index >= tops.size()) return false;
    FViewer->ScrollTo(tops[index]);
    return true;
}

int TrptHTMLViewer::PageAtTop() const {
    const int top = FViewer->ScrollPos();
    const int range = FViewer->GetScrollBarRange();
    const std::vector<int> tops = FViewer->PageBreakTops();
    // Scrolled to the end, the view shows the last page's start even when the page is too
    // short to reach the top of the panel.
    if (range > 0 && top >= range) return 1 + static_cast<int>(tops.size());
    const auto started = std::upper_bound(tops.begin(), tops.end(), top);
    return 1 + static_cast<int>(started - tops.begin());
}

void TrptHTMLViewer::FollowScroll() {
    // A page handler names the page it went to itself: at the end of the document the
    // start of a short page cannot be scrolled to the top.
    if (FPaging) return;
    FPageNo = PageAtTop();
    SetPageCaption(FPageNo, GetLastPageNumber());
}

// --- handlers --------------------------------------------------------------------------

TrptHTMLViewer::PagingScope::PagingScope(TrptHTMLViewer& viewer)
    : viewer_(viewer), was_(viewer.FPaging) {
    viewer_.FPaging = true;
}

TrptHTMLViewer::PagingScope::~PagingScope() {
    viewer_.FPaging = was_;
}

void TrptHTMLViewer::EndPageHandler() {
    SetPageCaption(FPageNo, GetLastPageNumber());
}

void TrptHTMLViewer::ThePageFirst(QObject*) {
    const PagingScope paging(*this);
    PositionToPage(0);
    FPageNo = 1;
    EndPageHandler();
}

void TrptHTMLViewer::ThePageLast(QObject*) {
    const PagingScope paging(*this);
    FPageNo = GetLastPageNumber();
    PositionToPage(FPageNo);
    EndPageHandler();
}

void TrptHTMLViewer::ThePageNext(QObject*) {
    const PagingScope paging(*this);
    ++FPageNo;
    if (!PositionToPage(FPageNo)) --FPageNo;
    EndPageHandler();
}

void TrptHTMLViewer::ThePagePrior(QObject*) {
    const PagingScope paging(*this);
    if (FPageNo > 1) --FPageNo;
    PositionToPage(FPageNo);
    EndPageHandler();
}

void TrptHTMLViewer::ThePageMove(QObject*) {
    std::string answer = std::to_string(FPageNo);
    if (!InputQuery(std::string(Msg(MainMenuPageNumber, Language())), answer)) return;
    const std::optional<int> page = ReadPageNumber(answer);
    if (!page) return;
    const int last = GetLastPageNumber();
    // Below 1 is page 1: a page number of 0 or less would show on the button.
    const PagingScope paging(*this);
    FPageNo = std::clamp(*page, 1, last);
    PositionToPage(FPageNo);
    EndPageHandler();
}

void TrptHTMLViewer::TheFind(QObject*) {
    FViewer->SetCaretPos(0);
    if (!InputQuery(std::string(Msg(MainMenuTextToFind, Language())), FFindText)) return;
    if (!Find(FFindText, false)) {
        ShowMessage(std::string(Msg(MainMenuTextNotFound, Language())) + FFindText);
    }
}

void TrptHTMLViewer::TheFindNext(QObject*) {
    if (!text::Trim(FFindText).empty() && Find(FFindText, false)) return;
    ShowMessage(std::string(Msg(MainMenuTextNotFound, Language())) + FFindText);
}

void TrptHTMLViewer::PrintWithTitle(int FromPage, int ToPage) {
    // A title line only where the application draws nothing of its own; it is removed
    // again after the print, whatever the print met.
    THTMLPagePrinted THTMLViewer::*slot = nullptr;
    if (FTitlePrintStyle == psTop && !FViewer->OnPrintHeader) slot = &THTMLViewer::OnPrintHeader;
    if (FTitlePrintStyle == psBottom && !FViewer->OnPrintFooter) {
        slot = &THTMLViewer::OnPrintFooter;
    }
    if (slot == nullptr) {
        FViewer->Print(FromPage, ToPage);
        return;
    }
    struct Restore {
        THTMLViewer& viewer;
        THTMLPagePrinted THTMLViewer::*slot;
        ~Restore() { viewer.*slot = nullptr; }
    } restore{*FViewer, slot};
    (*FViewer).*slot = [this](THTMLViewer&, Canvas& canvas, int page, int w, int h, bool& stop) {
        PrintTitle(*this, canvas, page, w, h, stop);
    };
    FViewer->Print(FromPage, ToPage);
}

void TrptHTMLViewer::ThePrintClick(QObject*) {
    // Through the report, which sets the printer up and adds the title line itself.
    if (TQuillon* report = Report()) {
        report->Print(FFromPage, FToPage);
        return;
    }
    PrintWithTitle(FFromPage, FToPage);
}

void TrptHTMLViewer::ThePrintTXTClick(QObject*) {
    TQuillon* report = Report();
    if (report == nullptr) return;
    struct Convert {
        TQuillon& report;
        ~Convert() { report.SetPrinterCharConvert(false); }
    } convert{*report};
    report->SetPrinterCharConvert(true);
    // Width 0: the printer section's <WIDTH> applies (else 128).
    report->PrintTXT("", "", "", FFromPage, FToPage, 0);
}

void TrptHTMLViewer::TheSendReportClick(QObject*) {
    TQuillon* report = Report();
    if (report == nullptr || report->XStorage() == nullptr) return;
    SendReportFile(*report->XStorage(), report->PrnFile());
}

std::string TrptHTMLViewer::NoBreakSpacesToTabs(std::string_view utf8) {
    std::u32string chars = text::DecodeText(utf8);
    std::replace(chars.begin(), chars.end(), U'\u00A0', U'\t');
    return text::ToUtf8(chars);
}

void TrptHTMLViewer::TheCopyClick(QObject*) {
    const std::string selection = FViewer->CopyToClipboard();
    if (selection.empty()) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return;
    clipboard->setText(QString::fromStdString(NoBreakSpacesToTabs(selection)));
}

void TrptHTMLViewer::TheSelectAllClick(QObject*) {
    FViewer->SelectAll();
}

void TrptHTMLViewer::TheCloseClick(QObject*) {
    CloseWindow();
    Clear();
}

void TrptHTMLViewer::TheViewerHistoryChange() {
    const bool help_down = Button(vbViewerHelp).isChecked();
    const int index = FViewer->HistoryIndex();
    const int count = static_cast<int>(FViewer->History().size());
    Button(vbViewerForward).setEnabled(!help_down && index > 0);
    Button(vbViewerBack).setEnabled(!help_down && index < count - 1);
}

void TrptHTMLViewer::TheViewerForwardClick(QObject* Sender) {
    if (qobject_cast<QToolButton*>(Sender) == nullptr) return;
    const int index = FViewer->HistoryIndex() - 1;
    if (index >= 0) FViewer->SetHistoryIndex(index);
}

void TrptHTMLViewer::TheViewerBackClick(QObject* Sender) {
    if (qobject_cast<QToolButton*>(Sender) == nullptr) return;
    const int index = FViewer->HistoryIndex() + 1;
    if (index < static_cast<int>(FViewer->History().size())) FViewer->SetHistoryIndex(index);
}

void TrptHTMLViewer::TheViewerHelpClick(QObject* Sender) {
    auto* button = qobject_cast<QToolButton*>(Sender);
    if (button == nullptr) return;
    // The folders of the moment: the current folder may have changed since the last time.
    const std::vector<std::filesystem::path> folders =
        FHelpFolders ? *FHelpFolders : HelpPageFolders();
    const std::optional<std::filesystem::path> help = FindHelpPage(folders);
    if (!help) {
        // There is no help engine to ask: say where the page was looked for.
        button->setChecked(false);
        TheViewerHistoryChange();
        std::string searched;
        for (const std::filesystem::path& folder : folders) searched += "\n" + folder.string();
        ShowMessage(std::string("No help page: ") + kHelpFile +
                    " is in none of these folders:" + searched);
        return;
    }
    if (button->isChecked()) {
        FViewer->LoadFromFile(help->string());
    } else {
        const int count = static_cast<int>(FViewer->History().size());
        if (count > 0) FViewer->SetHistoryIndex(count - 1);
    }
    TheViewerHistoryChange();
}

}  // namespace quillon
