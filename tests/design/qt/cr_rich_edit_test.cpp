// The editor widget offscreen: which characters loading colours, what typing re-colours
// and what it leaves alone, the multi-line paste, and line and column access.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <sstream>
#include <string>

#include "design/qt/cr_rich_edit.h"

namespace quillon {
namespace {

const QColor kGreen(0, 128, 0);
const QColor kSlotRed(0xB0, 0, 0);

class CRRichEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        edit_.resize(400, 200);
        edit_.show();
    }
    QColor Normal() const { return edit_.palette().color(QPalette::Text); }

    // The line as letters: 'g' span colour, '.' normal colour, 's' slot colour, '?'
    // anything else.
    std::string Colours(int line) {
        std::string out;
        const int length = edit_.document()->findBlockByNumber(line).length() - 1;
        for (int c = 0; c < length; ++c) {
            const QColor colour = edit_.ColourAt(line, c);
            out += colour == kGreen     ? 'g'
                   : colour == Normal() ? '.'
                   : colour == kSlotRed ? 's'
                                        : '?';
        }
        return out;
    }
    // How many undo steps the document holds.
    int UndoSteps() {
        int steps = 0;
        while (edit_.document()->isUndoAvailable()) {
            edit_.undo();
            ++steps;
        }
        return steps;
    }
    void Caret(int line, int column) {
        edit_.SetCurrentLine(line);
        edit_.SetCurrentPosition(column);
    }
    void Type(const char* text) { QTest::keyClicks(&edit_, text); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&edit_, key, modifiers);
    }

    TCRRichEdit edit_;
};

TEST_F(CRRichEditTest, DefaultsAndLoadingColoursTheTags) {
    EXPECT_EQ(edit_.ColorFromChar(), u'<');
    EXPECT_EQ(edit_.ColorToChar(), u'>');
    EXPECT_EQ(edit_.ColorValue(), 0x008000u);
    EXPECT_TRUE(edit_.CCActive());
    edit_.LoadFromBytes("<HTML>\r\n^^R<BR>\r\n<b>x</b> a > b <i>\r\n{\\rtf \\} }\r\n");
    EXPECT_EQ(edit_.toPlainText(), QString("<HTML>\n^^R<BR>\n<b>x</b> a > b <i>\n{\\rtf \\} }"));
    EXPECT_EQ(Colours(0), "gggggg");
    EXPECT_EQ(Colours(1), "???gggg");  // the format header in a colour of its own
    EXPECT_EQ(Colours(2), "ggg.gggg..........");
    EXPECT_EQ(Colours(3), "..........");
    EXPECT_FALSE(edit_.document()->isModified());
    EXPECT_FALSE(edit_.document()->isUndoAvailable());
}

TEST_F(CRRichEditTest, LoadingFromStreamsAndFiles) {
    std::istringstream stream("skipped<a>");
    stream.seekg(7);
    edit_.LoadFromStream(stream);  // read from the start
    EXPECT_EQ(edit_.toPlainText(), QString("skipped<a>"));
    EXPECT_EQ(Colours(0), ".......ggg");
    std::istringstream empty("");
    edit_.LoadFromStream(empty);
    EXPECT_EQ(edit_.toPlainText(), QString());
    EXPECT_EQ(edit_.document()->blockCount(), 1);
    EXPECT_THROW(edit_.LoadFromFile("/nonexistent/template.htm"), std::runtime_error);
}

TEST_F(CRRichEditTest, ColourCodingOffIsAPlainEditor) {
    edit_.SetCCActive(false);
    edit_.LoadFromBytes("<a>b\n");
    EXPECT_EQ(edit_.toPlainText(), QString("<a>b"));
    Caret(0, 4);
    Type("<i>");
    EXPECT_EQ(edit_.toPlainText(), QString("<a>b<i>"));
    EXPECT_EQ(Colours(0).find('g'), std::string::npos);
}

TEST_F(CRRichEditTest, TypingOutsideATagChangesNoColour) {
    edit_.LoadFromBytes("<a>  <b>");
    Caret(0, 4);
    Type("x");
    EXPECT_EQ(edit_.toPlainText(), QString("<a> x <b>"));
    EXPECT_EQ(Colours(0), "ggg...ggg");
    // Right after a tag, typed text is in the normal colour, not the tag's.
    Caret(0, 9);
    Type("yz");
    EXPECT_EQ(Colours(0), "ggg...ggg..");
}

TEST_F(CRRichEditTest, TypingInsideATagOrADelimiterRecolours) {
    edit_.LoadFromBytes("<a> b <c>");
    Caret(0, 2);
    Type("i");
    EXPECT_EQ(edit_.toPlainText(), QString("<ai> b <c>"));
    EXPECT_EQ(Colours(0), "gggg...ggg");
    // Deleting a closing character: the tag now runs to the next one.
    Caret(0, 4);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit_.toPlainText(), QString("<ai b <c>"));
    EXPECT_EQ(Colours(0), "ggggggggg");
    // Typing an opening character before plain text and a closing one after it.
    edit_.LoadFromBytes("x y z");
    Caret(0, 2);
    Type("<");
    Caret(0, 4);
    Type(">");
    EXPECT_EQ(edit_.toPlainText(), QString("x <y> z"));
    EXPECT_EQ(Colours(0), "..ggg..");
}

