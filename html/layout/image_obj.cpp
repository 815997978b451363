#include "html/layout/image_obj.h"

#include <algorithm>
#include <cstdlib>

#include "html/layout/attribute_access.h"
#include "platform/core/text_encoding.h"

namespace quillon {

TImageObj::TImageObj(int char_pos, const TAttributeList& attrs, TCell* cell)
    : CharPos(char_pos), Cell(cell) {
    SourceName = AttrText(attrs, Symb::SrcSy);
    if (const TAttribute* a = attrs.Find(Symb::AltSy)) AltText = a->Text;
    if (const TAttribute* a = attrs.Find(Symb::HeightSy)) HeightValue = std::max(0, a->Number);
    ReadBlockWidth(attrs, WidthValue, WidthIsPercent);
    Placement = AttrKeyword<AlignmentType>(attrs, Symb::AlignSy,
                                           {{"top", AlignmentType::Top},
                                            {"middle", AlignmentType::Middle},
                                            {"absmiddle", AlignmentType::Middle},
                                            {"left", AlignmentType::ALeft},
                                            {"right", AlignmentType::ARight}})
                    .value_or(Placement);
    if (const TAttribute* a = attrs.Find(Symb::BorderSy)) Borderless = a->Number == 0;
    TranspRequest = HasAttr(attrs, Symb::TranspSy);
    ServerMap = HasAttr(attrs, Symb::IsMapSy);
    if (HasAttr(attrs, Symb::UseMapSy)) {
        ClientMap = true;
        std::string name(text::Trim(AttrUpper(attrs, Symb::UseMapSy)));
        if (name.size() > 1 && name[0] == '#') name.erase(0, 1);
        ClientMapName = std::move(name);
    }
    if (const TAttribute* a = attrs.Find(Symb::HSpaceSy)) {
        // abs() of the most negative int is undefined; clamp first.
        SideSpace = a->Number < -20 || a->Number > 20 ? 20 : std::abs(a->Number);
    }
}

}  // namespace quillon
