#include "viewers/wwwrep_viewer.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

#include "engine/mapi_error.h"
#include "platform/core/text_encoding.h"
#include "platform/qt/qt_host.h"
#include "viewers/margin_math.h"
#include "viewers/margins_dialog.h"
#include "viewers/qt_component.h"
#include "viewers/viewer_icons.h"

namespace quillon {

namespace {

QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QRect ScreenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 800, 600);
}

// The tool panel: keeps the history panel at its right end.
class ToolPanelFrame : public QFrame {
  public:
    explicit ToolPanelFrame(QWidget* parent) : QFrame(parent) {}
    QFrame* history = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QFrame::resizeEvent(event);
        if (history != nullptr) {
            history->setGeometry(width() - TCustomWWWRepViewer::kHistoryPanelWidth, 0,
                                 TCustomWWWRepViewer::kHistoryPanelWidth, height());
        }
    }
};

void PanelLook(QFrame& panel) {
    panel.setAutoFillBackground(true);
    panel.setBackgroundRole(QPalette::Button);
    panel.setFrameShape(QFrame::NoFrame);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    panel.setFont(font);
}

}  // namespace

// The top-level window. Closing it runs the viewer's close handler and hides it; it is
// destroyed only with the viewer.
class ViewerForm : public QWidget {
  public:
    ViewerForm() : QWidget(nullptr, Qt::Window) {}
    std::function<void()> on_close;
    std::function<void()> on_show;
    std::function<void()> on_hide;

  protected:
    void closeEvent(QCloseEvent* event) override {
        try {
            if (on_close) on_close();
        } catch (...) {
            // Closing goes on whatever the handler met.
        }
        event->accept();
    }
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        try {
            if (on_show) on_show();
        } catch (...) {
        }
    }
    void hideEvent(QHideEvent* event) override {
        QWidget::hideEvent(event);
        if (on_hide) on_hide();
    }
};

TCustomWWWRepViewer::TCustomWWWRepViewer(std::string name, HostServices& host)
    : TCustomRepViewer(std::move(name)),
      FHost(host),
      FSignals(std::make_unique<TReportViewerSignals>()),
      FForm(std::make_unique<ViewerForm>()) {
    auto* layout = new QVBoxLayout(FForm.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* tools = new ToolPanelFrame(FForm.get());
    FToolPanel = tools;
    PanelLook(*FToolPanel);
    FToolPanel->setFixedHeight(kToolPanelHeight);
    FHistoryPanel = new QFrame(FToolPanel);
    PanelLook(*FHistoryPanel);
    tools->history = FHistoryPanel;
    layout->addWidget(FToolPanel);
    BuildButtons();

    FMargins = new MarginFrame(FForm.get());
    FMargins->on_resize = [this](MarginPanel& panel) {
        RunGuarded([this, &panel] { MarginsPanelResize(panel); });
    };
    layout->addWidget(FMargins, 1);

    SetViewerMaximize(true);
    SetViewerWidth(550);
    SetViewerHeight(400);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    FForm->setFont(font);
    const QRect screen = ScreenGeometry();
    FForm->move(screen.center() - FForm->rect().center());

    FForm->on_close = [this] { OnWWWClose(); };
    FForm->on_show = [this] { OnFormShow(); };
}

TCustomWWWRepViewer::~TCustomWWWRepViewer() {
    // The form owns every control; its handlers must not reach a half-destroyed viewer.
    FForm->on_close = nullptr;
    FForm->on_show = nullptr;
    FForm->on_hide = nullptr;
}

void TCustomWWWRepViewer::FillClientPanel(QWidget& control) const {
    auto* layout = new QVBoxLayout(&ClientPanel());  // owned by the panel
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&control);
}

QWidget& TCustomWWWRepViewer::Form() const {
    return *FForm;
}

