#pragma once
// tRepViewerPar: the viewer parameters a report owns (its Viewer property) and copies into
// the connected viewer before it loads a report. Menus and the parent control are other
// components, referred to by links that empty themselves when those are destroyed.

#include <cstdint>
#include <string>

#include "platform/core/component.h"
#include "platform/core/html_border_style.h"
#include "platform/core/rgba_image.h"

namespace quillon {

enum TTitlePrintStyle : std::uint8_t { psBottom, psNone, psTop };

enum TViewerBtn : std::uint8_t {
    vbPrint,
    vbPrintSetup,
    vbMargins,
    vbFirst,
    vbPrior,
    vbNext,
    vbLast,
    vbPageNumber,
    vbStorage,
    vbViewerBack,
    vbViewerForward,
    vbViewerHelp,
};
using TViewerBtnSet = std::uint16_t;  // bit n: TViewerBtn n
constexpr TViewerBtnSet ViewerBtnBit(TViewerBtn b) {
    return static_cast<TViewerBtnSet>(1u << static_cast<unsigned>(b));
}

// Font styles of links: bit 0 bold, 1 italic, 2 underline, 3 strike-out.
using TFontStyles = std::uint8_t;
inline constexpr TFontStyles kFontStyleUnderline = 1u << 2;

class tRepViewerPar {
  public:
    tRepViewerPar() = default;
    tRepViewerPar(const tRepViewerPar& other) { Assign(other); }
    tRepViewerPar& operator=(const tRepViewerPar& other) {
        Assign(other);
        return *this;
    }

    // Copies every value of other, the component references included.
    void Assign(const tRepViewerPar& other) {
        if (this == &other) return;
        Title = other.Title;
        TitlePrintStyle = other.TitlePrintStyle;
        ViewImages = other.ViewImages;
        PositionBackground = other.PositionBackground;
        BorderStyle = other.BorderStyle;
        HotSpotStyle = other.HotSpotStyle;
        DefBackground = other.DefBackground;
        DefFontColor = other.DefFontColor;
        DefFontName = other.DefFontName;
        DefFontSize = other.DefFontSize;
        DefHotSpotColor = other.DefHotSpotColor;
        DefPreFontName = other.DefPreFontName;
        ImageCacheCount = other.ImageCacheCount;
        PopupMenu.Set(other.PopupMenu.Get());
        MainMenu.Set(other.MainMenu.Get());
        MenuDefault = other.MenuDefault;
        WCaption = other.WCaption;
        WMaximize = other.WMaximize;
        WWidth = other.WWidth;
        WHeight = other.WHeight;
        PrintMarginLeft = other.PrintMarginLeft;
        PrintMarginRight = other.PrintMarginRight;
        PrintMarginTop = other.PrintMarginTop;
        PrintMarginBottom = other.PrintMarginBottom;
        ViewerParent.Set(other.ViewerParent.Get());
        VisibleButtons = other.VisibleButtons;
        CharSet = other.CharSet;
        FromPage = other.FromPage;
        ToPage = other.ToPage;
    }

    std::string Title;
    TTitlePrintStyle TitlePrintStyle = psNone;
    bool ViewImages = true;
    bool PositionBackground = false;
    THTMLBorderStyle BorderStyle = htSingle;
    TFontStyles HotSpotStyle = kFontStyleUnderline;
    Color DefBackground = 0xFFFFFF;  // the window colour
    Color DefFontColor = 0x000000;   // the window-text colour
    std::string DefFontName = "Times New Roman";
    int DefFontSize = 10;
    Color DefHotSpotColor = 0x0000FF;  // blue
    std::string DefPreFontName = "Courier New";
    int ImageCacheCount = 5;
    ComponentLink<TComponent> PopupMenu;
    ComponentLink<TComponent> MainMenu;
    bool MenuDefault = true;
    std::string WCaption;
    bool WMaximize = true;
    int WWidth = 550;
    int WHeight = 400;
    double PrintMarginLeft = 1.0;  // centimetres
    double PrintMarginRight = 1.0;
    double PrintMarginTop = 1.0;
    double PrintMarginBottom = 1.0;
    ComponentLink<TComponent> ViewerParent;
    TViewerBtnSet VisibleButtons = ViewerBtnBit(vbPrint);
    std::uint8_t CharSet = 1;  // the default character set
    // The page range to print (not published): 1 to 9999, the end of the report.
    int FromPage = 1;
    int ToPage = 9999;
};

}  // namespace quillon
