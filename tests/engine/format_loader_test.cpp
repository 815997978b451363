#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/report_model.h"
#include "tests/common/temp_dir.h"
#include "tests/engine/engine_test_util.h"

namespace quillon {
namespace {

using testing_util::Format;
using testing_util::LoadText;
using testing_util::MessageLog;
using testing_util::NameOf;
using testing_util::Texts;
using Strings = std::vector<std::string>;

const std::string kMark = "<\xBF";  // the name markup of Windows-1252 templates

// --- headers, preamble, level markers ------------------------------------------------------

TEST(LoadFormat, PreambleHeaderAndMarkerLines) {
    ReportModel model;
    MessageLog log;
    std::string name = "*";
    ASSERT_TRUE(model.LoadFormatText("r.htm", "<HTML>\r\n^^R<BR>\r\n@0<BR>\r\nHello\r\n", name, 2,
                                     log.Settings()));
    EXPECT_EQ(name, "R");
    EXPECT_EQ(model.ActiveFormatNo(), 2);
    // The header line is gone and the marker line produces no text.
    EXPECT_EQ(Texts(model, rlHead, 0), (Strings{"<HTML>\r\n", "Hello\r\n"}));
    EXPECT_FALSE(model.ActiveLevels()->Has(rlDetail));
    EXPECT_TRUE(log.texts.empty());
}

TEST(LoadFormat, LevelNumbersOfMarkers) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm", "^^R\r\n@14\r\nf\r\n@1x\r\np\r\n@ 3\r\nd\r\n"));
    EXPECT_EQ(Texts(model, rlFooter, 0), Strings{"f\r\n"});
    EXPECT_EQ(Texts(model, rlNewPage, 0), Strings{"p\r\n"});
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"d\r\n"});
}

TEST(LoadFormat, BadLevelNumbersFailWithTheTextAfterTheAt) {
    struct Case {
        std::string marker;
        std::string message;
    };
    for (const Case& c : {Case{"mail me at x@example.com", "Error example.co"},
                          Case{"@16", "Error 16"}, Case{"@-1", "Error -1"}, Case{"@", "Error "}}) {
        ReportModel model;
        MessageLog log;
        EXPECT_FALSE(LoadText(model, log, "r.htm", "^^R\r\nok\r\n" + c.marker + "\r\n"))
            << c.marker;
        EXPECT_EQ(log.texts, Strings{c.message}) << c.marker;
    }
}

TEST(LoadFormat, TenCharactersAfterTheAtNeverSplitACharacter) {
    ReportModel model;
    MessageLog log;
    EXPECT_FALSE(LoadText(model, log, "r.htm", "^^R\r\n@ÄÖÜäöüßéèêëà\r\n"));
    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_EQ(log.texts[0], "Error ÄÖÜäöüßéèê");
    EXPECT_TRUE(text::IsValidUtf8(log.texts[0]));
}

TEST(LoadFormat, MessagesForMissingNamesFilesAndFormats) {
    ReportModel model;
    MessageLog log;
    std::string name = "R";
    EXPECT_FALSE(model.LoadFormat("x.htm", name, 0, log.Settings()));
    EXPECT_FALSE(model.LoadFormat("x.htm", name, 4, log.Settings()));
    EXPECT_TRUE(log.texts.empty());  // a bad slot returns at once, silently

    EXPECT_FALSE(model.LoadFormat("  ", name, 1, log.Settings()));
    std::string blank = " ";
    EXPECT_FALSE(model.LoadFormat("x.htm", blank, 1, log.Settings()));
    EXPECT_FALSE(model.LoadFormat("/nonexistent/x.htm", name, 1, log.Settings()));
    EXPECT_FALSE(model.LoadFormatText("x.htm", "", name, 1, log.Settings()));
    EXPECT_FALSE(LoadText(model, log, "x.htm", "^^A\r\n@0\r\n", "B"));
    EXPECT_FALSE(LoadText(model, log, "x.htm", "@0\r\n^^A<BR>\r\n", "A"));  // on the last line
    EXPECT_FALSE(LoadText(model, log, "x.htm", "no header\r\n@0\r\n", "*"));
    EXPECT_EQ(log.texts, (Strings{"Format File Error", "Format name property not valid",
                                  "Format File Name Error: /nonexistent/x.htm!",
                                  "Format File Name Error: x.htm.", "Format not found: x.htm->B",
                                  "Format not found: x.htm->A", "Format not found: x.htm->*"}));
    EXPECT_EQ(model.ActiveLevels(), nullptr);  // nothing was loaded
}