TEST_F(CRRichEditTest, SlotsHaveTheirColourAndTabLinesAreLeftAlone) {
    edit_.LoadFromBytes("x<a>??^?\n\t<b>");
    EXPECT_EQ(Colours(0), ".gggssss");
    Caret(0, 2);
    Type("i");  // inside the tag: the line is re-coloured, the slot keeps its colour
    EXPECT_EQ(edit_.toPlainText().split('\n')[0], QString("x<ia>??^?"));
    EXPECT_EQ(Colours(0), ".ggggssss");
    Caret(0, 1);
    Type("?");  // a new slot character is coloured at once
    EXPECT_EQ(Colours(0), ".sggggssss");
    // A line that begins with a tab is not re-coloured: the letter typed inside its tag
    // stays in the normal colour.
    Caret(1, 3);
    Type("j");
    EXPECT_EQ(Colours(1), ".gg.g");
}

TEST_F(CRRichEditTest, ColouringAddsNoUndoStepsAndDoesNotModify) {
    // The same typing in an editor without colour coding gives the number of steps a
    // typing action takes; re-colouring must not add to it.
    const auto steps_after_typing = [this](bool colour) {
        edit_.SetCCActive(colour);
        edit_.LoadFromBytes("<p>??? text</p>\n@3<BR>");
        EXPECT_FALSE(edit_.document()->isModified());
        Caret(0, 2);
        Type("ab>");  // re-colours the line twice
        Caret(1, 6);
        Type(" x");
        return UndoSteps();
    };
    const int plain = steps_after_typing(false);
    const int coloured = steps_after_typing(true);
    EXPECT_EQ(coloured, plain);
    EXPECT_GE(coloured, 1);
    // Undoing all of it gives back the loaded text, still coloured, and unmodified.
    EXPECT_EQ(edit_.toPlainText(), QString("<p>??? text</p>\n@3<BR>"));
    EXPECT_FALSE(edit_.document()->isModified());
    EXPECT_EQ(Colours(0), "gggsss.....gggg");
    // Switching colour coding on or off is no edit either.
    edit_.SetCCActive(false);
    edit_.SetRtfTemplate(true);
    edit_.SetCCActive(true);
    EXPECT_FALSE(edit_.document()->isUndoAvailable());
    EXPECT_FALSE(edit_.document()->isModified());
}

TEST_F(CRRichEditTest, LevelLinesFormatHeadersAndRtfVisibleText) {
    const QColor level(0, 0, 0xC0), format(0x80, 0, 0x80), markup(0x90, 0x90, 0x90);
    edit_.LoadFromBytes("<HTML>\n^^SALES<BR>\n@3 detail<BR>");
    EXPECT_EQ(edit_.ColourAt(1, 0), format);
    EXPECT_EQ(edit_.ColourAt(1, 6), format);
    EXPECT_EQ(edit_.ColourAt(1, 7), kGreen);  // <BR>
    for (int c = 0; c < 13; ++c) EXPECT_EQ(edit_.ColourAt(2, c), level) << c;
    // Typing turns a line into a level line at once.
    Caret(0, 6);
    Type("@");
    EXPECT_EQ(edit_.ColourAt(0, 0), level);

    edit_.SetRtfTemplate(true);
    edit_.LoadFromBytes("{\\rtf1 ^^INV\n{\\fonttbl{\\f0 Arial;}}\n@3\\par\n{\\strike QTY}???\\par");
    EXPECT_EQ(edit_.ColourAt(0, 0), markup);   // {
    EXPECT_EQ(edit_.ColourAt(0, 2), markup);   // \rtf1
    EXPECT_EQ(edit_.ColourAt(0, 7), format);   // ^^INV
    EXPECT_EQ(edit_.ColourAt(1, 16), markup);  // Arial in the font table
    EXPECT_EQ(edit_.ColourAt(2, 0), level);
    EXPECT_EQ(edit_.ColourAt(2, 3), markup);  // \par on the level line
    EXPECT_EQ(edit_.ColourAt(3, 9), kGreen);  // QTY, the field name
    EXPECT_EQ(edit_.ColourAt(3, 13), kSlotRed);
}

TEST_F(CRRichEditTest, LongLinesColourToTheirEnd) {
    const std::string line = std::string(5000, 'x') + "<ab>" + std::string(10, 'y');
    edit_.LoadFromBytes(line);
    Caret(0, 5002);
    Type("c");
    const std::string colours = Colours(0);
    EXPECT_EQ(colours.substr(4998, 10), "..ggggg...");
    EXPECT_EQ(colours.find('g'), 5000u);
}

