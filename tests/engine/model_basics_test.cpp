#include <gtest/gtest.h>

#include "engine/eil_plist.h"
#include "engine/messages.h"
#include "engine/report_level.h"
#include "engine/text_helpers.h"
#include "platform/core/text_encoding.h"
#include "tests/common/recording_host.h"

namespace quillon {
namespace {

TEST(EilPlist, CursorWalkAndEndOfList) {
    EilPlist list;
    EXPECT_TRUE(list.EoList());
    EXPECT_EQ(list.GetVal(), "\x1b");  // never empty at the end
    EXPECT_EQ(list.GetX(), 0);
    EXPECT_EQ(list.EilData(), nullptr);
    list.Add(10, 2, "a");
    list.Add(10, 2, "");
    list.Add(3, 0, "c");
    list.First();
    std::string walked;
    for (; !list.EoList(); list.Next()) walked += list.GetVal() + "|";
    EXPECT_EQ(walked, "a||c|");
    EXPECT_EQ(list.GetVal(), "\x1b");
    list.Next();  // no effect past the end
    EXPECT_TRUE(list.EoList());
    list.First();
    list.PutX(9);
    list.PutY(1);
    EXPECT_EQ(list.GetX(), 9);
    EXPECT_EQ(list.EilData()->Y, 1);
    EXPECT_EQ(list.EilData()->Reserved, 0);
    // Add goes after the cursor node and moves the cursor onto the new node.
    list.Add(0, 0, "b");
    EXPECT_EQ(list.GetVal(), "b");
    EXPECT_EQ(list[1].Val, "b");
    EXPECT_EQ(list.Count(), 4u);
}

// A recycled list starts empty; copies made in recycled room hold only their own text,
// also after the cursor was moved back for an insertion.
TEST(EilPlist, RecycledListStartsEmptyAndCopiesWhole) {
    EilPlist list;
    list.AddCopy(3, 0, std::string(100, 'x'));
    list.AddCopy(3, 0, "second line");
    list.Recycle();
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.EoList());
    list.AddCopy(4, 0, "ab");
    list.AddCopy(3, 1, "cd");
    list.First();
    list.AddCopy(5, 0, "inserted");
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0].Val, "ab");
    EXPECT_EQ(list[1].Val, "inserted");
    EXPECT_EQ(list[2].Val, "cd");
    EXPECT_EQ(list[2].Y, 1);
    list.AddCopy(6, 0, "");  // no more recycled room: a fresh text
    EXPECT_EQ(list.GetVal(), "");
}

// A taken text moves into the list and its string gets recycled room back; with none to
// give, it is copied and the string keeps its own room. Either way the string is empty.
TEST(EilPlist, TakenTextsTradeRoomWithRecycledNodes) {
    EilPlist list;
    std::string line(200, 'a');
    list.AddTaken(3, 0, line);
    EXPECT_TRUE(line.empty());
    EXPECT_GE(line.capacity(), 200u);
    line.assign(50, 'b');
    list.AddTaken(3, 0, line);
    list.Recycle();
    line.assign("short");
    list.AddTaken(4, 0, line);
    EXPECT_TRUE(line.empty());
    EXPECT_GE(line.capacity(), 50u);  // the room of a recycled line
    line.assign("next");
    list.AddTaken(4, 1, line);
    line.assign("copied");
    list.AddTaken(5, 0, line);  // nothing recycled left
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0].Val, "short");
    EXPECT_EQ(list[1].Val, "next");
    EXPECT_EQ(list[1].Y, 1);
    EXPECT_EQ(list[2].Val, "copied");
    EXPECT_TRUE(line.empty());
}

