#pragma once
// TrptHTMLViewer: the viewer window for a report written as HTML. One THTMLViewer control
// fills the client panel; the report's page breaks (the page-break sections of the
// document) divide the document into report pages, which the page buttons step through.
// Besides paging it searches, prints with a title line, copies the selection as
// tab-separated text, mails the report and keeps a short history with back, forward and
// help buttons.

#include <QMetaObject>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "html/view/qt/html_viewer.h"
#include "viewers/help_page.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon {

class TrptHTMLViewer : public TCustomWWWRepViewer {
  public:
    // The history of the control keeps this many documents.
    static constexpr int kHistoryMaxCount = 10;
    // The help page, looked for in the folders of HelpPageFolders (help_page.h).
    static constexpr const char* kHelpFile = "ViewHlp.htm";
    // Other folders to look for the help page in, in order (instead of HelpPageFolders()).
    void SetHelpFolders(std::vector<std::filesystem::path> Folders) {
        FHelpFolders = std::move(Folders);
    }

    explicit TrptHTMLViewer(std::string name = {}, HostServices& host = DefaultHost());
    ~TrptHTMLViewer() override;

    // --- document properties (most go straight to the control) ---------------------------
    // The document's title when it has one that is not blank, else the one set here.
    std::string GetTitle() const override;
    void SetTitle(const std::string& Value) override { FTitle = Value; }
    bool GetViewImages() const override { return FViewer->ViewImages(); }
    void SetViewImages(bool Value) override { FViewer->SetViewImages(Value); }
    bool GetPositionBackground() const override { return FViewer->PositionBackground(); }
    void SetPositionBackground(bool Value) override { FViewer->SetPositionBackground(Value); }
    THTMLBorderStyle GetBorderStyle() const override;
    void SetBorderStyle(THTMLBorderStyle Value) override;
    TTitlePrintStyle GetTitlePrintStyle() const override { return FTitlePrintStyle; }
    void SetTitlePrintStyle(TTitlePrintStyle Value) override { FTitlePrintStyle = Value; }
    Color GetDefBackground() const override { return FViewer->DefBackground(); }
    void SetDefBackground(Color Value) override { FViewer->SetDefBackground(Value); }
    // The link style is shared by every viewer of the process.
    TFontStyles GetHotSpotStyle() const override { return SharedHotSpotStyle(); }
    void SetHotSpotStyle(TFontStyles Value) override { SetSharedHotSpotStyle(Value); }
    Color GetDefFontColor() const override { return FViewer->DefFontColor(); }
    void SetDefFontColor(Color Value) override { FViewer->SetDefFontColor(Value); }
    std::string GetDefFontName() const override { return FViewer->DefFontName(); }
    void SetDefFontName(const std::string& Value) override { FViewer->SetDefFontName(Value); }
    int GetDefFontSize() const override { return FViewer->DefFontSize(); }
    void SetDefFontSize(int Value) override { FViewer->SetDefFontSize(Value); }
    Color GetDefHotSpotColor() const override { return FViewer->DefHotSpotColor(); }
    void SetDefHotSpotColor(Color Value) override { FViewer->SetDefHotSpotColor(Value); }
    std::string GetDefPreFontName() const override { return FViewer->DefPreFontName(); }
    void SetDefPreFontName(const std::string& Value) override { FViewer->SetDefPreFontName(Value); }
    int GetImageCacheCount() const override { return FViewer->ImageCacheCount(); }
    void SetImageCacheCount(int Value) override { FViewer->SetImageCacheCount(Value); }
    TComponent* GetPopupMenu() const override { return FPopupMenu.Get(); }
    // A TQtWidgetRef to a QMenu: the control's context menu.
    void SetPopupMenu(TComponent* Value) override;
    double GetPrintMarginLeft() const override { return FViewer->PrintMarginLeft; }
    void SetPrintMarginLeft(double Value) override { FViewer->PrintMarginLeft = Value; }
    double GetPrintMarginRight() const override { return FViewer->PrintMarginRight; }
    void SetPrintMarginRight(double Value) override { FViewer->PrintMarginRight = Value; }
    double GetPrintMarginTop() const override { return FViewer->PrintMarginTop; }
    void SetPrintMarginTop(double Value) override { FViewer->PrintMarginTop = Value; }
    double GetPrintMarginBottom() const override { return FViewer->PrintMarginBottom; }
    void SetPrintMarginBottom(double Value) override { FViewer->PrintMarginBottom = Value; }
    std::uint8_t GetCharset() const override;
    void SetCharset(std::uint8_t Value) override { FViewer->SetCharSet(Value); }
    TComponent* GetViewerParent() const override { return FViewerParent.Get(); }
    // A TQtWidgetRef to a host widget: the control and the tool panel move into it (the
    // host then shows them); nullptr brings both back into the window.
    void SetViewerParent(TComponent* Value) override;
    // The vertical scroll position in pixels from the document's top (the control's own
    // 64-bit position does not fit the interface's int).
    int GetPosition() const override;
    void SetPosition(int Value) override;
    std::vector<std::string> GetHistory() const override { return FViewer->History(); }
    int GetHistoryIndex() const override { return FViewer->HistoryIndex(); }
    void SetHistoryIndex(int Value) override { FViewer->SetHistoryIndex(Value); }
    std::vector<TFormControlInfo> GetFormControlList() const override;
    std::vector<std::string> GetNameList() const override;