TEST(LoadFormat, MessagesInTheChosenLanguage) {
    ReportModel model;
    MessageLog log;
    LoadSettings german;
    german.language = laGerman;
    EXPECT_FALSE(LoadText(model, log, "x.htm", "^^A\r\n@0\r\n", "B", 1, german));
    LoadSettings russian;
    russian.language = laRussian;
    EXPECT_FALSE(LoadText(model, log, "x.htm", "^^A\r\n@x\r\n", "A", 1, russian));
    EXPECT_EQ(log.texts, (Strings{"Format nicht gefunden: x.htm->B", "Ошибка x"}));
}

class TemplateFiles : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, std::string_view content) {
        return temp_.Write(name, content).string();
    }
    testing::TempDir temp_;
    std::filesystem::path dir_ = temp_.Path();
};

TEST_F(TemplateFiles, ShortFilesAndDirectoriesAreRejected) {
    ReportModel model;
    MessageLog log;
    std::string name = "*";
    const std::string tiny = Write("tiny.htm", "^^");
    EXPECT_FALSE(model.LoadFormat(tiny, name, 1, log.Settings()));
    EXPECT_FALSE(model.LoadFormat(dir_.string(), name, 1, log.Settings()));
    EXPECT_EQ(log.texts, (Strings{"Format File Name Error: " + tiny + "?",
                                  "Format File Name Error: " + dir_.string() + "!"}));
}

TEST_F(TemplateFiles, LoadsAFileFromDisk) {
    ReportModel model;
    MessageLog log;
    std::string name = "list";
    const std::string file = Write("list.txt", "^^LIST\n@3\nItem ????? ???^?\n");
    ASSERT_TRUE(model.LoadFormat(file, name, 3, log.Settings()));
    EXPECT_EQ(model.ActiveFormatNo(), 3);
    EXPECT_TRUE(model.IsTXT());
    EXPECT_FALSE(model.IsRTF());
    EXPECT_EQ(Format(model, rlDetail, 1), std::make_pair(5, 0));
    EXPECT_EQ(Format(model, rlDetail, 2), std::make_pair(5, 1));
}

// --- field slots -----------------------------------------------------------------------------

TEST(LoadFormat, SlotsTextSegmentsWidthsAndDecimals) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm",
                         "^^R\r\n@3\r\nA ??????????B\r\nC ???????^?? D\r\nplain\r\n?? ??\r\n"
                         "x^y ^??\r\n"));
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"A "});
    EXPECT_EQ(Texts(model, rlDetail, 1), (Strings{"B\r\n", "C "}));
    // A line without slots joins the list of the slot before it, with its line break.
    EXPECT_EQ(Texts(model, rlDetail, 2), (Strings{" D\r\n", "plain\r\n", ""}));
    EXPECT_EQ(Texts(model, rlDetail, 3), Strings{" "});  // the blank between two runs
    // A caret that does not follow a "?" is ordinary text.
    EXPECT_EQ(Texts(model, rlDetail, 4), (Strings{"\r\n", "x^y ^"}));
    EXPECT_EQ(Format(model, rlDetail, 1), std::make_pair(10, 0));
    EXPECT_EQ(Format(model, rlDetail, 2), std::make_pair(10, 2));
    EXPECT_EQ(Format(model, rlDetail, 5), std::make_pair(2, 0));
    EXPECT_EQ(model.ActiveLevels()->SlotCount(rlDetail), 5);
    // Every node of list n carries slot n's width and decimals.
    for (const DataNodeRec& node : (*model.ActiveLevels()->Get(rlDetail))[2]) {
        EXPECT_EQ(node.X, 10);
        EXPECT_EQ(node.Y, 2);
    }
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(NameOf(model, rlDetail, n), "") << n;
}

