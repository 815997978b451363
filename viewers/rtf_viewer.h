#pragma once
// TrptRTFViewer: a report written as rich text, shown in a read-only text control in the
// viewer window. Its pages are the document's page breaks: the page buttons scroll a
// page's start to the top of the panel, and the page box shows the page at the top after
// every move, scrolling included. There is no history, help, hot spots or images (those
// buttons are disabled); search, selection, copying, printing and mailing remain.
// TrptTXTViewer (txt_viewer.h) is the same viewer for plain-text reports.
//
// A long report opens quickly: the document is filled while no layout watches it, and
// the control lays it out a screenful at a time as it is shown and in the background.

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "viewers/wwwrep_viewer.h"

class QTextDocument;
class QTextEdit;

namespace quillon {

class TrptRTFViewer : public TCustomWWWRepViewer {
  public:
    explicit TrptRTFViewer(std::string name = {}, HostServices& host = DefaultHost());
    ~TrptRTFViewer() override;

    // --- document properties ------------------------------------------------------------
    std::string GetTitle() const override { return FTitle; }
    void SetTitle(const std::string& Value) override { FTitle = Value; }
    bool GetViewImages() const override { return true; }
    void SetViewImages(bool) override {}
    bool GetPositionBackground() const override { return true; }
    void SetPositionBackground(bool) override {}
    THTMLBorderStyle GetBorderStyle() const override;
    void SetBorderStyle(THTMLBorderStyle Value) override;
    TTitlePrintStyle GetTitlePrintStyle() const override { return FTitlePrintStyle; }
    void SetTitlePrintStyle(TTitlePrintStyle Value) override { FTitlePrintStyle = Value; }
    Color GetDefBackground() const override;
    void SetDefBackground(Color Value) override;
    Color GetDefFontColor() const override;
    void SetDefFontColor(Color Value) override;
    std::string GetDefFontName() const override;
    void SetDefFontName(const std::string& Value) override;
    int GetDefFontSize() const override;
    void SetDefFontSize(int Value) override;
    Color GetDefHotSpotColor() const override { return 0x0000FF; }
    void SetDefHotSpotColor(Color) override {}
    std::string GetDefPreFontName() const override { return {}; }
    void SetDefPreFontName(const std::string&) override {}
    int GetImageCacheCount() const override { return 0; }
    void SetImageCacheCount(int) override {}
    TComponent* GetPopupMenu() const override { return FPopupMenu.Get(); }
    // A TQtWidgetRef to a QMenu: the control's context menu.
    void SetPopupMenu(TComponent* Value) override;
    double GetPrintMarginLeft() const override { return FMarginLeft; }
    void SetPrintMarginLeft(double Value) override { FMarginLeft = Value; }
    double GetPrintMarginRight() const override { return FMarginRight; }
    void SetPrintMarginRight(double Value) override { FMarginRight = Value; }
    double GetPrintMarginTop() const override { return FMarginTop; }
    void SetPrintMarginTop(double Value) override { FMarginTop = Value; }
    double GetPrintMarginBottom() const override { return FMarginBottom; }
    void SetPrintMarginBottom(double Value) override { FMarginBottom = Value; }
    std::uint8_t GetCharset() const override { return FCharset; }
    void SetCharset(std::uint8_t Value) override { FCharset = Value; }
    TComponent* GetViewerParent() const override { return FViewerParent.Get(); }
    // A TQtWidgetRef to a host widget: the text control moves into it; nullptr brings it
    // back into the window.
    void SetViewerParent(TComponent* Value) override;
    // The selection start.
    int GetPosition() const override;
    void SetPosition(int Value) override;
    std::vector<std::string> GetHistory() const override { return {}; }
    int GetHistoryIndex() const override { return -1; }
    void SetHistoryIndex(int) override {}
    std::vector<TFormControlInfo> GetFormControlList() const override { return {}; }
    std::vector<std::string> GetNameList() const override { return {}; }

