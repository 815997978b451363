#include "viewers/rtf/rtf_text_document.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>

#include <vector>

#include "rtf_test_support.h"
#include "viewers/rtf/rtf_reader.h"

namespace quillon {
namespace {

std::vector<QTextFragment> Fragments(const QTextBlock& block) {
    std::vector<QTextFragment> out;
    for (auto it = block.begin(); !it.atEnd(); ++it) out.push_back(it.fragment());
    return out;
}

TEST(RtfTextDocument, BlocksAndCharacterFormats) {
    QTextDocument doc;
    LoadRtfIntoDocument(
        doc,
        R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern Courier New;}})"
        R"({\colortbl;\red255\green0\blue0;}\f0\fs20 plain {\b\i bold italic} {\ul\strike u s})"
        R"({\cf1\fs36 red}{\f1 mono}{\super 2}\par\qr \'cf\'f0\'e8\line next\tab x\par})");
    ASSERT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.firstBlock().text(), "plain bold italic u sredmono2");
    EXPECT_EQ(doc.lastBlock().text(), QString::fromUtf8("При\u2028next\tx"));

    const std::vector<QTextFragment> f = Fragments(doc.firstBlock());
    ASSERT_EQ(f.size(), 7u);
    EXPECT_EQ(f[0].text(), "plain ");
    EXPECT_EQ(f[0].charFormat().fontPointSize(), 10.0);
    EXPECT_EQ(f[0].charFormat().fontWeight(), QFont::Normal);
    EXPECT_EQ(f[0].charFormat().fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_FALSE(f[0].charFormat().hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(f[1].text(), "bold italic");
    EXPECT_EQ(f[1].charFormat().fontWeight(), QFont::Bold);
    EXPECT_TRUE(f[1].charFormat().fontItalic());
    EXPECT_EQ(f[3].text(), "u s");
    EXPECT_TRUE(f[3].charFormat().fontUnderline());
    EXPECT_TRUE(f[3].charFormat().fontStrikeOut());
    EXPECT_EQ(f[4].text(), "red");
    EXPECT_EQ(f[4].charFormat().foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(f[4].charFormat().fontPointSize(), 18.0);
    EXPECT_EQ(f[5].text(), "mono");
    EXPECT_TRUE(f[5].charFormat().fontFixedPitch());
    EXPECT_EQ(f[5].charFormat().fontStyleHint(), QFont::TypeWriter);
    EXPECT_EQ(f[6].text(), "2");
    EXPECT_EQ(f[6].charFormat().verticalAlignment(), QTextCharFormat::AlignSuperScript);

    EXPECT_EQ(doc.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST(RtfTextDocument, PageBreaksAndEmptyParagraphs) {
    QTextDocument doc;
    LoadRtfIntoDocument(doc, R"({\rtf1 one\par\fs40\par\page two\par})");
    ASSERT_EQ(doc.blockCount(), 3);
    const QTextBlock empty = doc.firstBlock().next();
    EXPECT_TRUE(empty.text().isEmpty());
    // A blank line keeps the height of its paragraph mark.
    EXPECT_EQ(empty.charFormat().fontPointSize(), 20.0);
    EXPECT_EQ(doc.firstBlock().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_Auto);
    EXPECT_EQ(doc.lastBlock().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(doc.lastBlock().text(), "two");
}

TEST(RtfTextDocument, ReplacesContentAndKeepsItOnError) {
    QTextDocument doc;
    doc.setPlainText("old text");
    LoadRtfIntoDocument(doc, R"({\rtf1 new})");
    EXPECT_EQ(doc.toPlainText(), "new");
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_THROW(LoadRtfIntoDocument(doc, "not rtf"), rtf::ERtfError);
    EXPECT_EQ(doc.toPlainText(), "new");
    // An empty document leaves one empty block.
    LoadRtfIntoDocument(doc, R"({\rtf1})");
    EXPECT_EQ(doc.blockCount(), 1);
    EXPECT_TRUE(doc.toPlainText().isEmpty());
}

TEST(RtfTextDocument, FixtureFromAWordProcessor) {
    QTextDocument doc;
    LoadRtfIntoDocument(doc, rtf::testing::Fixture("writer_letter.rtf"));
    QStringList blocks;
    int page_breaks = 0;
    for (QTextBlock b = doc.firstBlock(); b.isValid(); b = b.next()) {
        blocks << b.text();
        if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) ++page_breaks;
    }
    EXPECT_EQ(blocks, QStringList({"Item\tQty\tPrice", "Tea\t3\t4.50",
                                   QString::fromUtf8("Ąžuolas ir Žemė\u2028Привет, мир"),
                                   "Second page underlined italic text."}));
    EXPECT_EQ(page_breaks, 1);
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// A paragraph of megabytes is kept as blocks of a few thousand characters (Qt lays out a
// block whole), with every character kept in order, cut after blanks where there are some,
// each centred as the paragraph is, and its page break only before the first.
TEST(RtfTextDocument, AHugeParagraphIsKeptInBlocksWithNothingLost) {
    std::string words;
    for (int i = 0; words.size() < 50000; ++i) words += "w" + std::to_string(i) + " ";
    const std::string word(30000, 'x');
    QTextDocument doc;
    LoadRtfIntoDocument(
        doc, R"({\rtf1\ansi x\par\pagebb\qc )" + words + "{\\b " + word + R"(}\par next\par})");
    QString joined;
    int pieces = 0;
    QTextBlock block = doc.firstBlock().next();
    for (; block.isValid() && !block.text().startsWith("next"); block = block.next()) {
        EXPECT_LE(block.length() - 1, 4096);
        const QTextBlockFormat f = block.blockFormat();
        EXPECT_EQ(f.alignment(), Qt::AlignHCenter) << pieces;
        EXPECT_EQ(f.pageBreakPolicy() == QTextFormat::PageBreak_AlwaysBefore, pieces == 0)
            << pieces;
        // Among the words, a piece ends after a blank.
        if (joined.size() + block.text().size() < static_cast<qsizetype>(words.size())) {
            EXPECT_TRUE(block.text().endsWith(' ')) << pieces;
        }
        joined += block.text();
        ++pieces;
    }
    EXPECT_GT(pieces, 15);
    EXPECT_EQ(joined.toStdString(), words + word);
    ASSERT_TRUE(block.isValid());
    EXPECT_EQ(block.text(), "next");
}

}  // namespace
}  // namespace quillon