TEST(LoadFormat, RepeatedMarkerContinuesAfterTheLevelsLastSlot) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm",
                         "^^R\r\n@3\r\n<\xBFX>A??\r\n@0\r\nhead\r\n@3\r\nB<\xBFY>???\r\n"));
    // The second block comes out after the first: A, slot 1, B, slot 2.
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"A"});
    EXPECT_EQ(Texts(model, rlDetail, 1), (Strings{"\r\n", "B"}));
    EXPECT_EQ(Texts(model, rlDetail, 2), Strings{"\r\n"});
    EXPECT_EQ(Format(model, rlDetail, 1), std::make_pair(2, 0));
    EXPECT_EQ(Format(model, rlDetail, 2), std::make_pair(3, 0));
    EXPECT_EQ(NameOf(model, rlDetail, 1), "X");
    EXPECT_EQ(NameOf(model, rlDetail, 2), "Y");
    EXPECT_EQ(Texts(model, rlHead, 0), Strings{"head\r\n"});
    // Allowed, but most often a slip: a warning names the second block's line.
    EXPECT_TRUE(log.texts.empty());
    EXPECT_EQ(log.warnings, Strings{"Level @3 is given a second time in r.htm, line 6: its lines "
                                    "are added to those of the first block."});
}

TEST(LoadFormat, TooManySlotsOrTooLongARunFailsNamingFileLevelAndLine) {
    std::string slots250, slots251;
    for (int i = 0; i < 250; ++i) slots250 += "? ";
    slots251 = slots250 + "?";
    {
        ReportModel model;
        MessageLog log;
        EXPECT_TRUE(LoadText(model, log, "r.htm", "^^R\r\n@3\r\n" + slots250 + "\r\n"));
        EXPECT_EQ(model.ActiveLevels()->SlotCount(rlDetail), 250);
        EXPECT_TRUE(LoadText(model, log, "r.htm", "^^R\r\n@3\r\n" + std::string(255, '?')));
        EXPECT_EQ(Format(model, rlDetail, 1), std::make_pair(255, 0));
        EXPECT_TRUE(log.texts.empty());
    }
    ReportModel model;
    MessageLog log;
    EXPECT_FALSE(LoadText(model, log, "r.htm", "^^R\r\n@3\r\n" + slots251 + "\r\n"));
    EXPECT_FALSE(
        LoadText(model, log, "w.htm", "^^R\r\n@0\r\nx\r\n@4\r\n" + std::string(256, '?') + "\r\n"));
    // Continued over several lines and blocks, the count is per level.
    EXPECT_FALSE(
        LoadText(model, log, "c.htm", "^^R\r\n@3\r\n" + slots250 + "\r\n@0\r\n@3\r\n?\r\n"));
    EXPECT_EQ(log.texts, (Strings{"More than 250 field slots in a level: r.htm->@3, line 3",
                                  "Field slot longer than 255 characters: w.htm->@4, line 5",
                                  "More than 250 field slots in a level: c.htm->@3, line 6"}));
    // A failed load leaves nothing half-read in the slot.
    EXPECT_FALSE(model.ActiveLevels()->Has(rlDetail));
    EXPECT_FALSE(model.FieldByNumber(rlDetail, 1).HasCurrent());
}

// --- field names, HTML and text templates ---------------------------------------------------

TEST(LoadFormat, CalculatedFieldNameAndExpression) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm",
                         "^^R\r\n@3\r\nTotal: " + kMark + "TOTAL=amount*2>???????^??\r\n"));
    tRNAMEList& f = model.FieldByName(" total ");
    ASSERT_TRUE(f.HasCurrent());
    EXPECT_EQ(f.AsName(), "TOTAL");
    EXPECT_EQ(f.AsExpression(), "amount *2");
    EXPECT_EQ(f.AsNumber(), 1);
    int w = 0, d = 0;
    model.FormatByName("Total", w, d);
    EXPECT_EQ(w, 10);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"Total: "});  // the markup is gone
}

