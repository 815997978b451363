#pragma once
// TCustomWWWRepViewer: the viewer window that the report viewers derive from. A resizable
// top-level window with a row of tool buttons (the history and help buttons in a panel at
// its right end), a default "Report" menu built in the report's language, four page-margin
// panels with splitters that show and edit the print margins in centimetres, a margins
// dialog and a printer set-up step.
//
// A concrete viewer creates its document control with ClientPanel() as parent (see
// DocumentWidget), implements the document operations of TCustomRepViewer and the sixteen
// handlers below. The window calls the handlers from its buttons and menu items; whatever
// a handler throws is shown as a message (a cancelled mail silently), never passed on to
// Qt's event loop.
// The README's glossary of inherited names explains this and its neighbours.

#include <QKeySequence>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "engine/custom_rep_viewer.h"
#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "viewers/margin_frame.h"
#include "viewers/print_destination.h"
#include "viewers/report_viewer_signals.h"
#include "viewers/viewer_texts.h"

class QAction;
class QFrame;
class QMenuBar;
class QObject;
class QPrinter;
class QToolButton;
class QWidget;

namespace quillon {

class ViewerForm;

class TCustomWWWRepViewer : public TCustomRepViewer {
  public:
    // The document control is visible.
    bool GetViewerVisible() const override;
    void SetViewerVisible(bool Value) override;
    // Speed buttons of the framework's default size.
    static constexpr int kButtonWidth = 23;
    static constexpr int kButtonHeight = 22;
    static constexpr int kToolPanelHeight = 30;
    static constexpr int kHistoryPanelWidth = 100;

    // Messages and questions of the window go to host (the process's default host unless
    // one is given); the host must outlive the viewer.
    explicit TCustomWWWRepViewer(std::string name = {}, HostServices& host = DefaultHost());
    ~TCustomWWWRepViewer() override;

    // --- window operations ----------------------------------------------------------------
    bool GetVisible() const override;
    // false closes the window (writing its parameters back to the report); true shows it.
    void SetVisible(bool Value) override;
    TFontStyles GetHotSpotStyle() const override { return 0; }
    void SetHotSpotStyle(TFontStyles) override {}
    TComponent* GetMainMenu() const override { return FMainMenu.Get(); }
    // Installs the application's menu bar (a TQtWidgetRef to a QMenuBar) as the window's.
    void SetMainMenu(TComponent* Value) override;
    void SetViewerCaption(const std::string& Value) override;
    std::string GetViewerCaption() const override;
    void SetViewerWidth(int Value) override;
    int GetViewerWidth() const override;
    void SetViewerHeight(int Value) override;
    int GetViewerHeight() const override;
    bool GetShowMargins() const override { return FShowMargins; }
    void SetShowMargins(bool Value) override;
    bool GetViewerMaximize() const override { return FViewerMaximize; }
    void SetViewerMaximize(bool Value) override;
    bool GetDefaultMenuON() const override { return FDefaultMenuON; }
    void SetDefaultMenuON(bool Value) override { FDefaultMenuON = Value; }
    // The set last given to SetVisibleButtons.
    TViewerBtnSet GetVisibleButtons() const override { return FVisibleButtons; }
    void SetVisibleButtons(TViewerBtnSet Value) override;
    void Show(TQuillon& Report, bool Modal) override;
    void CloseWindow() override;
    bool SetPageMargins() override;

    // --- the sixteen handlers of a concrete viewer ------------------------------------------
    // Sender is the tool button or menu action that was used (nullptr when called directly).
    virtual void ThePrintClick(QObject* Sender) = 0;
    virtual void ThePrintTXTClick(QObject* Sender) = 0;
    virtual void TheSendReportClick(QObject* Sender) = 0;
    virtual void ThePageMove(QObject* Sender) = 0;
    virtual void ThePageFirst(QObject* Sender) = 0;
    virtual void ThePageLast(QObject* Sender) = 0;
    virtual void ThePageNext(QObject* Sender) = 0;
    virtual void ThePagePrior(QObject* Sender) = 0;
    virtual void TheFind(QObject* Sender) = 0;
    virtual void TheFindNext(QObject* Sender) = 0;
    virtual void TheViewerHelpClick(QObject* Sender) = 0;
    virtual void TheViewerBackClick(QObject* Sender) = 0;
    virtual void TheViewerForwardClick(QObject* Sender) = 0;
    virtual void TheCloseClick(QObject* Sender) = 0;
    virtual void TheCopyClick(QObject* Sender) = 0;
    virtual void TheSelectAllClick(QObject* Sender) = 0;

