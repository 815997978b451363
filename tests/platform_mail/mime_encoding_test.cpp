// Encodings of the message: every byte survives base64 and quoted-printable, header text
// and file names decode back to what was given, lines stay within the limits, and nothing
// in a subject or a name can start a header line of its own.

#include <gtest/gtest.h>

#include <sstream>

#include "mail_test_support.h"
#include "platform/mail/mail_address.h"
#include "platform/mail/mime_encoding.h"

namespace quillon::mail {
namespace {

using mailtest::Base64Decode;
using mailtest::DecodeHeader;
using mailtest::QuotedPrintableDecode;

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string AllBytes() {
    std::string s;
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
    return s;
}

TEST(MimeEncoding, Base64KeepsEveryByteAndEveryLengthInShortLines) {
    const std::string bytes = AllBytes() + AllBytes();
    for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 5u, 57u, 58u, 512u}) {
        const std::string encoded = Base64Lines(bytes.substr(0, n));
        EXPECT_EQ(Base64Decode(encoded), bytes.substr(0, n)) << n;
        for (const std::string& line : LinesOf(encoded)) EXPECT_LE(line.size(), 76u);
        if (n > 0) {
            EXPECT_EQ(encoded.substr(encoded.size() - 2), "\r\n");
        }
    }
    EXPECT_EQ(Base64Lines("Man"), "TWFu\r\n");
    EXPECT_EQ(Base64Lines("Ma"), "TWE=\r\n");
}

TEST(MimeEncoding, QuotedPrintableKeepsTextBlanksAndLineBreaks) {
    // Blanks at a line's end are kept, "=" and non-ASCII are escaped, long lines are split
    // with soft breaks, every kind of line break becomes CR LF.
    const std::string text = "Total = 5 \u20ac\r\n  \r\n" + std::string(200, 'x') + "\nend\rlast";
    const std::string encoded = QuotedPrintable(text);
    for (const std::string& line : LinesOf(encoded)) {
        EXPECT_LE(line.size(), 76u) << line;
        EXPECT_TRUE(line.empty() || (line.back() != ' ' && line.back() != '\t')) << line;
    }
    EXPECT_EQ(QuotedPrintableDecode(encoded),
              "Total = 5 \u20ac\r\n  \r\n" + std::string(200, 'x') + "\r\nend\r\nlast");
    // An escape is never split by a soft break.
    const std::string euros = QuotedPrintable(std::string(40, '=') + "\u00e9\u00e9\u00e9");
    EXPECT_EQ(QuotedPrintableDecode(euros), std::string(40, '=') + "\u00e9\u00e9\u00e9");
}

TEST(MimeEncoding, SubjectsArriveWholeAndSafe) {
    // A long ASCII subject is folded at blanks and unfolds to itself.
    std::string long_subject;
    while (long_subject.size() < 300) long_subject += "quarterly sales report ";
    long_subject.resize(300);
    const std::string folded = HeaderText(long_subject, 9);
    EXPECT_EQ(DecodeHeader(folded), long_subject);
    for (const std::string& line : LinesOf(folded)) EXPECT_LE(line.size(), 78u);

    // Non-ASCII text becomes encoded words that decode to the UTF-8 text, also from
    // Windows-1252 input; a 300-character word is not cut either.
    const std::string lithuanian = "Ataskaita \u0160iauliai \u2013 \u010dekiai";
    EXPECT_EQ(DecodeHeader(HeaderText(lithuanian, 9)), lithuanian);
    EXPECT_EQ(DecodeHeader(HeaderText("Caf\xe9 \x80", 9)), "Caf\u00e9 \u20ac");
    const std::string word(300, 'w');
    EXPECT_EQ(DecodeHeader(HeaderText(word, 9)), word);
    const std::string long_utf8 = [] {
        std::string s;
        for (int i = 0; i < 150; ++i) s += "\u00e4\u20ac";
        return s;
    }();
    const std::string encoded = HeaderText(long_utf8, 9);
    EXPECT_EQ(DecodeHeader(encoded), long_utf8);
    for (const std::string& line : LinesOf(encoded)) EXPECT_LE(line.size(), 78u);

    // Line breaks cannot smuggle a header in, and text that looks encoded stays literal.
    const std::string injected = HeaderText("Report\r\nBcc: spy@example.com", 9);
    EXPECT_EQ(injected.find("\r\nBcc"), std::string::npos);
    EXPECT_EQ(DecodeHeader(injected), "Report  Bcc: spy@example.com");
    EXPECT_EQ(DecodeHeader(HeaderText("=?UTF-8?B?eA==?=", 9)), "=?UTF-8?B?eA==?=");
}

