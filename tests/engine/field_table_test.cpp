#include <gtest/gtest.h>

#include "engine/field_table.h"

namespace quillon {
namespace {

// A table with DATE at (3, 1), TOTAL=... at (3, 2), an unnamed slot at (3, 3).
tRNAMEList Sample() {
    tRNAMEList t;
    t.AddName(3, 1, "Date");
    t.AddName(3, 2, " Total = Amount*Qty*2 ");
    t.AddName(3, 3, "");
    return t;
}

TEST(FieldTable, NamesAreCaseInsensitiveAndTrimmed) {
    tRNAMEList t = Sample();
    int level = 0, number = 0;
    ASSERT_TRUE(t.FindByName(" date ", level, number));
    EXPECT_EQ(level, 3);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(t.AsName(), "DATE");
    EXPECT_TRUE(t.FindByName("TOTAL"));
    EXPECT_EQ(t.AsNumber(), 2);
    EXPECT_FALSE(t.FindByName("TOTAL=x"));
    EXPECT_FALSE(t.FindByName(""));  // an empty name is not the unnamed slot
    EXPECT_FALSE(t.FindByName("  "));
    EXPECT_FALSE(t.HasCurrent());
}

TEST(FieldTable, WithoutCurrentFieldReadsAreEmptyAndWritesIgnored) {
    tRNAMEList t = Sample();
    t.FindByName("NOPE");
    t.SetAsString("lost");
    EXPECT_EQ(t.AsString(), "");
    EXPECT_EQ(t.AsURL(), "");
    EXPECT_EQ(t.AsName(), "*");
    EXPECT_EQ(t.AsExpression(), "*");
    EXPECT_EQ(t.AsNumber(), 0);
    tRNAMEList empty;
    EXPECT_FALSE(empty.FindByName("DATE"));
    EXPECT_FALSE(empty.FindByNumber(3, 1));
}

TEST(FieldTable, ReadAfterWriteGivesTheValueWritten) {
    tRNAMEList t = Sample();
    t.FindByName("DATE");
    EXPECT_EQ(t.AsString(), "");  // never set
    for (const std::string v : {"eleven char", "ab", "a longer value than before", "", "x"}) {
        t.FindByName("DATE");
        t.SetAsString(v);
        EXPECT_EQ(t.AsString(), v);  // with no new lookup in between
        t.FindByNumber(3, 1);
        EXPECT_EQ(t.AsString(), v);
    }
    // Values are kept whole, however long.
    const std::string big(70000, 'v');
    t.FindByName("TOTAL");
    t.SetAsString(big);
    t.FindByName("DATE");
    t.FindByName("TOTAL");
    EXPECT_EQ(t.AsString(), big);
    t.FindByName("DATE");
    EXPECT_EQ(t.AsString(), "x");
}

TEST(FieldTable, ClrValEmptiesValuesAndClrRekNames) {
    tRNAMEList t = Sample();
    t.FindByName("DATE");
    t.SetAsString("d");
    t.ClrVAL();
    EXPECT_FALSE(t.HasCurrent());
    t.FindByName("DATE");
    EXPECT_EQ(t.AsString(), "");
    t.SetAsString("again");
    EXPECT_EQ(t.AsString(), "again");
    t.ClrREK();
    EXPECT_FALSE(t.FindByName("DATE"));
    EXPECT_FALSE(t.FindByNumber(3, 1));
    EXPECT_TRUE(t.Entries().empty());
}

TEST(FieldTable, Expressions) {
    tRNAMEList t = Sample();
    t.FindByName("total");
    EXPECT_EQ(t.AsName(), "TOTAL");
    EXPECT_EQ(t.AsExpression(), " amount *qty *2");
    t.FindByName("date");
    EXPECT_EQ(t.AsExpression(), "");
    t.AddName(4, 1, "P=v**2*w");  // a power keeps its two asterisks together
    t.FindByName("P");
    EXPECT_EQ(t.AsExpression(), "v **2 *w");
    t.AddName(4, 2, "=x*2");  // an unnamed calculated slot
    t.FindByNumber(4, 2);
    EXPECT_EQ(t.AsName(), "");
    EXPECT_EQ(t.AsExpression(), "x *2");
}

TEST(FieldTable, LongNamesReadBackWhole) {
    tRNAMEList t;
    const std::string name = "&A_NAME_OF_TWENTY_FIVE_CH";
    t.AddName(3, 1, name);
    ASSERT_TRUE(t.FindByNumber(3, 1));
    EXPECT_EQ(t.AsName(), name);
}

TEST(FieldTable, AliasesShareTheFirstSlotsValue) {
    tRNAMEList t;
    t.AddName(3, 1, "CUST");
    t.AddName(3, 2, "cust");
    t.AddName(5, 7, "Cust");
    EXPECT_EQ(t.Entries().size(), 1u);
    EXPECT_EQ(t.AliasOf(5, 7), (FieldKey{3, 1}));
    EXPECT_FALSE(t.AliasOf(3, 1));
    ASSERT_TRUE(t.FindByNumber(5, 7));
    EXPECT_EQ(t.AsNumber(), 1);
    EXPECT_EQ(t.CurrentKey(), (FieldKey{3, 1}));
    t.SetAsString("ACME");
    t.FindByNumber(3, 2);
    EXPECT_EQ(t.AsString(), "ACME");
    // Unnamed slots are never aliases of each other.
    t.AddName(3, 3, "");
    t.AddName(3, 4, " ");
    EXPECT_FALSE(t.AliasOf(3, 4));
    t.FindByNumber(3, 3);
    t.SetAsString("three");
    t.FindByNumber(3, 4);
    EXPECT_EQ(t.AsString(), "");
    // ClrREK drops the aliases with the names.
    t.ClrREK();
    t.AddName(3, 2, "OTHER");
    t.FindByNumber(3, 2);
    EXPECT_EQ(t.AsName(), "OTHER");
}

TEST(FieldTable, SameSlotRegisteredTwiceFirstEntryWins) {
    tRNAMEList t;
    t.AddName(3, 1, "A");
    t.AddName(3, 1, "B");
    t.FindByNumber(3, 1);
    EXPECT_EQ(t.AsName(), "A");
    t.SetAsString("v");
    t.FindByName("B");  // both names address the one slot
    EXPECT_EQ(t.AsString(), "v");
}

TEST(FieldTable, NumbersOutsideTheTableAddressNothing) {
    tRNAMEList t;
    t.AddName(0, 250, "LAST");
    t.AddName(15, 1, "END");
    t.AddName(3, 251, "NEVER");  // not a slot: not registered
    t.AddName(16, 1, "NEVER");
    EXPECT_FALSE(t.FindByName("NEVER"));
    EXPECT_TRUE(t.FindByNumber(0, 250));
    EXPECT_TRUE(t.FindByNumber(15, 1));
    for (auto [level, number] :
         {std::pair{0, 0}, {0, 251}, {0, 506}, {-1, 250}, {16, 1}, {15 + 256, 1}, {0, 250 - 256}}) {
        EXPECT_FALSE(t.FindByNumber(level, number)) << level << "," << number;
        EXPECT_EQ(t.AsName(), "*");
    }
}

TEST(FieldTable, Urls) {
    tRNAMEList t;
    t.AddName(3, 1, "LINK");
    t.FindByName("LINK");
    t.SetAsURL("file.htm");
    EXPECT_EQ(t.AsString(), "<A href=file.htm>file.htm</A>");
    EXPECT_EQ(t.AsURL(), "file.htm");
    t.SetAsString("plain");
    EXPECT_EQ(t.AsURL(), "plain");
}

// A subclass may change how values are stored; the URL helpers go through it.
TEST(FieldTable, UrlHelpersUseTheVirtualValueAccess) {
    struct Upper : tRNAMEList {
        void SetAsString(std::string_view v) override {
            tRNAMEList::SetAsString(std::string(v) + "!");
        }
    } t;
    t.AddName(3, 1, "L");
    t.FindByName("L");
    t.SetAsURL("u");
    EXPECT_EQ(t.AsString(), "<A href=u>u</A>!");
}

// Fields found once and written by index behave as found by name: aliases share the
// value, ClrVAL empties it, and a new registration state tells that indexes must be
// looked up again.
TEST(FieldTable, FieldsFoundOnceAreWrittenByIndex) {
    tRNAMEList t = Sample();
    t.AddName(4, 1, "date");  // an alias of (3, 1)
    const std::size_t date = t.IndexOf(" Date ");
    ASSERT_NE(date, tRNAMEList::npos);
    EXPECT_EQ(t.IndexOf("nothing"), tRNAMEList::npos);
    EXPECT_EQ(t.IndexOf(""), tRNAMEList::npos);
    EXPECT_FALSE(t.HasCurrent());  // finding an index does not move the cursor

    t.SetValueAt(date, "2026-12-06");
    t.SetValueAt(tRNAMEList::npos, "ignored");
    ASSERT_TRUE(t.FindByNumber(4, 1));
    EXPECT_EQ(t.AsString(), "2026-12-06");
    EXPECT_EQ(t.ValueAt(date), "2026-12-06");
    // A value set from a part of itself.
    t.SetValueAt(date, t.ValueAt(date).substr(5));
    EXPECT_EQ(t.ValueAt(date), "12-06");
    t.ClrVAL();
    EXPECT_EQ(t.ValueAt(date), "");

    const std::uint64_t before = t.Revision();
    t.AddName(3, 4, "NOTE");
    EXPECT_NE(t.Revision(), before);
    tRNAMEList other = Sample();
    EXPECT_NE(other.Revision(), Sample().Revision());
    t.ClrREK();
    EXPECT_EQ(t.IndexOf("DATE"), tRNAMEList::npos);
    EXPECT_FALSE(t.FindByNumber(4, 1));
}

// Only levels with a calculated field, directly or through an alias of one, may skip
// nothing when the calculator runs.
TEST(FieldTable, LevelsWithExpressions) {
    tRNAMEList t = Sample();  // TOTAL=... at (3, 2)
    t.AddName(4, 1, "Date");
    EXPECT_TRUE(t.LevelHasExpression(3));
    EXPECT_FALSE(t.LevelHasExpression(4));
    t.AddName(5, 2, "total");
    EXPECT_TRUE(t.LevelHasExpression(5));
    EXPECT_FALSE(t.LevelHasExpression(99));
    t.ClrREK();
    EXPECT_FALSE(t.LevelHasExpression(3));
}

}  // namespace
}  // namespace quillon
