// The TXT and RTF viewers: loading, the fixed answers of a one-page text control, Find
// and Find Next, the page box, printing to PDF, Print TXT through the report and loading
// errors reported by the report.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/quillon.h"
#include "platform/core/raw_printer.h"
#include "tests/common/pdf_text.h"
#include "tests/common/recording_raw_printers.h"
#include "tests/common/temp_dir.h"
#include "tests/viewers/viewer_test_support.h"
#include "viewers/rtf_viewer.h"

namespace quillon {
namespace {

using testing::RecordingHost;
using testing::ScriptedTxtViewer;
using testing::TempDir;

class TxtViewerTest : public ::testing::Test {
  protected:
    TxtViewerTest() { report_.SetViewerExt(&viewer_); }
    ~TxtViewerTest() override { viewer_.CloseWindow(); }

    std::string Load(const std::string& text) {
        const std::string path = dir_.Write("report.txt", text).string();
        report_.SetPrnFile(path);
        EXPECT_TRUE(report_.LoadFirst()) << (host_.messages.empty() ? "" : host_.messages[0].text);
        return path;
    }
    std::string Selected() const {
        return viewer_.RichEdit().textCursor().selectedText().toStdString();
    }

    TempDir dir_;
    RecordingHost host_;
    TQuillon report_{"report", host_};
    ScriptedTxtViewer viewer_{host_};
};

TEST_F(TxtViewerTest, LoadsTextAsUtf8OrWindows1252) {
    const std::string path = Load("Total\xE9 12\r\nline 2\r\n");
    EXPECT_EQ(viewer_.RichEdit().toPlainText().toStdString(), "Total\xC3\xA9 12\nline 2\n");
    EXPECT_EQ(viewer_.CurrentFile(), path);
    Load("Ąžuolas\r\n");
    EXPECT_EQ(viewer_.RichEdit().toPlainText().toStdString(), "Ąžuolas\n");
    EXPECT_TRUE(viewer_.RichEdit().isReadOnly());
    EXPECT_EQ(viewer_.RichEdit().lineWrapMode(), QTextEdit::NoWrap);
}

// A line of megabytes is shown in pieces of a few thousand characters (the control lays a
// line out whole): every character kept in order, pieces cut after blanks where there are
// some, and the lines around it as they are.
TEST_F(TxtViewerTest, AHugeLineIsShownInPiecesWithNothingLost) {
    std::string line;
    for (int i = 0; line.size() < 300000; ++i) line += "w\xC3\xA9" + std::to_string(i) + " ";
    line += std::string(20000, 'x');
    Load("first\r\n" + line + "\r\nlast\r\n");
    const QTextDocument& doc = *viewer_.RichEdit().document();
    ASSERT_EQ(doc.firstBlock().text(), "first");
    std::string joined;
    int pieces = 0;
    QTextBlock block = doc.firstBlock().next();
    for (; block.isValid() && block.text() != "last"; block = block.next()) {
        const std::string piece = block.text().toStdString();
        EXPECT_LE(piece.size(), 4096u);
        if (joined.size() + piece.size() < line.size() - 20000) {
            EXPECT_EQ(piece.back(), ' ') << pieces;
        }
        joined += piece;
        ++pieces;
    }
    EXPECT_GT(pieces, 70);
    EXPECT_EQ(joined, line);
    EXPECT_EQ(block.text(), "last");
}

TEST_F(TxtViewerTest, TextIsShownInAFixedPitchFontSoColumnsLineUp) {
    Load("iiii|\r\nWWWW|\r\n");
    const QFont font = viewer_.RichEdit().document()->defaultFont();
    EXPECT_TRUE(QFontInfo(font).fixedPitch()) << QFontInfo(font).family().toStdString();
    const QFontMetrics m(font);
    EXPECT_EQ(m.horizontalAdvance(QStringLiteral("iiii")),
              m.horizontalAdvance(QStringLiteral("WWWW")));
    // Another face can be asked for (a missing one falls back to DejaVu Sans Mono); an
    // empty name keeps the face shown.
    viewer_.SetDefPreFontName("No Such Face");
    EXPECT_EQ(viewer_.GetDefPreFontName(), "No Such Face");
    EXPECT_TRUE(QFontInfo(viewer_.RichEdit().document()->defaultFont()).fixedPitch());
    viewer_.SetDefPreFontName("");
    EXPECT_EQ(viewer_.GetDefPreFontName(), "No Such Face");
}

TEST_F(TxtViewerTest, AOnePageDocumentHasFixedAnswers) {
    Load("one page\r\n");
    EXPECT_EQ(viewer_.GetLastPageNumber(), 1);
    EXPECT_EQ(viewer_.NumPrinterPages(), 1);
    EXPECT_TRUE(viewer_.PositionToPage(1));
    EXPECT_FALSE(viewer_.PositionToPage(2));
    EXPECT_TRUE(viewer_.PositionTo("anchor"));
    EXPECT_EQ(viewer_.GetHistoryIndex(), -1);
    EXPECT_TRUE(viewer_.GetHistory().empty());
    EXPECT_EQ(viewer_.GetImageCacheCount(), 0);
    EXPECT_TRUE(viewer_.GetViewImages());
    EXPECT_EQ(viewer_.GetDefHotSpotColor(), 0x0000FFu);
    EXPECT_FALSE(viewer_.GetPrintHeader());
    EXPECT_TRUE(viewer_.FPrintTXTAllowed);

    // The page buttons keep page 1; Next cannot leave it.
    viewer_.Button(vbNext).click();
    EXPECT_EQ(viewer_.PageNo(), 1);
    viewer_.Button(vbPrior).click();
    EXPECT_EQ(viewer_.PageNo(), 1);
    viewer_.Button(vbLast).click();
    EXPECT_EQ(viewer_.PageNo(), 1);

    // Border: none after construction, htFocused leaves it as it is.
    EXPECT_EQ(viewer_.GetBorderStyle(), htNone);
    viewer_.SetBorderStyle(htSingle);
    viewer_.SetBorderStyle(htFocused);
    EXPECT_EQ(viewer_.GetBorderStyle(), htSingle);

    TrptRTFViewer rtf("rtf", host_);
    EXPECT_FALSE(rtf.FPrintTXTAllowed);
}

TEST_F(TxtViewerTest, ThePageBoxClampsToTheDocumentAndIgnoresNonNumbers) {
    Load("text\r\n");
    // One page: the box only shows it; the menu's Find Page still asks.
    EXPECT_FALSE(viewer_.Button(vbPageNumber).isEnabled());
    viewer_.answers = {"99", "abc", "0", "-4"};
    viewer_.ThePageMove(nullptr);
    EXPECT_EQ(viewer_.Button(vbPageNumber).text().toStdString(), "1/1");
    EXPECT_EQ(viewer_.prompts.back(), "Page Number");
    viewer_.Button(vbPageNumber).setText("x");
    viewer_.ThePageMove(nullptr);  // not a number: nothing changes
    EXPECT_EQ(viewer_.Button(vbPageNumber).text().toStdString(), "x");
    viewer_.ThePageMove(nullptr);
    EXPECT_EQ(viewer_.PageNo(), 1);
    viewer_.ThePageMove(nullptr);
    EXPECT_EQ(viewer_.PageNo(), 1);
    EXPECT_EQ(viewer_.Button(vbPageNumber).text().toStdString(), "1/1");
}

TEST_F(TxtViewerTest, FindSearchesFromTheStartAndFindNextFromTheLastHit) {
    Load("0123456789Total total TOTAL\r\n");
    EXPECT_TRUE(viewer_.Find("total", true));
    EXPECT_EQ(viewer_.LastFindPosition(), 16);
    EXPECT_TRUE(viewer_.Find("Total", false));
    EXPECT_EQ(viewer_.LastFindPosition(), 10);
    EXPECT_EQ(Selected(), "Total");
    EXPECT_FALSE(viewer_.Find("missing", false));
    EXPECT_EQ(viewer_.LastFindPosition(), -1);

    // The search box: case-insensitive from the start; Find Next from the hit + 1.
    report_.Show();
    viewer_.answers = {"TOTAL"};
    viewer_.TheFind(nullptr);
    EXPECT_EQ(viewer_.prompts.back(), "Text to find");
    EXPECT_EQ(viewer_.LastFindPosition(), 10);
    viewer_.TheFindNext(nullptr);
    EXPECT_EQ(viewer_.LastFindPosition(), 16);
    viewer_.TheFindNext(nullptr);
    EXPECT_EQ(viewer_.LastFindPosition(), 22);
    EXPECT_EQ(Selected(), "TOTAL");
    EXPECT_TRUE(host_.messages.empty());
    viewer_.TheFindNext(nullptr);
    EXPECT_EQ(viewer_.LastFindPosition(), -1);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "Search string not found: TOTAL");
    // After a miss Find Next says so again without searching.
    viewer_.TheFindNext(nullptr);
    EXPECT_EQ(host_.messages.size(), 2u);

