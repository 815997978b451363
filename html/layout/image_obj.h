#pragma once
// An image of a section, inline or floating, with the attributes of its IMG tag, its
// laid-out size and (once loaded) its picture.

#include <memory>
#include <string>
#include <vector>

#include "html/layout/html_enums.h"
#include "html/parse/html_attribute.h"
#include "platform/core/canvas.h"
#include "platform/core/rgba_image.h"

namespace quillon {

class TCell;
class TSectionList;
class TFontObj;
class TFormControlObj;
class TGIFImage;

class TImageObj {
  public:
    // An image at char_pos read from IMG (or INPUT TYPE=image) attributes.
    TImageObj(int char_pos, const TAttributeList& attrs, TCell* cell);
    TImageObj(const TImageObj&) = default;
    TImageObj& operator=(const TImageObj&) = default;

    int CharPos = 0;
    int DrawnWidth = 0;  // laid-out size
    int DrawnHeight = 0;
    int WidthValue = -1;  // WIDTH (pixels or percent), -1 when not given
    bool WidthIsPercent = false;
    int HeightValue = -1;    // HEIGHT in pixels, -1 when not given
    std::string SourceName;  // SRC
    std::u32string AltText;  // ALT
    AlignmentType Placement = AlignmentType::Bottom;
    bool Borderless = false;                   // BORDER=0
    bool TranspRequest = false;                // TRANSP
    bool ServerMap = false;                    // ISMAP
    bool ClientMap = false;                    // USEMAP given
    std::string ClientMapName;                 // upper-cased, without a leading '#'
    int SideSpace = 5;                         // HSPACE, at most 20
    TCell* Cell = nullptr;                     // the enclosing cell (not owned)
    TFormControlObj* MyFormControl = nullptr;  // for INPUT TYPE=image (not owned)

    // Where a floating image was placed by layout.
    int FloatX = 0;
    int FloatY = 0;

    // Picture state (filled by LoadPicture): the bitmap with transparency in its alpha, or
    // this occurrence's own copy of an animated GIF.
    std::shared_ptr<const RgbaImage> Bitmap;
    std::shared_ptr<TGIFImage> Gif;
    Transparency Transp = Transparency::NotTransp;
    bool ImageKnown = false;  // loading was tried (images were shown)
    bool SizeFixed = false;   // the laid-out size no longer changes with the width
    bool Failed = false;      // loading failed: the error bitmap is shown
    bool Painted = false;     // an animated image drawn in the last paint

    bool Floating() const {
        return Placement == AlignmentType::ALeft || Placement == AlignmentType::ARight;
    }
    // Shown as a placeholder: the error bitmap (failed) or the default bitmap (images
    // not shown), in a sunken frame with the ALT text.
    bool ShowsPlaceholder() const { return Failed || !ImageKnown; }

    // Fetches the picture through the document's image loader once images are shown (the
    // name expanded by the document's OnExpandFilename when it has no request callbacks).
    // A missing picture gives the error bitmap with LLCorner transparency; an animated GIF
    // is copied for this occurrence and joins the document's animated images. While
    // images are not shown the default bitmap stands in, and loading waits.
    void LoadPicture(TSectionList& doc);
    // The size of the picture (or placeholder bitmap) itself.
    int NaturalWidth() const;
    int NaturalHeight() const;

    // Image layout: loads the picture when needed and sets DrawnWidth and DrawnHeight for
    // the available width from WIDTH, HEIGHT and the natural size; a placeholder leaves
    // room for its ALT text in Arial 8 points, and a linked image without BORDER=0 gets a
    // one-pixel border on each side.
    void DrawLogic(TSectionList& doc, Canvas& canvas, const TFontObj* font, int avail_width);
    // Paints the image into its laid-out box at (x, y): the picture stretched (with its
    // alpha), an animated GIF's current frame, or the placeholder; framed in the link
    // colour when linked.
    void Draw(Canvas& canvas, int x, int y, const TFontObj* font);
};

using TImageList = std::vector<std::unique_ptr<TImageObj>>;

}  // namespace quillon