TEST(LoadFormat, NameEndsAtGreaterQuestionWithinItsOwnMarkup) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(
        LoadText(model, log, "r.htm",
                 "^^R\r\n@3\r\n" + kMark + "X=a>b>??? " + kMark + "A> ??? " + kMark + "B>???\r\n"));
    EXPECT_EQ(NameOf(model, rlDetail, 1), "X");
    EXPECT_EQ(model.FieldByName("X").AsExpression(), "a>b");
    // A markup never reaches into the next one: "A" ends at its own ">".
    EXPECT_EQ(NameOf(model, rlDetail, 2), "A");
    EXPECT_EQ(NameOf(model, rlDetail, 3), "B");
    EXPECT_EQ(Texts(model, rlDetail, 1), Strings{"  "});
    EXPECT_EQ(Texts(model, rlDetail, 2), Strings{" "});
}

TEST(LoadFormat, MarkupWithoutClosingBracketIsText) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm", "^^R\r\n@3\r\n" + kMark + "A ???\r\n"));
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{kMark + "A "});
    EXPECT_EQ(NameOf(model, rlDetail, 1), "");
}

TEST(LoadFormat, RunsKeepApartAcrossARemovedMarkup) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm", "^^R\r\n@3\r\n???" + kMark + "B>???\r\n"));
    EXPECT_EQ(Format(model, rlDetail, 1), std::make_pair(3, 0));
    EXPECT_EQ(Format(model, rlDetail, 2), std::make_pair(3, 0));
    EXPECT_EQ(NameOf(model, rlDetail, 2), "B");
    EXPECT_EQ(Texts(model, rlDetail, 1), Strings{""});  // the zero byte does not stay
}

TEST(LoadFormat, LoneCaretCountsAsARunForNames) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm", "^^R\r\n@3\r\nx ^ " + kMark + "A>??? ???\r\n"));
    EXPECT_EQ(NameOf(model, rlDetail, 1), "");
    EXPECT_EQ(NameOf(model, rlDetail, 2), "A");
}

TEST(LoadFormat, NameCountingOverLinesLevelsAndTheFirstLine) {
    ReportModel model;
    MessageLog log;
    // A name on the first line of the file, a line without markup before a named slot,
    // and a name that finds no slot in its level.
    ASSERT_TRUE(LoadText(model, log, "r.htm",
                         kMark + "TITLE>?????\r\n^^R\r\n@0\r\n" + kMark +
                             "ORPHAN>\r\n@3\r\n??? ???\r\n" + kMark + "C>??\r\n@4\r\n" + kMark +
                             "S>??\r\n"));
    EXPECT_EQ(NameOf(model, rlHead, 1), "TITLE");
    EXPECT_EQ(NameOf(model, rlDetail, 1), "");
    EXPECT_EQ(NameOf(model, rlDetail, 2), "");
    EXPECT_EQ(NameOf(model, rlDetail, 3), "C");
    EXPECT_EQ(NameOf(model, rlSum01, 1), "S");
    EXPECT_FALSE(model.FieldByName("ORPHAN").HasCurrent());
}

TEST(LoadFormat, Utf8MarkupAndSecondParseNames) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm",
                         "^^R\r\n@3\r\nPrix é <\xC2\xBF&TOTAL>???^?? <\xC2\xBF"
                         "A_VERY_LONG_FIELD_NAME_INDEED>??\r\n"));
    EXPECT_EQ(model.Encoding(1), text::TextEncoding::Utf8);
    EXPECT_EQ(NameOf(model, rlDetail, 1), "&TOTAL");
    EXPECT_EQ(NameOf(model, rlDetail, 2), "A_VERY_LONG_FIELD_NAME_INDEED");
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"Prix é "});
}

TEST(LoadFormat, KeepingTheMarkupInTheText) {
    ReportModel model;
    MessageLog log;
    LoadSettings keep;
    keep.strip_names = false;
    ASSERT_TRUE(LoadText(model, log, "r.htm", "^^R\r\n@3\r\n" + kMark + "A>???\r\n", "*", 1, keep));
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{kMark + "A>"});
    EXPECT_EQ(NameOf(model, rlDetail, 1), "A");
}

