// The report's side of its viewer: configuring the connected viewer, loading the run's
// files into it, and passing on show, print, find and clipboard requests. Every call does
// nothing (or answers false, 0 or empty) while no viewer is connected, and no exception
// of the viewer reaches the report's caller: failures are shown as messages.

#include <exception>
#include <string>

#include "engine/quillon.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// Restores a viewer's print header or footer when a print with the title line ends,
// however it ends.
class ScopedPagePrinted {
  public:
    using Getter = TPagePrinted (TCustomRepViewer::*)() const;
    using Setter = void (TCustomRepViewer::*)(TPagePrinted);

    ScopedPagePrinted(TCustomRepViewer& viewer, Getter get, Setter set, TPagePrinted value)
        : viewer_(viewer), set_(set), saved_((viewer.*get)()) {
        (viewer_.*set_)(std::move(value));
    }
    ScopedPagePrinted(const ScopedPagePrinted&) = delete;
    ScopedPagePrinted& operator=(const ScopedPagePrinted&) = delete;
    ~ScopedPagePrinted() { (viewer_.*set_)(std::move(saved_)); }

  private:
    TCustomRepViewer& viewer_;
    Setter set_;
    TPagePrinted saved_;
};

// Puts the printer's orientation back when a print ends.
class SavedOrientation {
  public:
    explicit SavedOrientation(HostServices& host) : host_(host) {
        if (!host_.Printers().empty()) saved_ = host_.PrinterOrientation();
        has_saved_ = !host_.Printers().empty();
    }
    SavedOrientation(const SavedOrientation&) = delete;
    SavedOrientation& operator=(const SavedOrientation&) = delete;
    ~SavedOrientation() {
        if (has_saved_) host_.SetPrinterOrientation(saved_);
    }
    bool HasPrinters() const { return has_saved_; }

  private:
    HostServices& host_;
    bool has_saved_ = false;
    TPrinterOrientation saved_ = TPrinterOrientation::poPortrait;
};

TFontStyles& SharedHotSpotStyleValue() {
    static TFontStyles style = kFontStyleUnderline;
    return style;
}

}  // namespace

TFontStyles TCustomRepViewer::SharedHotSpotStyle() {
    return SharedHotSpotStyleValue();
}

void TCustomRepViewer::SetSharedHotSpotStyle(TFontStyles Value) {
    SharedHotSpotStyleValue() = Value;
}

void TQuillon::SetExtViewerProp(TCustomRepViewer& Viewer) {
    const tRepViewerPar& p = *FViewer;
    Viewer.SetPrintMarginLeft(p.PrintMarginLeft);
    Viewer.SetPrintMarginRight(p.PrintMarginRight);
    Viewer.SetPrintMarginTop(p.PrintMarginTop);
    Viewer.SetPrintMarginBottom(p.PrintMarginBottom);
    TCustomRepViewer::SetSharedHotSpotStyle(p.HotSpotStyle);
    Viewer.SetCharset(p.CharSet);
    Viewer.SetDefFontName(p.DefFontName);
    Viewer.SetDefPreFontName(p.DefPreFontName);
    Viewer.SetTitle(p.Title);
    Viewer.SetTitlePrintStyle(p.TitlePrintStyle);
    Viewer.SetViewImages(p.ViewImages);
    Viewer.SetPositionBackground(p.PositionBackground);
    Viewer.SetDefBackground(p.DefBackground);
    Viewer.SetDefFontColor(p.DefFontColor);
    Viewer.SetDefFontSize(p.DefFontSize);
    Viewer.SetDefHotSpotColor(p.DefHotSpotColor);
    Viewer.SetImageCacheCount(p.ImageCacheCount);
    Viewer.SetDefaultMenuON(p.MenuDefault);
    Viewer.SetMainMenu(p.MainMenu.Get());
    Viewer.SetPopupMenu(p.PopupMenu.Get());
    Viewer.SetVisibleButtons(p.VisibleButtons);
    Viewer.SetViewerWidth(p.WWidth);
    Viewer.SetViewerHeight(p.WHeight);
    Viewer.SetViewerMaximize(p.WMaximize);
    Viewer.FFromPage = p.FromPage;
    Viewer.FToPage = p.ToPage;
    Viewer.SetViewerParent(p.ViewerParent.Get());
    Viewer.SetBitmapRequest(OnVBitmapRequest);
    Viewer.SetFormSubmit(OnVFormSubmit);
    Viewer.SetHotSpot(OnVHotSpotClick);
    Viewer.SetHotSpotDescr(OnVHotSpotCovered);
    Viewer.SetImageRequest(OnVImageRequest);
    Viewer.SetPrintHeader(OnPrintHeader);
    Viewer.SetPrintFooter(OnPrintFooter);
}

bool TQuillon::LoadFromFile(const std::string& FileName) {
    TCustomRepViewer* viewer = ViewerExt();
    if (viewer == nullptr) return false;
    try {
        viewer->Clear();
        SetExtViewerProp(*viewer);
        viewer->LoadFromFile(FileName);
        return true;
    } catch (const std::exception& e) {
        std::string msg(Msg(FILE_READMsg, FProps.Language));
        msg += FileName;
        msg += ": ";
        msg += e.what();
        FHost.MessageDlg(msg, TMsgDlgType::mtError, mbOK);
    }
    return false;
}

