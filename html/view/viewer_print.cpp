// The document the viewer prints.

#include <string>
#include <unordered_map>
#include <vector>

#include "html/layout/form_controls.h"
#include "html/view/url_expand.h"
#include "html/view/viewer_model.h"

namespace quillon {

namespace {

// Gives the controls of `paper`, parsed again from the text of `shown`, the values the
// controls of `shown` hold now. Controls pair by kind, name and starting value in document
// order, so that a control that the rules of one medium leave out does not shift the others
// (unless it is the same in all three as one both media show).
void CarryFormValues(const TSectionList& shown, TSectionList& paper) {
    if (shown.AllControls().empty()) return;
    const auto key = [](const TFormControlObj& c) {
        return std::string(c.KindName()) + '\0' + c.Name + '\0' + c.Value;
    };
    std::unordered_map<std::string, std::vector<const TFormControlObj*>> by_key;
    for (const TFormControlObj* c : shown.AllControls()) by_key[key(*c)].push_back(c);
    std::unordered_map<std::string, std::size_t> taken;
    for (TFormControlObj* c : paper.AllControls()) {
        const std::string k = key(*c);
        const auto it = by_key.find(k);
        if (it == by_key.end()) continue;
        std::size_t& n = taken[k];
        if (n < it->second.size()) c->TakeValueOf(*it->second[n++]);
    }
}

}  // namespace

std::unique_ptr<TSectionList> THTMLViewerModel::DocumentForPrint() const {
    if (!print_source_) return TSectionList::CreateCopy(*doc_);
    // Parsed as the shown document was, with print's rules: its images come from the same
    // requests and resolve against the same file; its controls, not on the screen, print the
    // values the shown ones hold.
    auto doc = std::make_unique<TSectionList>(*measure_);
    doc->ImagesShown = doc_->ImagesShown;
    doc->OnBitmapRequest = doc_->OnBitmapRequest;
    doc->OnImageRequest = doc_->OnImageRequest;
    doc->OnExpandFilename = [ctx = ExpandContext{server_root_, base_, current_file_}](
                                TSectionList&, const std::string& name) {
        return ExpandViewerFilename(name, ctx);
    };
    doc->SetCharSet(char_set_);
    doc->SetFonts(def_font_name_, def_pre_font_name_, def_font_size_, def_font_color_,
                  def_hot_spot_color_, def_background_);
    TNameList names;
    HtmlParseBuffer(*doc, names, print_source_->Text, css::Medium::Print, print_source_->BaseDir);
    CarryFormValues(*doc_, *doc);
    return doc;
}

}  // namespace quillon