TEST(LoadFormat, NameUsedTwiceMakesAliases) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm",
                         "^^R\r\n@3\r\n" + kMark + "CUST>?? " + kMark + "cust>????\r\n@4\r\n" +
                             kMark + "Cust>???\r\n"));
    model.FieldByNumber(rlDetail, 2).SetAsString("ACME");
    EXPECT_EQ(model.FieldByName("CUST").AsString(), "ACME");
    EXPECT_EQ(model.FieldByNumber(rlSum01, 1).AsString(), "ACME");
    EXPECT_EQ(model.FieldByNumber(rlSum01, 1).AsNumber(), 1);
    // Each slot keeps its own width.
    EXPECT_EQ(Format(model, rlDetail, 2), std::make_pair(4, 0));
    EXPECT_EQ(Format(model, rlSum01, 1), std::make_pair(3, 0));

    // Reloading the slot with another format drops the old aliases.
    ASSERT_TRUE(LoadText(model, log, "r.htm",
                         "^^R\r\n@3\r\n" + kMark + "A>?? " + kMark + "B>??\r\n@4\r\n??\r\n"));
    EXPECT_EQ(NameOf(model, rlDetail, 2), "B");
    EXPECT_EQ(NameOf(model, rlSum01, 1), "");
}

TEST(LoadFormat, ManyMarkupsOnOneLine) {
    auto line_with = [](int n, std::string_view each) {
        std::string s = "^^R\r\n@3\r\n";
        for (int i = 0; i < n; ++i) s += each;
        return s + "\r\n";
    };
    {
        ReportModel model;
        MessageLog log;
        EXPECT_TRUE(LoadText(model, log, "r.htm", line_with(499, kMark + "A>")));
        EXPECT_TRUE(log.texts.empty());
        EXPECT_TRUE(LoadText(model, log, "r.htm", line_with(500, kMark + "A>")));
        EXPECT_EQ(log.texts, Strings{"Field Name description Error r.htm->R"});
    }
    // 100,000 markups: one message; the first 501 are read, the rest stays as text.
    ReportModel model;
    MessageLog log;
    EXPECT_TRUE(LoadText(model, log, "r.htm", line_with(100000, kMark + "A>")));
    EXPECT_EQ(log.texts.size(), 1u);
    const std::string text = Texts(model, rlDetail, 0).at(0);
    EXPECT_EQ(text.size(), (100000 - 501) * 4 + 2);
    // And with slots between them the level runs out of slots instead.
    EXPECT_FALSE(LoadText(model, log, "r.htm", line_with(100000, kMark + "A>?")));
    EXPECT_EQ(log.texts.back(), "More than 250 field slots in a level: r.htm->@3, line 3");
}

// --- RTF templates ---------------------------------------------------------------------------

TEST(LoadFormat, RtfNamesAreStrikeThroughWords) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "inv.rtf",
                         "{\\rtf1\\ansi ^^INV\\par\r\n@3\\par\r\n"
                         "{\\strike CUSTOMER}??????????\\tab {\\STRIKE \\f1 QTY}????\\par\r\n}\r\n",
                         "inv"));
    EXPECT_TRUE(model.IsRTF());
    // The header stays as a control word that readers skip.
    EXPECT_EQ(Texts(model, rlHead, 0), Strings{"{\\rtf1\\ansi \\xyz \\par\r\n"});
    EXPECT_EQ(NameOf(model, rlDetail, 1), "CUSTOMER");
    EXPECT_EQ(NameOf(model, rlDetail, 2), "QTY");
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"{}"});
    EXPECT_EQ(Texts(model, rlDetail, 1), Strings{"\\tab {\\f1 }"});
    EXPECT_EQ(Texts(model, rlDetail, 2), (Strings{"\\par\r\n", "}\r\n"}));
}

TEST(LoadFormat, RtfNthNameNamesTheNthSlot) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "x.rtf",
                         "{\\rtf1 ^^X}\r\n@3\r\n?? {\\strike B}?? {\\strike C}\r\n"
                         "??\r\n{\\strike D} {\\strike E}??\r\n"));
    // The first name attaches to slot 1 although slot 1 stands before it.
    EXPECT_EQ(NameOf(model, rlDetail, 1), "B");
    EXPECT_EQ(NameOf(model, rlDetail, 2), "C");
    // Name 3 comes a line after slot 3: it is lost, and does not hold up name 4.
    EXPECT_EQ(NameOf(model, rlDetail, 3), "");
    EXPECT_EQ(NameOf(model, rlDetail, 4), "E");
    EXPECT_FALSE(model.FieldByName("D").HasCurrent());
}