    // Events of the control, passed on with this viewer as their sender.
    THotSpotClickEvent GetHotSpot() const override { return FHotSpot; }
    void SetHotSpot(THotSpotClickEvent Value) override;
    THotSpotEvent GetHotSpotDescr() const override { return FHotSpotDescr; }
    void SetHotSpotDescr(THotSpotEvent Value) override;
    TGetImageEvent GetImageRequest() const override { return FImageRequest; }
    void SetImageRequest(TGetImageEvent Value) override;
    TGetBitmapEvent GetBitmapRequest() const override { return FBitmapRequest; }
    void SetBitmapRequest(TGetBitmapEvent Value) override;
    TPagePrinted GetPrintHeader() const override { return FPrintHeader; }
    void SetPrintHeader(TPagePrinted Value) override;
    TPagePrinted GetPrintFooter() const override { return FPrintFooter; }
    void SetPrintFooter(TPagePrinted Value) override;
    TFormSubmitEvent GetFormSubmit() const override { return FFormSubmit; }
    void SetFormSubmit(TFormSubmitEvent Value) override;

    // --- document operations ---------------------------------------------------------------
    // The title line of a printed page: the title on the left, the date and time on the
    // right, in Arial 8 at y 40 with 50 pixels from either edge.
    void PrintTitle(TComponent& Sender, Canvas& Canvas, int NumPage, int W, int H,
                    bool& StopPrinting) override;
    // Shows the report from its first page.
    void Show(TQuillon& Report, bool Modal) override;
    // Throws when the file cannot be read or parsed (the control is then empty).
    void LoadFromFile(const std::string& FileName) override;
    int NumPrinterPages() override { return FViewer->NumPrinterPages(); }
    void Print(int FromPage, int ToPage) override { FViewer->Print(FromPage, ToPage); }
    // The selection as the control copies it (no-break spaces stay).
    void CopyToClipboard() override { FViewer->CopyToClipboard(); }
    void Clear() override { FViewer->Clear(); }
    std::string CurrentFile() const override { return FViewer->CurrentFile(); }
    bool PositionTo(const std::string& Dest) override { return FViewer->PositionTo(Dest); }
    // Scrolls to the start of report page Page: 0 and 1 the top, n the (n-1)th page-break
    // section; false (nothing moves) when there is no such page.
    bool PositionToPage(int Page) override;
    // 1 + the page-break sections of the document.
    int GetLastPageNumber() override;
    bool Find(const std::string& S, bool MatchCase) override { return FViewer->Find(S, MatchCase); }

    // --- handlers ----------------------------------------------------------------------------
    void ThePrintClick(QObject* Sender) override;
    void ThePrintTXTClick(QObject* Sender) override;
    void TheSendReportClick(QObject* Sender) override;
    void ThePageMove(QObject* Sender) override;
    void ThePageFirst(QObject* Sender) override;
    void ThePageLast(QObject* Sender) override;
    void ThePageNext(QObject* Sender) override;
    void ThePagePrior(QObject* Sender) override;
    void TheFind(QObject* Sender) override;
    void TheFindNext(QObject* Sender) override;
    void TheViewerHelpClick(QObject* Sender) override;
    void TheViewerBackClick(QObject* Sender) override;
    void TheViewerForwardClick(QObject* Sender) override;
    void TheCloseClick(QObject* Sender) override;
    // Copies the selection with every no-break space turned into a tab.
    void TheCopyClick(QObject* Sender) override;
    void TheSelectAllClick(QObject* Sender) override;
    // The control's history or its index changed: back and forward follow it.
    void TheViewerHistoryChange();

    THTMLViewer& Viewer() const { return *FViewer; }
    // The page the page box shows: the one a page handler went to, or after any other move
    // (scroll bar, wheel, keys, search, anchor) the page at the top of the panel.
    int PageNo() const { return FPageNo; }
    const std::string& FindText() const { return FFindText; }

    // The selection text as TheCopyClick puts it on the clipboard: each U+00A0 becomes one
    // tab, every other character stays as it is.
    static std::string NoBreakSpacesToTabs(std::string_view utf8);

  protected:
    QWidget* DocumentWidget() const override;

  private:
    // Page handlers run inside one: the page they name stands, whatever the scroll shows.
    class PagingScope {
      public:
        explicit PagingScope(TrptHTMLViewer& viewer);
        ~PagingScope();
        PagingScope(const PagingScope&) = delete;
        PagingScope& operator=(const PagingScope&) = delete;

      private:
        TrptHTMLViewer& viewer_;
        bool was_;
    };
    // The report page at the top of the panel (the last page once scrolled to the end).
    int PageAtTop() const;
    // The view moved: the page box shows the page now at the top.
    void FollowScroll();
    void EndPageHandler();
    // The control into the client panel and the tool panel into the window.
    void TakeBackFromHost();
    void PrintWithTitle(int FromPage, int ToPage);

    THTMLViewer* FViewer = nullptr;
    std::string FTitle;
    TTitlePrintStyle FTitlePrintStyle = psNone;
    int FPageNo = 1;
    bool FPaging = false;
    std::string FFindText;
    ComponentLink<TComponent> FPopupMenu;
    ComponentLink<TComponent> FViewerParent;
    THotSpotClickEvent FHotSpot;
    THotSpotEvent FHotSpotDescr;
    TGetImageEvent FImageRequest;
    TGetBitmapEvent FBitmapRequest;
    TPagePrinted FPrintHeader;
    TPagePrinted FPrintFooter;
    TFormSubmitEvent FFormSubmit;
    QMetaObject::Connection FHostDestroyed;
    std::optional<std::vector<std::filesystem::path>> FHelpFolders;
};

}  // namespace quillon
