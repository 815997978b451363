#pragma once
// TCustomRepViewer: the viewer a report is connected to (TQuillon::ViewerExt). The report
// talks to a viewer only through these virtual operations; the concrete viewers (the
// windows of viewers/) implement them. A property is a getter/setter pair; menus and the
// parent control are other components, referred to by pointer and never owned.

#include <string>
#include <vector>

#include "engine/rep_viewer_par.h"
#include "engine/viewer_events.h"
#include "platform/core/component.h"
#include "platform/core/rgba_image.h"

namespace quillon {

class Canvas;
class TQuillon;

// One form control of the shown document, as far as the report looks at it.
struct TFormControlInfo {
    enum Kind { fcOther, fcCheckBox };
    Kind kind = fcOther;
    std::string name;
    bool checked = false;  // check boxes: the box is ticked
};

class TCustomRepViewer : public TComponent {
  public:
    explicit TCustomRepViewer(std::string name = {}) : TComponent(std::move(name)) {}

    // --- the window and the document control ----------------------------------------------
    // The viewer window is shown.
    virtual bool GetVisible() const = 0;
    virtual void SetVisible(bool Value) = 0;
    // The document control itself is visible.
    virtual bool GetViewerVisible() const = 0;
    virtual void SetViewerVisible(bool Value) = 0;
    // The report title, drawn on printed pages by PrintTitle.
    virtual std::string GetTitle() const = 0;
    virtual void SetTitle(const std::string& Value) = 0;
    virtual bool GetViewImages() const = 0;
    virtual void SetViewImages(bool Value) = 0;
    // The background image stays fixed to the window instead of scrolling.
    virtual bool GetPositionBackground() const = 0;
    virtual void SetPositionBackground(bool Value) = 0;
    virtual THTMLBorderStyle GetBorderStyle() const = 0;
    virtual void SetBorderStyle(THTMLBorderStyle Value) = 0;
    // Where the title line goes on printed pages.
    virtual TTitlePrintStyle GetTitlePrintStyle() const = 0;
    virtual void SetTitlePrintStyle(TTitlePrintStyle Value) = 0;
    virtual Color GetDefBackground() const = 0;
    virtual void SetDefBackground(Color Value) = 0;
    // The style of links.
    virtual TFontStyles GetHotSpotStyle() const = 0;
    virtual void SetHotSpotStyle(TFontStyles Value) = 0;
    virtual Color GetDefFontColor() const = 0;
    virtual void SetDefFontColor(Color Value) = 0;
    virtual std::string GetDefFontName() const = 0;
    virtual void SetDefFontName(const std::string& Value) = 0;
    // Points.
    virtual int GetDefFontSize() const = 0;
    virtual void SetDefFontSize(int Value) = 0;
    virtual Color GetDefHotSpotColor() const = 0;
    virtual void SetDefHotSpotColor(Color Value) = 0;
    // The fixed-pitch font.
    virtual std::string GetDefPreFontName() const = 0;
    virtual void SetDefPreFontName(const std::string& Value) = 0;
    // Images kept in the document control's cache.
    virtual int GetImageCacheCount() const = 0;
    virtual void SetImageCacheCount(int Value) = 0;
    // The context menu of the document control and the window's own menu.
    virtual TComponent* GetPopupMenu() const = 0;
    virtual void SetPopupMenu(TComponent* Value) = 0;
    virtual TComponent* GetMainMenu() const = 0;
    virtual void SetMainMenu(TComponent* Value) = 0;
    virtual void SetViewerCaption(const std::string& Value) = 0;
    virtual std::string GetViewerCaption() const = 0;
    // The window's size in pixels; a value below 1 means the screen's.
    virtual void SetViewerWidth(int Value) = 0;
    virtual int GetViewerWidth() const = 0;
    virtual void SetViewerHeight(int Value) = 0;
    virtual int GetViewerHeight() const = 0;
    // Print margins in centimetres.
    virtual double GetPrintMarginLeft() const = 0;
    virtual void SetPrintMarginLeft(double Value) = 0;
    virtual double GetPrintMarginRight() const = 0;
    virtual void SetPrintMarginRight(double Value) = 0;
    virtual double GetPrintMarginTop() const = 0;
    virtual void SetPrintMarginTop(double Value) = 0;
    virtual double GetPrintMarginBottom() const = 0;
    virtual void SetPrintMarginBottom(double Value) = 0;
    // The margin panels of the window are shown.
    virtual bool GetShowMargins() const = 0;
    virtual void SetShowMargins(bool Value) = 0;
    virtual bool GetViewerMaximize() const = 0;
    virtual void SetViewerMaximize(bool Value) = 0;
    // Show installs the default "Report" menu.
    virtual bool GetDefaultMenuON() const = 0;
    virtual void SetDefaultMenuON(bool Value) = 0;
    virtual TViewerBtnSet GetVisibleButtons() const = 0;
    virtual void SetVisibleButtons(TViewerBtnSet Value) = 0;
    // The character set of the document fonts.
    virtual std::uint8_t GetCharset() const = 0;
    virtual void SetCharset(std::uint8_t Value) = 0;
    // The host control of an embedded viewer (nullptr: the viewer's own window).
    virtual TComponent* GetViewerParent() const = 0;
    virtual void SetViewerParent(TComponent* Value) = 0;
    // Scroll position of the document.
    virtual int GetPosition() const = 0;
    virtual void SetPosition(int Value) = 0;
    // Visited documents, newest first, and the index of the one shown.
    virtual std::vector<std::string> GetHistory() const = 0;
    virtual int GetHistoryIndex() const = 0;
    virtual void SetHistoryIndex(int Value) = 0;
    // The form controls of the shown document, in document order.
    virtual std::vector<TFormControlInfo> GetFormControlList() const = 0;
    // The anchor names of the shown document.
    virtual std::vector<std::string> GetNameList() const = 0;

