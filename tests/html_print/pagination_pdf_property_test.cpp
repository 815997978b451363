// Generated documents printed as a user prints them, with `quillon render --pdf
// --fixed-metrics`, and read back with pdftotext: every word of the document is in the
// file exactly once (headers are not repeated here), and its box lies whole inside the
// page body. What the fixed-metric layout measured is what the sheet shows, and nothing
// hidden by a page's clip is left in the file.
//
// QUILLON_PDF_PAGINATION_CASES=N sets how many documents are made.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"
#include "tests/html_print/document_generator.h"

namespace quillon::testing {
namespace {

#ifdef QUILLON_BINARY

// A word as pdftotext -bbox reports it, in points from the page's top-left corner.
struct PdfWord {
    int page = 0;  // 1-based
    std::string text;
    double left = 0, top = 0, right = 0, bottom = 0;
};

struct PdfWords {
    double width = 0, height = 0;  // of the first page, in points
    std::vector<PdfWord> words;
};

PdfWords ReadWords(const std::string& pdf) {
    PdfWords out;
    const std::string xml = RunShell("pdftotext -bbox " + ShellQuote(pdf) + " - 2>/dev/null").out;
    static const std::regex item(
        R"re(<page width="([0-9.]+)" height="([0-9.]+)"|)re"
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    int page = 0;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), item); it != std::sregex_iterator();
         ++it) {
        const std::smatch& m = *it;
        if (m[1].matched) {
            if (++page == 1) {
                out.width = std::stod(m[1]);
                out.height = std::stod(m[2]);
            }
        } else {
            out.words.push_back(PdfWord{page, m[7], std::stod(m[3]), std::stod(m[4]),
                                        std::stod(m[5]), std::stod(m[6])});
        }
    }
    return out;
}

// The token numbers of a word: cells without padding or spacing between them put tokens
// so close that pdftotext reads them as one word ("w5w6"). Other text gives none.
std::vector<int> TokenNumbers(const std::string& word) {
    static const std::regex tokens(R"((w[0-9]+)+)");
    static const std::regex token(R"(w([0-9]+))");
    std::vector<int> out;
    if (!std::regex_match(word, tokens)) return out;
    for (auto it = std::sregex_iterator(word.begin(), word.end(), token);
         it != std::sregex_iterator(); ++it) {
        out.push_back(std::stoi((*it)[1]));
    }
    return out;
}

const GeneratorOptions kOptions{};

TEST(PaginationPdfProperty, GeneratedDocumentsPrintEveryWordOnceWholeInsideTheBody) {
    const char* env = std::getenv("QUILLON_PDF_PAGINATION_CASES");
    const long cases = env != nullptr && *env != '\0' ? std::strtol(env, nullptr, 10) : 6;
    // 150 x 100 mm with margins of 1 cm: a body of 492 x 302 px, narrow and low enough that
    // the generated pictures and the rows holding them are taller than a page.
    constexpr double kMarginPt = 72.0 / 2.54;
    constexpr double kSlackPt = 1.0;  // the rounding of pixels to points
    const TempDir dir;
    for (long seed = 1; seed <= cases; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const GeneratedDocument doc = GenerateDocument(static_cast<std::uint64_t>(seed), kOptions);
        const std::string html = dir.Write("doc.htm", doc.html).string();
        const std::string pdf = dir.File("doc.pdf");
        const ShellOutput run = RunShell("'" QUILLON_BINARY "' render " + ShellQuote(html) +
                                         " --pdf " + ShellQuote(pdf) +
                                         " --paper 150x100mm --margins 1,1,1,1 --fixed-metrics "
                                         "--no-page-numbers --no-repeat-headers 2>&1");
        ASSERT_EQ(run.status, 0) << run.out;
        const PdfWords read = ReadWords(pdf);
        ASSERT_GT(read.width, 0);
        std::map<int, int> seen;
        for (const PdfWord& w : read.words) {
            const std::vector<int> numbers = TokenNumbers(w.text);
            if (numbers.empty()) continue;
            for (const int n : numbers) ++seen[n];
            EXPECT_TRUE(w.left >= kMarginPt - kSlackPt && w.top >= kMarginPt - kSlackPt &&
                        w.right <= read.width - kMarginPt + kSlackPt &&
                        w.bottom <= read.height - kMarginPt + kSlackPt)
                << w.text << " on page " << w.page << " at " << w.left << "," << w.top << " - "
                << w.right << "," << w.bottom << " is not inside the body of " << read.width
                << " x " << read.height << " pt";
        }
        for (std::size_t i = 0; i < doc.tokens.size(); ++i) {
            const int times = seen[static_cast<int>(i)];
            EXPECT_EQ(times, 1) << TokenText(static_cast<int>(i)) << " is in the file " << times
                                << " times";
        }
    }
}

#endif

}  // namespace
}  // namespace quillon::testing