TEST(MimeEncoding, FileNamesUseTheExtendedFormWhenNeeded) {
    auto param = [](const std::string& name) {
        mailtest::MimePart part;
        part.headers["content-disposition"] = "attachment" + FileNameParameter("filename", name);
        for (const std::string& line : LinesOf(part.headers["content-disposition"]))
            EXPECT_LE(line.size(), 78u);
        // Unfold as a reader does.
        std::string unfolded;
        for (const std::string& line : LinesOf(part.headers["content-disposition"]))
            unfolded += line;
        part.headers["content-disposition"] = unfolded;
        return part.Param("content-disposition", "filename");
    };
    EXPECT_EQ(FileNameParameter("filename", "report.htm"), "; filename=\"report.htm\"");
    for (const std::string& name :
         std::vector<std::string>{"ataskaita \u0161\u010d.htm", "quote\"and\\back.txt",
                                  "a;b=c d.txt", std::string(120, 'r') + ".rtf",
                                  "\u0410\u0411\u0412\u0413\u0414\u0415 " + std::string(50, 'z')}) {
        EXPECT_EQ(param(name), name);
    }
    EXPECT_NE(FileNameParameter("filename", "\u00e9.txt").find("filename*=UTF-8''%C3%A9.txt"),
              std::string::npos);
}

TEST(MailAddressParsing, AcceptsAddressesAndRejectsWhatIsNone) {
    struct Case {
        const char* text;
        const char* name;
        const char* address;
    };
    for (const Case& c :
         {Case{"ann@example.com", "", "ann@example.com"},
          Case{"  <ann@example.com> ", "", "ann@example.com"},
          Case{"Ann Lee <ann.lee+rep@mail.example.com>", "Ann Lee", "ann.lee+rep@mail.example.com"},
          Case{"\"Lee, Ann\" <ann@example.com>", "Lee, Ann", "ann@example.com"},
          Case{"ops@localhost", "", "ops@localhost"}, Case{"x@[127.0.0.1]", "", "x@[127.0.0.1]"}}) {
        const auto parsed = ParseMailAddress(c.text);
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(parsed->name, c.name);
        EXPECT_EQ(parsed->address, c.address);
    }
    for (const char* bad :
         {"", "   ", "ann", "@example.com", "ann@", "ann@@example.com", "ann@exa mple.com",
          "a..b@example.com", ".a@example.com", "ann@example..com", "ann@-x.com",
          "ann@example.com\r\nRCPT TO:<spy@x.com>", "Ann <ann@example.com", "<a@b.c> <d@e.f>",
          "a@b.c, d@e.f", "Ann <ann@exa>mple.com>"}) {
        EXPECT_FALSE(ParseMailAddress(bad)) << bad;
    }
    // Headers show names quoted or encoded as needed.
    EXPECT_EQ(ParseMailAddress("Lee, Ann <a@b.c>")->HeaderForm(), "\"Lee, Ann\" <a@b.c>");
    EXPECT_EQ(ParseMailAddress("Ann Lee <a@b.c>")->HeaderForm(), "Ann Lee <a@b.c>");
    EXPECT_EQ(DecodeHeader(ParseMailAddress("\u017divil\u0117 <z@b.c>")->HeaderForm()),
              "\u017divil\u0117 <z@b.c>");
}

}  // namespace
}  // namespace quillon::mail