void TCustomWWWRepViewer::BuildButtons() {
    for (int i = 0; i < kViewerBtnCount; ++i) {
        const auto b = static_cast<TViewerBtn>(i);
        auto* button = new QToolButton(FToolPanel);
        button->setAutoRaise(true);
        button->setProperty("Tag", i);
        const int width = b == vbPageNumber ? 2 * kButtonWidth : kButtonWidth;
        button->setGeometry(kButtonWidth * (i + 1), 3, width, kButtonHeight);
        if (b != vbPageNumber) {
            button->setIcon(ViewerButtonIcon(b));
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        } else {
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        button->hide();
        FButtons[static_cast<std::size_t>(i)] = button;
    }
    Button(vbMargins).setCheckable(true);
    Button(vbViewerHelp).setCheckable(true);
    for (TViewerBtn b : {vbViewerBack, vbViewerForward, vbViewerHelp}) {
        Button(b).setParent(FHistoryPanel);
        Button(b).hide();
    }
    ConnectButton(vbPrint, &TCustomWWWRepViewer::PrintClicked);
    ConnectButton(vbPrintSetup, &TCustomWWWRepViewer::ThePrinterSetupClick);
    ConnectButton(vbMargins, &TCustomWWWRepViewer::ThePageMarginsClick);
    ConnectButton(vbFirst, &TCustomWWWRepViewer::ThePageFirst);
    ConnectButton(vbPrior, &TCustomWWWRepViewer::ThePagePrior);
    ConnectButton(vbNext, &TCustomWWWRepViewer::ThePageNext);
    ConnectButton(vbLast, &TCustomWWWRepViewer::ThePageLast);
    ConnectButton(vbPageNumber, &TCustomWWWRepViewer::ThePageMove);
    ConnectButton(vbStorage, &TCustomWWWRepViewer::TheSendReportClick);
    ConnectButton(vbViewerBack, &TCustomWWWRepViewer::TheViewerBackClick);
    ConnectButton(vbViewerForward, &TCustomWWWRepViewer::TheViewerForwardClick);
    ConnectButton(vbViewerHelp, &TCustomWWWRepViewer::TheViewerHelpClick);
}

void TCustomWWWRepViewer::ConnectButton(TViewerBtn b,
                                        void (TCustomWWWRepViewer::*handler)(QObject*)) {
    QToolButton* button = &Button(b);
    QObject::connect(button, &QToolButton::clicked, button, [this, button, handler] {
        RunGuarded([this, button, handler] { (this->*handler)(button); });
    });
}

void TCustomWWWRepViewer::RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const EMapiUserAbort&) {
        // The user cancelled the mail: nothing to say.
    } catch (const EMapiError& e) {
        std::string text = e.what();
        if (!e.Detail().empty()) text += "\n" + e.Detail();
        FHost.MessageDlg(text, TMsgDlgType::mtError, mbOK);
    } catch (const std::exception& e) {
        FHost.MessageDlg(e.what(), TMsgDlgType::mtError, mbOK);
    } catch (...) {
        FHost.MessageDlg(Msg(ABSTRACT_Msg, Language()), TMsgDlgType::mtError, mbOK);
    }
}

TRepLanguage TCustomWWWRepViewer::Language() const {
    const TQuillon* report = FReport.Get();
    return report != nullptr ? report->Language() : laEnglish;
}

bool TCustomWWWRepViewer::GetVisible() const {
    return FForm->isVisible();
}

void TCustomWWWRepViewer::SetVisible(bool Value) {
    if (Value) {
        if (!FForm->isVisible()) FForm->show();
        return;
    }
    CloseWindow();
}

void TCustomWWWRepViewer::InstallMenuBar(QWidget* bar) {
    QLayout* layout = FForm->layout();
    if (QWidget* old = layout->menuBar(); old != nullptr && old != bar) old->hide();
    if (bar != nullptr && bar->parentWidget() != FForm.get()) bar->setParent(FForm.get());
    layout->setMenuBar(bar);
    if (bar != nullptr) bar->show();
}

QMenuBar* TCustomWWWRepViewer::CurrentMenuBar() const {
    return qobject_cast<QMenuBar*>(FForm->layout()->menuBar());
}

