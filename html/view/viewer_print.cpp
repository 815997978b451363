// The document the viewer prints.

#include "html/view/url_expand.h"
#include "html/view/viewer_model.h"

namespace quillon {

std::unique_ptr<TSectionList> THTMLViewerModel::DocumentForPrint() const {
    if (!print_source_) return TSectionList::CreateCopy(*doc_);
    // Parsed as the shown document was, with print's rules: its images come from the same
    // requests and resolve against the same file; it has no controls on the screen.
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
    return doc;
}

}  // namespace quillon