TEST(TextHelpers, NumToStrAtkarpaDelChar) {
    EXPECT_EQ(NumToStr(3.14159, 8, 2), "    3.14");
    EXPECT_EQ(NumToStr(-2.5, 0, 1), "-2.5");
    EXPECT_EQ(NumToStr(12345.678, 3, 1), "12345.7");  // never cut
    EXPECT_EQ(NumToStr(1234567.0, 1, 0), "1234567");  // no thousands separator
    EXPECT_EQ(Atkarpa('-', 0), "");
    EXPECT_EQ(Atkarpa('-', 3), "---");
    EXPECT_EQ(Atkarpa('x', 255).size(), 255u);
    std::string s = "aaa";
    DelChar(s, 'a');
    EXPECT_EQ(s, "");
    s = "a,b,,c";
    DelChar(s, ',');
    EXPECT_EQ(s, "abc");
}

TEST(ReportLevel, TitlesOfAllSixteenLevels) {
    EXPECT_EQ(LevelTitle(rlHead), "Report Heading");
    EXPECT_EQ(LevelTitle(rlNewPage), "Page Heading");
    EXPECT_EQ(LevelTitle(rlDetailHead), "Detail Line Heading");
    EXPECT_EQ(LevelTitle(rlDetail), "Detail Line");
    EXPECT_EQ(LevelTitle(rlSum01), "Sum Lines Level 01");
    EXPECT_EQ(LevelTitle(rlSum10), "Sum Lines Level 10");
    EXPECT_EQ(LevelTitle(rlFooter), "Page Footer");
    EXPECT_EQ(LevelTitle(rlEnd), "Report End Level");
    EXPECT_EQ(LevelTitle(16), "");
}

TEST(Messages, SevenLanguagesInUtf8) {
    for (const MessageTable* t :
         {&FRM_OPENMsg, &FRM_NAMEMsg, &FRM_FILEMsg, &FORMATMsg, &FIELD_NAMEMsg, &ABSTRACT_Msg,
          &PRINTER_OPENMsg, &FILE_OPENMsg, &FILE_READMsg, &PRINTER_OUTPMsg, &VIEWER_Msg,
          &PAGE_NUMBERCaption, &SLOT_COUNTMsg, &SLOT_WIDTHMsg, &LINE_Msg}) {
        EXPECT_EQ((*t)[laFrench], (*t)[laEnglish]);
        EXPECT_EQ((*t)[laSpanish], (*t)[laEnglish]);
        for (int la = 0; la < kLanguageCount; ++la) {
            EXPECT_FALSE((*t)[la].empty());
            EXPECT_TRUE(text::IsValidUtf8((*t)[la]));
        }
        for (int la : {laGerman, laItalian, laRussian, laLithuanian}) {
            EXPECT_NE((*t)[la], (*t)[laEnglish]) << (*t)[laEnglish];
        }
    }
    EXPECT_EQ(Msg(FORMATMsg, laEnglish), "Format not found: ");
    EXPECT_EQ(Msg(FILE_OPENMsg, laLithuanian), "Klaida atidarant Failą ");
    EXPECT_EQ(Msg(PRINTER_OUTPMsg, laRussian), "Ошибка принтера. Прервать ");
    EXPECT_EQ(Msg(VIEWER_Msg, laGerman), "Viewer für tQuillon nicht zugewiesen: ");
    EXPECT_EQ(Msg(FRM_FILEMsg, static_cast<TRepLanguage>(9)), "Format File Name Error: ");
}

TEST(Messages, RoutineOrDefaultHost) {
    std::string seen;
    const MessageRoutine routine = [&](std::string_view m, TMsgDlgType, TMsgDlgButtons) {
        seen = m;
        return 6;
    };
    EXPECT_EQ(ShowMessage(routine, "hello", TMsgDlgType::mtError, mbOK), 6);
    EXPECT_EQ(seen, "hello");
    HeadlessHost host([&](const HeadlessHost::Message& m) {
        seen = m.text + "!";
        return 1;
    });
    {
        const testing::ScopedDefaultHost installed(host);
        EXPECT_EQ(ShowMessage(nullptr, "to host", TMsgDlgType::mtError, mbOK), 1);
    }
    EXPECT_EQ(seen, "to host!");
}

}  // namespace
}  // namespace quillon
