#include "viewers/rtf/rtf_document.h"

namespace quillon::rtf {

std::string RtfParagraph::Text() const {
    std::string text;
    for (const RtfRun& run : runs) text += run.text;
    return text;
}

std::string RtfDocument::Text() const {
    std::string text;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) text += '\n';
        text += paragraphs[i].Text();
    }
    return text;
}

}  // namespace quillon::rtf