void TCustomWWWRepViewer::SetMainMenu(TComponent* Value) {
    FMainMenu.Set(Value);
    QWidget* bar = WidgetOf(Value);
    if (FDefaultMenu.isNull()) {
        InstallMenuBar(bar);
        return;
    }
    // While the default menu is shown (a report loaded into an open window), the
    // application's menu takes its place only when the window closes.
    if (bar != nullptr) {
        if (bar->parentWidget() != FForm.get()) bar->setParent(FForm.get());
        bar->hide();
    }
    FSavedMenu = bar;
}

void TCustomWWWRepViewer::SetViewerCaption(const std::string& Value) {
    FForm->setWindowTitle(ToQ(Value));
}

std::string TCustomWWWRepViewer::GetViewerCaption() const {
    return FForm->windowTitle().toStdString();
}

void TCustomWWWRepViewer::SetViewerWidth(int Value) {
    if (Value < 1) Value = ScreenGeometry().width();
    FForm->resize(Value, FForm->height());
}

int TCustomWWWRepViewer::GetViewerWidth() const {
    return FForm->width();
}

void TCustomWWWRepViewer::SetViewerHeight(int Value) {
    if (Value < 1) {
        const int screen = ScreenGeometry().height();
        Value = screen - static_cast<int>(std::lround(screen * 0.025));
    }
    FForm->resize(FForm->width(), Value);
}

int TCustomWWWRepViewer::GetViewerHeight() const {
    return FForm->height();
}

void TCustomWWWRepViewer::SetViewerMaximize(bool Value) {
    FViewerMaximize = Value;
    if (Value) {
        // A hidden window is maximized when it is shown: asked for now, the platform would
        // still maximize it later even after SetViewerMaximize(false).
        if (FForm->isVisible()) FForm->setWindowState(FForm->windowState() | Qt::WindowMaximized);
        return;
    }
    FForm->setWindowState(FForm->windowState() & ~Qt::WindowMaximized);
    FForm->resize(GetViewerWidth(), GetViewerHeight());
    FForm->move(ScreenGeometry().center() - FForm->rect().center());
}

void TCustomWWWRepViewer::SetVisibleButtons(TViewerBtnSet Value) {
    FVisibleButtons = Value;
    if (Value == 0) {
        FToolPanel->hide();
        return;
    }
    FToolPanel->show();
    auto lay_out = [&](QWidget* panel, int left) {
        for (QToolButton* button : FButtons) {
            if (button->parentWidget() != panel) continue;
            const auto b = static_cast<TViewerBtn>(button->property("Tag").toInt());
            const bool visible = (Value & ViewerBtnBit(b)) != 0;
            button->setVisible(visible);
            button->move(left, button->y());
            if (visible) left += button->width();
        }
    };
    lay_out(FToolPanel, Button(vbPrint).width());
    lay_out(FHistoryPanel, Button(vbViewerBack).width());
}

void TCustomWWWRepViewer::SetPageCaption(int Page, int Last) {
    Button(vbPageNumber).setText(QString::number(Page) + QLatin1Char('/') + QString::number(Last));
    if (Page == FSignalledPage && Last == FSignalledLast) return;
    FSignalledPage = Page;
    FSignalledLast = Last;
    RunGuarded([this, Page, Last] { Q_EMIT FSignals->pageChanged(Page, Last); });
}

void TCustomWWWRepViewer::Show(TQuillon& Report, bool Modal) {
    SetPageCaption(1, GetLastPageNumber());
    PositionToPage(1);
    FReport.Set(&Report);
    for (int i = 0; i < kViewerBtnCount; ++i) {
        const auto b = static_cast<TViewerBtn>(i);
        Button(b).setToolTip(ToQ(ViewerBtnHint(Report.Language(), b)));
    }
    // An embedded viewer is shown by its host control.
    if (GetViewerParent() != nullptr) return;
    SetShowMargins(FShowMargins);
    if (FDefaultMenuON) InstallDefaultMenu();

    if (FViewerMaximize) {
        FForm->setWindowState(FForm->windowState() | Qt::WindowMaximized);
    }
    if (!Modal) {
        FForm->show();
        return;
    }
    FForm->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    FForm->on_hide = [&loop] { loop.quit(); };
    FForm->show();
    if (FForm->isVisible()) loop.exec();
    FForm->on_hide = nullptr;
    FForm->setWindowModality(Qt::NonModal);
}