    // --- the window's own handlers ------------------------------------------------------------
    // Print from the tool button and the menu. On a machine without printers the print
    // dialog comes first, with PDF output chosen (see print_destination.h); ThePrintClick
    // then prints into the file confirmed there, and a message says where the report went.
    // Cancelling the dialog prints nothing. With printers, with a printer given through
    // SetPrinter, or with the viewer control already pointed at a PDF file, ThePrintClick
    // runs at once.
    void PrintClicked(QObject* Sender);
    // Printer set-up: the report's OnSetupPrinter, else the print dialog with a page range.
    void ThePrinterSetupClick(QObject* Sender);
    // Margin panels on or off (from the tool button or the menu item's check mark).
    void ThePageMarginsClick(QObject* Sender);
    // The margins dialog.
    void ThePageMarginsClick1(QObject* Sender);
    // A margin panel changed its size: the margin follows, and the panel shows it.
    void MarginsPanelResize(MarginPanel& Sender);
    // The window closes: the default menu goes, the margins, the window size and the page
    // range go back to the report, the document is cleared and the window hidden.
    void OnWWWClose();

    // --- parts of the window, for concrete viewers and tests --------------------------------
    QWidget& Form() const;
    QWidget& ClientPanel() const { return FMargins->ClientPanel(); }
    // Puts a document control made on ClientPanel() into it, filling it edge to edge.
    void FillClientPanel(QWidget& control) const;
    QFrame& ToolPanel() const { return *FToolPanel; }
    QFrame& HistoryPanel() const { return *FHistoryPanel; }
    MarginFrame& Margins() const { return *FMargins; }
    QToolButton& Button(TViewerBtn b) const { return *FButtons[static_cast<std::size_t>(b)]; }
    // The menu bar the window shows now (the default menu while it is installed).
    QMenuBar* CurrentMenuBar() const;
    // The report being shown (set by Show), or nullptr.
    TQuillon* Report() const { return FReport.Get(); }
    HostServices& Host() const { return FHost; }
    // The printer that Print uses: the one given here (not owned), else the Qt host's
    // current printer, else one of the viewer's own.
    void SetPrinter(QPrinter* printer) { FPrinter = printer; }
    QPrinter& Printer();
    // The print dialog step of PrintClicked (by default the Qt print dialog on this window).
    void SetPrintDialog(PrintDialogStep step) { FPrintDialog = std::move(step); }
    // The window's Qt signals: page changes for every viewer; links, forms and history for
    // viewers whose documents have them.
    TReportViewerSignals& Signals() const { return *FSignals; }

    // The caption of the printer set-up menu item for a page range ("Printer Setup   (2-5)").
    static std::string PrinterSetupCaption(std::string_view caption, int FromPage, int ToPage);

  protected:
    // The document control in the client panel (for embedding and the show handler).
    virtual QWidget* DocumentWidget() const = 0;
    // The language of the attached report (English without one).
    TRepLanguage Language() const;
    // Writes "page/last" on the page button; a new pair is sent as pageChanged.
    void SetPageCaption(int Page, int Last);
    // Asks for a text with prompt (an input box with an empty caption); false on Cancel.
    virtual bool InputQuery(const std::string& Prompt, std::string& Value);
    // Shows an informative message through the host.
    void ShowMessage(const std::string& Text);
    // Runs a handler: what it throws becomes a message (EMapiUserAbort none).
    void RunGuarded(const std::function<void()>& handler);
    // Called when the window is shown (after it became visible): shows the document control.
    virtual void OnFormShow();

    bool FShowMargins = false;
    bool FViewerMaximize = true;
    bool FDefaultMenuON = true;

  private:
    void BuildButtons();
    void ConnectButton(TViewerBtn b, void (TCustomWWWRepViewer::*handler)(QObject*));
    void InstallDefaultMenu();
    void RemoveDefaultMenu();
    void InstallMenuBar(QWidget* bar);
    QAction* AddMenuItem(QWidget& menu, const MessageTable& caption,
                         void (TCustomWWWRepViewer::*handler)(QObject*), const char* shortcut);
    static void AddPlatformKeys(QAction& action, QKeySequence::StandardKey key);

    HostServices& FHost;
    std::unique_ptr<TReportViewerSignals> FSignals;
    std::unique_ptr<ViewerForm> FForm;
    QFrame* FToolPanel = nullptr;
    QFrame* FHistoryPanel = nullptr;
    MarginFrame* FMargins = nullptr;
    std::array<QToolButton*, kViewerBtnCount> FButtons{};
    TViewerBtnSet FVisibleButtons = 0;
    ComponentLink<TQuillon> FReport;
    ComponentLink<TComponent> FMainMenu;
    // The menu bar shown before the default menu replaced it, and the default menu.
    QPointer<QWidget> FSavedMenu;
    QPointer<QMenuBar> FDefaultMenu;
    QPrinter* FPrinter = nullptr;
    std::unique_ptr<QPrinter> FOwnPrinter;
    PrintDialogStep FPrintDialog;
    // The page pair last sent as pageChanged.
    int FSignalledPage = 0;
    int FSignalledLast = 0;
};

}  // namespace quillon