TEST(LoadFormat, KindComesFromTheFilesOwnName) {
    ReportModel model;
    MessageLog log;
    const std::string body = "^^X\r\n@3\r\n{\\strike A}??\r\n";
    ASSERT_TRUE(LoadText(model, log, "/tmp/report.rtf.bak", body));
    EXPECT_TRUE(model.IsRTF());
    EXPECT_EQ(NameOf(model, rlDetail, 1), "A");
    ASSERT_TRUE(LoadText(model, log, "/tmp/old.rtf/report.htm", body));
    EXPECT_FALSE(model.IsRTF());
    EXPECT_EQ(NameOf(model, rlDetail, 1), "");
    ASSERT_TRUE(LoadText(model, log, "C:\\DATA.TXT\\Report.Txt", body));
    EXPECT_TRUE(model.IsTXT());
}

// --- several formats in one file ------------------------------------------------------------

TEST(LoadFormat, EachFormatIsThePreamblePlusItsOwnBody) {
    const std::string file =
        "<HTML>\r\n^^ONE<BR>\r\n@3\r\none ??\r\n^^TWO<BR>\r\n@3\r\ntwo ???\r\n</HTML>\r\n";
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm", file, "two"));
    EXPECT_EQ(Texts(model, rlHead, 0), Strings{"<HTML>\r\n"});
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"two "});
    EXPECT_EQ(Texts(model, rlDetail, 1), (Strings{"\r\n", "</HTML>\r\n"}));
    ASSERT_TRUE(LoadText(model, log, "r.htm", file, "ONE"));
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"one "});
    EXPECT_EQ(Texts(model, rlDetail, 1), Strings{"\r\n"});
}

TEST(LoadFormat, ExactHeaderNameBeatsAPrefix) {
    const std::string file = "^^AB\r\n@3\r\nab??\r\n^^a\r\n@3\r\na???\r\n^^ABC\r\n@3\r\n?\r\n";
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "r.htm", file, "A"));
    EXPECT_EQ(Format(model, rlDetail, 1), std::make_pair(3, 0));
    ASSERT_TRUE(LoadText(model, log, "r.htm", file, "ab"));
    EXPECT_EQ(Format(model, rlDetail, 1), std::make_pair(2, 0));
    ASSERT_TRUE(LoadText(model, log, "r.htm", "^^ABCD\r\n@3\r\n?\r\n", "ABC"));
    // A header line made of many headers is read in one pass.
    std::string many;
    for (int i = 0; i < 200000; ++i) many += "^^A";
    EXPECT_TRUE(LoadText(model, log, "r.htm", many + "\r\n@3\r\n?\r\n", "A"));
    EXPECT_TRUE(LoadText(model, log, "r.htm", many + " \r\n@3\r\n?\r\n", "*"));
    std::string star = "*";
    ASSERT_TRUE(model.LoadFormatText("r.htm", file, star, 1, log.Settings()));
    EXPECT_EQ(star, "AB");
}

// --- malformed templates ---------------------------------------------------------------------

TEST(LoadFormat, MalformedTemplatesLoadOrFailWithAMessage) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37 + 11) & 0xFF);
    const std::vector<std::string> files = {
        "^^F\r@3\rA??\r",                        // CR-only line ends
        "^^F\n@3\nA??",                          // no final line break
        "^^F\r\n@",                              // a marker on the last line
        "^^F\r\n" + binary,                      // binary data
        "^^F\r\n@3\r\n\0\0?\0?\r\n",             // zero bytes
        "^^F\r\n@3\r\n" + kMark + ">?" + kMark,  // an empty name, a markup at the end
        "^^F\r\n\\strike \r\n",                  // an RTF tag without a name
    };
    for (const std::string& f : files) {
        for (const char* name : {"t.htm", "t.rtf"}) {
            ReportModel model;
            MessageLog log;
            const bool ok = LoadText(model, log, name, f);
            EXPECT_TRUE(ok || !log.texts.empty()) << f.substr(0, 20);
        }
    }
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "t.htm", files[0]));
    EXPECT_EQ(Texts(model, rlDetail, 0), Strings{"A"});
}

}  // namespace
}  // namespace quillon