QAction* TCustomWWWRepViewer::AddMenuItem(QWidget& menu, const MessageTable& caption,
                                          void (TCustomWWWRepViewer::*handler)(QObject*),
                                          const char* shortcut) {
    auto* action = new QAction(ToQ(Msg(caption, Language())), &menu);
    if (shortcut != nullptr) action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    menu.addAction(action);
    QObject::connect(action, &QAction::triggered, action, [this, action, handler] {
        RunGuarded([this, action, handler] { (this->*handler)(action); });
    });
    return action;
}

// The menu shows the item's own key; the platform's keys for the same command work too.
void TCustomWWWRepViewer::AddPlatformKeys(QAction& action, QKeySequence::StandardKey key) {
    QList<QKeySequence> keys = action.shortcuts();
    for (const QKeySequence& k : QKeySequence::keyBindings(key)) {
        if (!keys.contains(k)) keys.append(k);
    }
    action.setShortcuts(keys);
}

std::string TCustomWWWRepViewer::PrinterSetupCaption(std::string_view caption, int FromPage,
                                                     int ToPage) {
    std::string result(text::Trim(caption.substr(0, caption.find('('))));
    if (FromPage != 1 || ToPage != 9999) {
        result += "   (" + std::to_string(FromPage) + "-" + std::to_string(ToPage) + ")";
    }
    return result;
}

void TCustomWWWRepViewer::InstallDefaultMenu() {
    RemoveDefaultMenu();
    FSavedMenu = FForm->layout()->menuBar();
    auto* bar = new QMenuBar(FForm.get());
    QMenu* menu = bar->addMenu(ToQ(Msg(MainMenuCaption, Language())));
    AddMenuItem(*menu, MainMenuPrint, &TCustomWWWRepViewer::PrintClicked, "Ctrl+P");
    if (FPrintTXTAllowed) {
        AddMenuItem(*menu, MainMenuPrintTXT, &TCustomWWWRepViewer::ThePrintTXTClick, nullptr);
    }
    QAction* setup = AddMenuItem(*menu, MainMenuPrinterSetup,
                                 &TCustomWWWRepViewer::ThePrinterSetupClick, nullptr);
    setup->setText(
        ToQ(PrinterSetupCaption(Msg(MainMenuPrinterSetup, Language()), FFromPage, FToPage)));
    QAction* margins = AddMenuItem(*menu, MainMenuShowPageMargins,
                                   &TCustomWWWRepViewer::ThePageMarginsClick, nullptr);
    margins->setCheckable(true);
    margins->setChecked(GetShowMargins());
    AddMenuItem(*menu, MainMenuSetPageMargins, &TCustomWWWRepViewer::ThePageMarginsClick1, nullptr);
    menu->addSeparator();
    AddMenuItem(*menu, MainMenuFindPage, &TCustomWWWRepViewer::ThePageMove, nullptr);
    AddMenuItem(*menu, MainMenuFirstPage, &TCustomWWWRepViewer::ThePageFirst, nullptr);
    AddMenuItem(*menu, MainMenuPriorPage, &TCustomWWWRepViewer::ThePagePrior, nullptr);
    AddMenuItem(*menu, MainMenuNextPage, &TCustomWWWRepViewer::ThePageNext, "Ctrl+N");
    AddMenuItem(*menu, MainMenuLastPage, &TCustomWWWRepViewer::ThePageLast, nullptr);
    AddMenuItem(*menu, MainMenuFindText, &TCustomWWWRepViewer::TheFind, "Ctrl+F");
    QAction* find_next =
        AddMenuItem(*menu, MainMenuFindNext, &TCustomWWWRepViewer::TheFindNext, "F3");
    AddPlatformKeys(*find_next, QKeySequence::FindNext);
    menu->addSeparator();
    AddMenuItem(*menu, MainMenuSelectAll, &TCustomWWWRepViewer::TheSelectAllClick, "Ctrl+A");
    AddMenuItem(*menu, MainMenuCopy, &TCustomWWWRepViewer::TheCopyClick, "Ctrl+C");
    menu->addSeparator();
    QAction* close =
        AddMenuItem(*menu, MainMenuClose, &TCustomWWWRepViewer::TheCloseClick, "Ctrl+W");
    AddPlatformKeys(*close, QKeySequence::Close);
    FDefaultMenu = bar;
    InstallMenuBar(bar);
}

