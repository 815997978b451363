#pragma once
// Reads an RTF document into paragraphs of formatted runs (rtf_document.h): the reports
// the engine writes from RTF templates and ordinary RTF files of word processors.
//
//   rtf::RtfDocument doc = rtf::ReadRtf(bytes);   // throws rtf::ERtfError
//
// Understood: groups with their formatting saved and restored; \par \line \tab \page
// \sect \cell \row; \b \i \ul (and its kinds) \ulnone \strike \v \super \sub \plain \fs
// \cf; \pard \ql \qc \qr \qj \pagebb; the font and colour tables; \'hh through \ansicpg
// or the font's \fcharset or \cpg (the Windows pages, single-byte and the double-byte
// Japanese, Chinese and Korean ones whose characters are \'hh pairs; 1252 for a page
// unknown here, rtf_code_pages.h); unescaped UTF-8 in the text (as the engine writes a
// UTF-8 template's values); \uN with \ucN fallback skipping and surrogate pairs; the
// escaped characters and named punctuation (\emdash, \~, ...). Pictures, style sheets,
// document information, headers, footers, notes and every destination behind \* are
// skipped.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "viewers/rtf/rtf_document.h"

namespace quillon::rtf {

// A document that is no RTF or that the reader refuses (groups nested too deep).
class ERtfError : public std::runtime_error {
  public:
    ERtfError(const std::string& what, std::size_t position);
    // Byte offset in the input where the problem was found.
    std::size_t Position() const { return position_; }

  private:
    std::size_t position_;
};

// Groups may nest this deep; real documents stay far below it.
inline constexpr int kMaxRtfDepth = 512;

// Reads an RTF document. Missing closing braces at the end are forgiven; what follows
// the document's outermost group is ignored.
RtfDocument ReadRtf(std::string_view rtf);

// True when the bytes begin as an RTF document does ("{\rtf", after blanks or a UTF-8
// byte order mark).
bool LooksLikeRtf(std::string_view bytes);

}  // namespace quillon::rtf