bool TQuillon::LoadAndFind(const std::string& FileName, std::string_view FindText, bool MatchCase) {
    if (text::Trim(FileName).empty() || !LoadFromFile(FileName)) return false;
    if (!text::Trim(FindText).empty()) Find(std::string(FindText), MatchCase);
    return true;
}

bool TQuillon::LoadFirst(std::string_view FindText, bool MatchCase) {
    return LoadAndFind(FProps.PrnFile, FindText, MatchCase);
}

bool TQuillon::LoadLast(std::string_view FindText, bool MatchCase) {
    if (ViewerExt() == nullptr) return false;
    return LoadAndFind(SecondHTMFile(FProps.PrnFile, kLevelFileLast), FindText, MatchCase);
}

bool TQuillon::LoadNext(std::string_view FindText, bool MatchCase) {
    TCustomRepViewer* viewer = ViewerExt();
    if (viewer == nullptr) return false;
    return LoadAndFind(SecondHTMFile(viewer->CurrentFile(), kLevelFileNext), FindText, MatchCase);
}

bool TQuillon::LoadPrior(std::string_view FindText, bool MatchCase) {
    TCustomRepViewer* viewer = ViewerExt();
    if (viewer == nullptr) return false;
    return LoadAndFind(SecondHTMFile(viewer->CurrentFile(), kLevelFilePrior), FindText, MatchCase);
}

std::string TQuillon::SecondHTMFile(const std::string& FileName, int Direction) const {
    return quillon::SecondHTMFile(FRunFiles, FileName, Direction);
}

int TQuillon::NumPrinterPages() {
    TCustomRepViewer* viewer = ViewerExt();
    return viewer != nullptr ? viewer->NumPrinterPages() : 0;
}

bool TQuillon::Find(const std::string& Text, bool MatchCase) {
    TCustomRepViewer* viewer = ViewerExt();
    return viewer != nullptr && viewer->Find(Text, MatchCase);
}

void TQuillon::CopyToClipboard() {
    if (TCustomRepViewer* viewer = ViewerExt()) viewer->CopyToClipboard();
}

void TQuillon::Clear() {
    FParams.clear();
    if (TCustomRepViewer* viewer = ViewerExt()) viewer->Clear();
}

void TQuillon::Close() {
    TCustomRepViewer* viewer = ViewerExt();
    if (viewer == nullptr) return;
    viewer->CloseWindow();
    Clear();
}

void TQuillon::ShowViewer(bool Modal) {
    TCustomRepViewer* viewer = ViewerExt();
    if (viewer == nullptr) {
        std::string msg(Msg(VIEWER_Msg, FProps.Language));
        msg += Name();
        FHost.MessageDlg(msg, TMsgDlgType::mtError, mbOK);
        return;
    }
    try {
        viewer->Show(*this, Modal);
    } catch (const std::exception& e) {
        FHost.MessageDlg(e.what(), TMsgDlgType::mtError, mbOK);
    }
}

void TQuillon::Show() {
    ShowViewer(false);
}

void TQuillon::ShowModal() {
    ShowViewer(true);
}

bool TQuillon::SetPageMargins() {
    TCustomRepViewer* viewer = ViewerExt();
    return viewer != nullptr && viewer->SetPageMargins();
}

void TQuillon::PrintWithTitle(TCustomRepViewer& viewer, int FromPage, int ToPage) {
    // The title goes where the report's parameters say when they ask for the top of the
    // page; otherwise the viewer's own style decides. A title line is added only where the
    // application draws nothing of its own.
    TTitlePrintStyle style = FViewer->TitlePrintStyle;
    if (style != psTop) style = viewer.GetTitlePrintStyle();
    TPagePrinted title = [&viewer](TComponent& Sender, Canvas& Canvas, int NumPage, int W, int H,
                                   bool& StopPrinting) {
        viewer.PrintTitle(Sender, Canvas, NumPage, W, H, StopPrinting);
    };
    if (style == psTop && !OnPrintHeader) {
        ScopedPagePrinted header(viewer, &TCustomRepViewer::GetPrintHeader,
                                 &TCustomRepViewer::SetPrintHeader, std::move(title));
        viewer.Print(FromPage, ToPage);
    } else if (style == psBottom && !OnPrintFooter) {
        ScopedPagePrinted footer(viewer, &TCustomRepViewer::GetPrintFooter,
                                 &TCustomRepViewer::SetPrintFooter, std::move(title));
        viewer.Print(FromPage, ToPage);
    } else {
        viewer.Print(FromPage, ToPage);
    }
}

bool TQuillon::Print(int FromPage, int ToPage) {
    TCustomRepViewer* viewer = ViewerExt();
    if (viewer == nullptr) return false;
    SavedOrientation orientation(FHost);
    try {
        if (orientation.HasPrinters()) {
            if (FProps.Options.Contains(prSetupBeforePrint)) {
                if (OnSetupPrinter) {
                    OnSetupPrinter(*this, FromPage, ToPage);
                } else if (!FHost.PrintRangeDialog(FromPage, ToPage)) {
                    return false;
                }
            } else if (FProps.Orientation != orDefault) {
                FHost.SetPrinterOrientation(FProps.Orientation == orLandscape
                                                ? TPrinterOrientation::poLandscape
                                                : TPrinterOrientation::poPortrait);
            }
        }
        PrintWithTitle(*viewer, FromPage, ToPage);
        return true;
    } catch (const std::exception& e) {
        FHost.MessageDlg(e.what(), TMsgDlgType::mtError, mbOK);
    }
    return false;
}

}  // namespace quillon