void TCustomWWWRepViewer::RemoveDefaultMenu() {
    if (FDefaultMenu.isNull()) return;
    QMenuBar* bar = FDefaultMenu.data();
    FDefaultMenu = nullptr;
    bar->hide();
    if (FForm->layout()->menuBar() == bar) FForm->layout()->setMenuBar(nullptr);
    // Deleted later: the menu's own item may be what is closing the window.
    bar->deleteLater();
    InstallMenuBar(FSavedMenu.data());
    FSavedMenu = nullptr;
}

void TCustomWWWRepViewer::CloseWindow() {
    FForm->close();
}

void TCustomWWWRepViewer::OnWWWClose() {
    if (FDefaultMenuON) RemoveDefaultMenu();
    if (TQuillon* report = FReport.Get()) {
        tRepViewerPar& p = report->Viewer();
        p.PrintMarginLeft = GetPrintMarginLeft();
        p.PrintMarginRight = GetPrintMarginRight();
        p.PrintMarginTop = GetPrintMarginTop();
        p.PrintMarginBottom = GetPrintMarginBottom();
        p.WWidth = GetViewerWidth();
        p.WHeight = GetViewerHeight();
        p.FromPage = FFromPage;
        p.ToPage = FToPage;
    }
    Clear();
}

void TCustomWWWRepViewer::SetShowMargins(bool Value) {
    FShowMargins = Value;
    MarginFrame& m = *FMargins;
    constexpr MarginSide kSides[] = {MarginSide::kTop, MarginSide::kRight, MarginSide::kBottom,
                                     MarginSide::kLeft};
    for (MarginSide side : kSides) m.Panel(side).tag = kTagNone;
    if (!Value) {
        for (MarginSide side : kSides) {
            m.Splitter(side).hide();
            m.Panel(side).hide();
        }
        m.Relayout();
        return;
    }
    for (MarginSide side : kSides) {
        m.Panel(side).show();
        m.Splitter(side).show();
    }
    m.SetPanelSize(MarginSide::kTop, MarginPixels(GetPrintMarginTop()));
    m.SetPanelSize(MarginSide::kRight, MarginPixels(GetPrintMarginRight()));
    m.SetPanelSize(MarginSide::kBottom, MarginPixels(GetPrintMarginBottom()));
    m.SetPanelSize(MarginSide::kLeft, MarginPixels(GetPrintMarginLeft()));
    m.Relayout();
    m.Panel(MarginSide::kTop).tag = kTagTop;
    m.Panel(MarginSide::kBottom).tag = kTagBottom;
    m.Panel(MarginSide::kLeft).tag = kTagLeft;
    m.Panel(MarginSide::kRight).tag = kTagRight;
    for (MarginSide side : kSides) MarginsPanelResize(m.Panel(side));
}

void TCustomWWWRepViewer::MarginsPanelResize(MarginPanel& Sender) {
    const int size = FMargins->PanelSize(Sender.Side());
    double shown = 0;
    switch (Sender.tag) {
        case kTagTop:
            SetPrintMarginTop(MarginFromPixels(size));
            shown = GetPrintMarginTop();
            break;
        case kTagRight:
            SetPrintMarginRight(MarginFromPixels(size));
            shown = GetPrintMarginRight();
            break;
        case kTagBottom:
            SetPrintMarginBottom(MarginFromPixels(size));
            shown = GetPrintMarginBottom();
            break;
        case kTagLeft:
            SetPrintMarginLeft(MarginFromPixels(size));
            shown = GetPrintMarginLeft();
            break;
        default:
            return;
    }
    Sender.setText(ToQ(MarginText(shown) + " cm"));
}