    // --- events passed through to the document control ------------------------------------
    virtual THotSpotClickEvent GetHotSpot() const = 0;
    virtual void SetHotSpot(THotSpotClickEvent Value) = 0;
    virtual THotSpotEvent GetHotSpotDescr() const = 0;
    virtual void SetHotSpotDescr(THotSpotEvent Value) = 0;
    virtual TGetImageEvent GetImageRequest() const = 0;
    virtual void SetImageRequest(TGetImageEvent Value) = 0;
    virtual TGetBitmapEvent GetBitmapRequest() const = 0;
    virtual void SetBitmapRequest(TGetBitmapEvent Value) = 0;
    virtual TPagePrinted GetPrintHeader() const = 0;
    virtual void SetPrintHeader(TPagePrinted Value) = 0;
    virtual TPagePrinted GetPrintFooter() const = 0;
    virtual void SetPrintFooter(TPagePrinted Value) = 0;
    virtual TFormSubmitEvent GetFormSubmit() const = 0;
    virtual void SetFormSubmit(TFormSubmitEvent Value) = 0;

    // --- operations ------------------------------------------------------------------------
    // A print-header or print-footer handler that draws the title line.
    virtual void PrintTitle(TComponent& Sender, Canvas& Canvas, int NumPage, int W, int H,
                            bool& StopPrinting) = 0;
    // Shows the loaded report, modally or not (TQuillon::Show and ShowModal).
    virtual void Show(TQuillon& Report, bool Modal) = 0;
    // Loads one report file into the document control. May throw when the file cannot
    // be read; TQuillon::LoadFromFile reports that as a message.
    virtual void LoadFromFile(const std::string& FileName) = 0;
    virtual int NumPrinterPages() = 0;
    // Prints report pages FromPage..ToPage (9999: to the end).
    virtual void Print(int FromPage, int ToPage) = 0;
    // Copies the selection to the clipboard.
    virtual void CopyToClipboard() = 0;
    // Empties the document control.
    virtual void Clear() = 0;
    virtual void CloseWindow() = 0;
    // The margins dialog; true when it was confirmed.
    virtual bool SetPageMargins() = 0;
    // The file last loaded.
    virtual std::string CurrentFile() const = 0;
    // Scrolls to an anchor.
    virtual bool PositionTo(const std::string& Dest) = 0;
    // Scrolls to the start of report page Page (from 1); false when there is no such page.
    virtual bool PositionToPage(int Page) = 0;
    virtual int GetLastPageNumber() = 0;
    // Finds S from the caret onward and selects it; true when found.
    virtual bool Find(const std::string& S, bool MatchCase) = 0;

    // The link style of every viewer (documents parsed after a change use it); the report
    // writes its HotSpotStyle here rather than into one viewer.
    static TFontStyles SharedHotSpotStyle();
    static void SetSharedHotSpotStyle(TFontStyles Value);

    // The menu offers printing as plain text.
    bool FPrintTXTAllowed = true;
    // Page range to print: FToPage 9999 stands for the end of the report.
    int FFromPage = 1;
    int FToPage = 9999;
};

}  // namespace quillon