TEST_F(CRRichEditTest, ShiftInsertOfSeveralLinesColoursTheWholeText) {
    edit_.LoadFromBytes("ab\nzz <q");
    int keys = 0, last_key = -1;
    edit_.OnKeyDown = [&](TCRRichEdit&, int& key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Shift) return;  // the test presses Shift on its own first
        ++keys;
        last_key = key;
    };
    QGuiApplication::clipboard()->setText("<p>\n<r x>y>\n");
    Caret(0, 1);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit_.toPlainText(), QString("a<p>\n<r x>y>\nb\nzz <q"));
    EXPECT_EQ(Colours(0), ".ggg");
    EXPECT_EQ(Colours(1), "ggggg..");
    EXPECT_EQ(Colours(2), ".");
    EXPECT_EQ(Colours(3), ".....");
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(last_key, 0);
    // One line goes to the plain paste, without the key event; the change handler colours.
    QGuiApplication::clipboard()->setText("<s>");
    Caret(2, 1);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(edit_.toPlainText().split('\n')[2], QString("b<s>"));
    EXPECT_EQ(Colours(2), ".ggg");
}

TEST_F(CRRichEditTest, NewLinesFromEnterAreColoured) {
    edit_.LoadFromBytes("<a> x <b>");
    Caret(0, 4);
    Key(Qt::Key_Return);
    EXPECT_EQ(edit_.toPlainText(), QString("<a> \nx <b>"));
    EXPECT_EQ(Colours(0), "ggg.");
    EXPECT_EQ(Colours(1), "..ggg");
}

TEST_F(CRRichEditTest, ChangeEventsComeFromEditsNotFromColouring) {
    int changes = 0;
    edit_.OnChange = [&](TCRRichEdit&) { ++changes; };
    edit_.LoadFromBytes("<a> b");
    EXPECT_EQ(changes, 1);
    Caret(0, 2);
    Type("x");  // re-colours the line: still one change
    EXPECT_EQ(changes, 2);
    edit_.SetCCActive(false);
    Type("y");
    EXPECT_EQ(changes, 3);
}

TEST_F(CRRichEditTest, LineAndColumnAccessIsClamped) {
    std::string text;
    for (int n = 0; n < 200; ++n) text += "line " + std::to_string(n) + "\n";
    edit_.LoadFromBytes(text);
    EXPECT_EQ(edit_.GetCurrentLine(), 0);
    EXPECT_EQ(edit_.GetTopLine(), 0);
    edit_.SetCurrentLine(150);
    EXPECT_EQ(edit_.GetCurrentLine(), 150);
    EXPECT_EQ(edit_.GetCurrentPosition(), 0);
    EXPECT_GT(edit_.GetTopLine(), 100);
    edit_.SetCurrentLine(1000);
    EXPECT_EQ(edit_.GetCurrentLine(), 199);
    edit_.SetCurrentLine(-3);
    EXPECT_EQ(edit_.GetCurrentLine(), 0);
    EXPECT_EQ(edit_.GetTopLine(), 0);
    edit_.SetCurrentLine(12);
    edit_.SetCurrentPosition(4);
    EXPECT_EQ(edit_.GetCurrentPosition(), 4);
    edit_.SetCurrentPosition(99);
    EXPECT_EQ(edit_.GetCurrentPosition(), 7);  // after "line 12"
    EXPECT_EQ(edit_.GetCurrentLine(), 12);
    edit_.SetCurrentPosition(-1);
    EXPECT_EQ(edit_.GetCurrentPosition(), 0);
    // With a selection the caret's place is the selection's start, whichever way it was
    // made.
    QTextCursor backwards = edit_.textCursor();
    backwards.setPosition(edit_.document()->findBlockByNumber(9).position() + 3);
    backwards.setPosition(edit_.document()->findBlockByNumber(5).position() + 1,
                          QTextCursor::KeepAnchor);
    edit_.setTextCursor(backwards);
    EXPECT_EQ(edit_.GetCurrentLine(), 5);
    EXPECT_EQ(edit_.GetCurrentPosition(), 1);
    // Placing the caret drops a selection.
    QTextCursor cursor = edit_.textCursor();
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    edit_.setTextCursor(cursor);
    edit_.SetCurrentLine(3);
    EXPECT_FALSE(edit_.textCursor().hasSelection());
}

TEST_F(CRRichEditTest, TextGoesBackInTheEncodingItCameIn) {
    edit_.LoadFromBytes("<p>\xE9\x80</p>\r\n");
    EXPECT_EQ(edit_.toPlainText(), QString::fromUtf8("<p>\xC3\xA9\xE2\x82\xAC</p>"));
    EXPECT_EQ(edit_.TemplateBytes(), "<p>\xE9\x80</p>\r\n");
    const std::string rtf = edit_.ColouredRtf();
    EXPECT_NE(rtf.find("\\cf1 <p>\\cf0 \\u233?\\u8364?\\cf1 </p>\\cf0 \r\n\\par }"),
              std::string::npos)
        << rtf;
}

}  // namespace
}  // namespace quillon