bool TCustomWWWRepViewer::SetPageMargins() {
    MarginsDialog dialog(
        Language(),
        {GetPrintMarginTop(), GetPrintMarginBottom(), GetPrintMarginLeft(), GetPrintMarginRight()},
        FHost, FForm.get());
    if (dialog.exec() != QDialog::Accepted) return false;
    const MarginValues& v = dialog.Values();
    // Negative margins are ignored.
    if (v.top >= 0) SetPrintMarginTop(v.top);
    if (v.bottom >= 0) SetPrintMarginBottom(v.bottom);
    if (v.left >= 0) SetPrintMarginLeft(v.left);
    if (v.right >= 0) SetPrintMarginRight(v.right);
    if (GetShowMargins()) {
        SetShowMargins(false);
        SetShowMargins(true);
    }
    return true;
}

void TCustomWWWRepViewer::ThePrinterSetupClick(QObject* Sender) {
    TQuillon* report = FReport.Get();
    if (report != nullptr && report->OnSetupPrinter) {
        int from = FFromPage;
        int to = FToPage;
        report->OnSetupPrinter(*report, from, to);
        if (from > 0) FFromPage = from;
        if (to > 0) FToPage = to;
        return;
    }
    int from = FFromPage;
    int to = FToPage;
    // Without printers the dialog offers the PDF file a print would write.
    if (FHost.Printers().empty()) SelectPdfOutput(Printer(), DefaultPdfFile(CurrentFile()));
    if (!FHost.PrintRangeDialog(from, to)) return;
    FFromPage = from;
    FToPage = to;
    if (auto* action = qobject_cast<QAction*>(Sender)) {
        action->setText(ToQ(PrinterSetupCaption(action->text().toStdString(), FFromPage, FToPage)));
    }
}

void TCustomWWWRepViewer::ThePageMarginsClick(QObject* Sender) {
    if (auto* action = qobject_cast<QAction*>(Sender)) {
        // A checkable action has already changed its mark when it reports the click.
        SetShowMargins(action->isChecked());
        return;
    }
    SetShowMargins(Button(vbMargins).isChecked());
}

void TCustomWWWRepViewer::ThePageMarginsClick1(QObject*) {
    SetPageMargins();
}

bool TCustomWWWRepViewer::InputQuery(const std::string& Prompt, std::string& Value) {
    bool ok = false;
    const QString answer = QInputDialog::getText(FForm.get(), QString(), ToQ(Prompt),
                                                 QLineEdit::Normal, ToQ(Value), &ok);
    if (ok) Value = answer.toStdString();
    return ok;
}

void TCustomWWWRepViewer::ShowMessage(const std::string& Text) {
    FHost.MessageDlg(Text, TMsgDlgType::mtInformation, mbOK);
}

QPrinter& TCustomWWWRepViewer::Printer() {
    if (FPrinter != nullptr) return *FPrinter;
    if (auto* qt_host = dynamic_cast<QtHost*>(&FHost)) return qt_host->Printer();
    if (!FOwnPrinter) FOwnPrinter = std::make_unique<QPrinter>();
    return *FOwnPrinter;
}

void TCustomWWWRepViewer::OnFormShow() {
    DocumentWidget()->setVisible(true);
    DocumentWidget()->update();
    // The paging and arrow keys act on the document from the start.
    DocumentWidget()->setFocus(Qt::OtherFocusReason);
}

bool TCustomWWWRepViewer::GetViewerVisible() const {
    return !DocumentWidget()->isHidden();
}

void TCustomWWWRepViewer::SetViewerVisible(bool Value) {
    DocumentWidget()->setVisible(Value);
}

}  // namespace quillon
