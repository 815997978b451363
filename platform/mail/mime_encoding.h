#pragma once
// The encodings of Internet mail: base64 and quoted-printable bodies, header text in
// encoded words (non-ASCII subjects and names), file-name parameters in the extended form
// (non-ASCII file names), folded to the recommended line length.

#include <string>
#include <string_view>

namespace quillon::mail {

// Text as UTF-8: valid UTF-8 stays as it is, anything else is read as Windows-1252.
std::string AsUtf8(std::string_view text);

// Base64 in lines of 76 characters, each ending in CR LF.
std::string Base64Lines(std::string_view data);

// Quoted-printable (lines of at most 76 characters, ending in CR LF). CR LF, a lone LF
// and a lone CR in text all end a line; blanks at the end of a line are kept (encoded).
std::string QuotedPrintable(std::string_view text);

// The value of an unstructured header field (Subject) whose name, colon and blank take
// `used` characters of the first line: printable ASCII as it is, folded at blanks; other
// text as UTF-8 encoded words. Line breaks and other control characters in the text become
// blanks, so the text can never start a header field of its own.
std::string HeaderText(std::string_view text, std::size_t used);

// A display name for an address header: as it is when it is an atom sequence, quoted
// when it holds specials, encoded words (folded) when it is not ASCII or longer than 60
// characters. Empty stays empty.
std::string HeaderPhrase(std::string_view name);

// A header parameter `name=value` for a file name: quoted when printable ASCII, otherwise
// the extended UTF-8 form, split into numbered sections so no line grows too long. The
// result starts with "; " and may hold CR LF + blank folds.
std::string FileNameParameter(std::string_view param, std::string_view value);

}  // namespace quillon::mail