    // Links, images, forms and printed-page events do not exist in a text control.
    THotSpotClickEvent GetHotSpot() const override { return {}; }
    void SetHotSpot(THotSpotClickEvent) override {}
    THotSpotEvent GetHotSpotDescr() const override { return {}; }
    void SetHotSpotDescr(THotSpotEvent) override {}
    TGetImageEvent GetImageRequest() const override { return {}; }
    void SetImageRequest(TGetImageEvent) override {}
    TGetBitmapEvent GetBitmapRequest() const override { return {}; }
    void SetBitmapRequest(TGetBitmapEvent) override {}
    TPagePrinted GetPrintHeader() const override { return {}; }
    void SetPrintHeader(TPagePrinted) override {}
    TPagePrinted GetPrintFooter() const override { return {}; }
    void SetPrintFooter(TPagePrinted) override {}
    TFormSubmitEvent GetFormSubmit() const override { return {}; }
    void SetFormSubmit(TFormSubmitEvent) override {}

    // Shows the report from its first page.
    void Show(TQuillon& Report, bool Modal) override;

    // --- document operations ------------------------------------------------------------
    void PrintTitle(TComponent&, Canvas&, int, int, int, bool&) override {}
    // Shows the file from its first page. Throws std::runtime_error when it cannot be read.
    void LoadFromFile(const std::string& FileName) override;
    int NumPrinterPages() override { return 1; }
    // Prints the whole text on Printer() with an empty document name; the range is not
    // used.
    void Print(int FromPage, int ToPage) override;
    void CopyToClipboard() override;
    void Clear() override;
    std::string CurrentFile() const override { return FCurrentFile; }
    bool PositionTo(const std::string&) override { return true; }
    // Scrolls the start of page Page (0 and 1: the document's start) to the top of the
    // panel; false for a page the document does not have.
    bool PositionToPage(int Page) override;
    // The number of pages: one more than the page breaks.
    int GetLastPageNumber() override { return static_cast<int>(FPageStarts.size()); }
    // Searches the whole text from its start and selects the hit.
    bool Find(const std::string& S, bool MatchCase) override;

    // --- handlers -----------------------------------------------------------------------
    void ThePrintClick(QObject* Sender) override;
    void ThePrintTXTClick(QObject*) override {}
    void TheSendReportClick(QObject* Sender) override;
    void ThePageMove(QObject* Sender) override;
    void ThePageFirst(QObject* Sender) override;
    void ThePageLast(QObject* Sender) override;
    void ThePageNext(QObject* Sender) override;
    void ThePagePrior(QObject* Sender) override;
    void TheFind(QObject* Sender) override;
    void TheFindNext(QObject* Sender) override;
    void TheViewerHelpClick(QObject*) override {}
    void TheViewerBackClick(QObject*) override {}
    void TheViewerForwardClick(QObject*) override {}
    void TheCloseClick(QObject* Sender) override;
    void TheCopyClick(QObject* Sender) override;
    void TheSelectAllClick(QObject* Sender) override;

    QTextEdit& RichEdit() const { return *FRichEdit; }
    int PageNo() const { return FPageNo; }
    // The page whose text is at the top of the panel.
    int PageAtTop() const;
    // The last search text, and where its last hit starts (-1 after a miss).
    const std::string& FindText() const { return FFindText; }
    int LastFindPosition() const { return FLastFind; }

  protected:
    QWidget* DocumentWidget() const override;
    void OnFormShow() override;
    // Fills the control from the file's bytes.
    virtual void LoadDocument(const std::string& bytes);
    // Gives the control a document filled elsewhere (with no layout yet, so that the
    // control lays out only what it shows); the previous one is deleted.
    void SetDocument(std::unique_ptr<QTextDocument> Document);
    // Scrolls to the document's start and shows page 1 on the page box.
    void ShowFirstPage();
    // Searches from character From to the end; the hit's start or -1.
    int FindFrom(const std::string& S, int From, bool MatchCase);

    QTextEdit* FRichEdit = nullptr;
    std::string FFindText;
    int FPageNo = 1;
    int FLastFind = 0;

  private:
    // The page at the top of the panel becomes the page shown; the buttons follow.
    void FollowScrolling();
    // Enables the buttons that can do something now.
    void UpdateButtons();

    // Character positions where the pages start; the first is 0.
    std::vector<int> FPageStarts{0};
    double FMarginTop = 0, FMarginRight = 0, FMarginBottom = 0, FMarginLeft = 0;
    std::string FTitle;
    TTitlePrintStyle FTitlePrintStyle = psNone;
    std::string FCurrentFile;
    std::uint8_t FCharset = 1;
    ComponentLink<TComponent> FPopupMenu;
    ComponentLink<TComponent> FViewerParent;
};

}  // namespace quillon