    // A miss of the search box is said in the report's language.
    report_.SetLanguage(laGerman);
    viewer_.answers = {"nichts"};
    viewer_.TheFind(nullptr);
    EXPECT_EQ(host_.messages.back().text, "Text nicht gefunden: nichts");
    // Cancel leaves the search text.
    viewer_.TheFind(nullptr);
    EXPECT_EQ(viewer_.FindText(), "nichts");
}

TEST_F(TxtViewerTest, CopyAndSelectAll) {
    Load("alpha beta");
    viewer_.TheSelectAllClick(nullptr);
    EXPECT_EQ(Selected(), "alpha beta");
    ASSERT_TRUE(viewer_.Find("beta", true));
    viewer_.TheCopyClick(nullptr);
    // The offscreen platform keeps a clipboard of its own in the process.
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "beta");
}

using testing::RecordingRawPrinters;

TEST_F(TxtViewerTest, PrintTxtGoesThroughTheReportWithThePrinterSectionsWidth) {
    const std::string ini =
        dir_.Write("QUILDOC.INI", "[lp]\n<WIDTH>=20\n<PRINTER>=Queue:\n").string();
    const char* old = std::getenv("QUILDOC_INI");
    const std::string saved = old != nullptr ? old : "";
    setenv("QUILDOC_INI", ini.c_str(), 1);
    RecordingRawPrinters printers;
    report_.SetRawPrinters(&printers);
    Load("<center>Title</center>\r\nnext\r\n");
    report_.Show();
    QAction* item = testing::MenuAction(viewer_, "Print TXT");
    ASSERT_NE(item, nullptr);
    item->trigger();
    if (old != nullptr) {
        setenv("QUILDOC_INI", saved.c_str(), 1);
    } else {
        unsetenv("QUILDOC_INI");
    }
    EXPECT_EQ(printers.ports, (std::vector<std::string>{"Queue:"}));
    EXPECT_EQ(printers.bytes, "       Title\r\nnext\r\n");
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(TxtViewerTest, PrintsTheWholeTextToPdf) {
    Load("First line of the report\r\nSecond line\r\n");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string pdf = dir_.File("out.pdf");
    printer.setOutputFileName(QString::fromStdString(pdf));
    viewer_.SetPrinter(&printer);
    viewer_.Button(vbPrint).click();
    const std::string text = testing::PdfText(pdf);
    EXPECT_NE(text.find("First line of the report"), std::string::npos) << text;
    EXPECT_NE(text.find("Second line"), std::string::npos) << text;
}

TEST_F(TxtViewerTest, ALoadErrorIsAMessageOfTheReport) {
    EXPECT_THROW(viewer_.LoadFromFile(dir_.File("missing.txt")), std::runtime_error);
    EXPECT_FALSE(report_.LoadFromFile(dir_.File("missing.txt")));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text.rfind("File Read Error " + dir_.File("missing.txt"), 0), 0u)
        << host_.messages[0].text;
}

TEST(RtfViewer, LoadsRichTextAndRejectsOtherFiles) {
    TempDir dir;
    RecordingHost host;
    TrptRTFViewer viewer("rtf", host);
    const std::string rtf = dir.Write("r.rtf", "{\\rtf1 Hello}").string();
    viewer.LoadFromFile(rtf);
    EXPECT_EQ(viewer.CurrentFile(), rtf);
    EXPECT_FALSE(viewer.RichEdit().toPlainText().isEmpty());
    const std::string plain = dir.Write("p.rtf", "plain").string();
    EXPECT_THROW(viewer.LoadFromFile(plain), std::runtime_error);
    EXPECT_EQ(viewer.CurrentFile(), rtf);
}

}  // namespace
}  // namespace quillon
