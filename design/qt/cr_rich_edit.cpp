#include "design/qt/cr_rich_edit.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "design/colour_spans.h"
#include "design/coloured_rtf.h"
#include "design/line_access.h"
#include "design/line_change.h"

namespace quillon {

namespace {

QTextCharFormat Foreground(const QColor& colour) {
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

// Merges a foreground colour into characters start .. start + length of the document.
void Paint(QTextCursor& cursor, int start, int length, const QTextCharFormat& format) {
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
}

// RAII flag: set for the lifetime of the guard.
class FlagGuard {
  public:
    explicit FlagGuard(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = saved_; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

  private:
    bool& flag_;
    bool saved_;
};

}  // namespace

TCRRichEdit::TCRRichEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                ContentsChanged(position, removed, added);
            });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { TypeInNormalColour(); });
}

QColor TCRRichEdit::NormalColour() const {
    return palette().color(QPalette::Text);
}

QColor TCRRichEdit::SpanColour() const {
    return QColor::fromRgb(static_cast<QRgb>(color_value_));
}

// --- loading ---------------------------------------------------------------------------

void TCRRichEdit::LoadFromFile(const std::filesystem::path& file_name) {
    std::ifstream in(file_name, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + file_name.string() + ": " + std::strerror(errno));
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw std::runtime_error("cannot read " + file_name.string());
    LoadFromBytes(bytes.str());
}

void TCRRichEdit::LoadFromStream(std::istream& stream) {
    stream.clear();
    stream.seekg(0);
    stream.clear();  // a stream that cannot seek is read from where it stands
    std::ostringstream bytes;
    if (stream.peek() != std::char_traits<char>::eof()) bytes << stream.rdbuf();
    if (stream.bad()) throw std::runtime_error("cannot read the template stream");
    LoadFromBytes(bytes.str());
}

void TCRRichEdit::LoadFromBytes(std::string_view bytes) {
    design::TemplateText text = design::DecodeTemplate(bytes);
    style_ = text.style;
    FlagGuard loading(loading_);
    if (!cc_active_) {
        std::u16string joined;
        for (std::size_t n = 0; n < text.lines.size(); ++n) {
            if (n > 0) joined += u'\n';
            joined += text.lines[n];
        }
        setPlainText(QString::fromStdU16String(joined));
        document()->setModified(false);
        if (OnChange) OnChange(*this);
        return;
    }
    const QTextCharFormat normal = Foreground(NormalColour());
    const QTextCharFormat span = Foreground(SpanColour());
    document()->clear();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.setCharFormat(normal);
    for (std::size_t n = 0; n < text.lines.size(); ++n) {
        if (n > 0) cursor.insertBlock(QTextBlockFormat(), normal);
        const std::u16string_view line = text.lines[n];
        std::size_t done = 0;
        for (const design::Span& s : design::LoadSpans(line, color_from_, color_to_)) {
            cursor.insertText(
                QString::fromStdU16String(std::u16string(line.substr(done, s.first - done))),
                normal);
            cursor.insertText(QString::fromStdU16String(
                                  std::u16string(line.substr(s.first, s.last + 1 - s.first))),
                              span);
            done = s.last + 1;
        }
        cursor.insertText(QString::fromStdU16String(std::u16string(line.substr(done))), normal);
    }
    cursor.endEditBlock();
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    setTextCursor(QTextCursor(document()));
    if (OnChange) OnChange(*this);
}

std::string TCRRichEdit::TemplateBytes(bool* utf8_fallback) const {
    return design::EncodeTemplate(toPlainText().toStdU16String(), style_, utf8_fallback);
}

std::string TCRRichEdit::ColouredRtf() const {
    std::vector<std::u16string> lines;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        lines.push_back(b.text().toStdU16String());
    }
    // An empty editor holds one empty line; as a document it has none.
    if (lines.size() == 1 && lines.front().empty()) lines.clear();
    design::ColouredRtfOptions options;
    options.font_name = font().family().toStdString();
    options.font_size_pt =
        font().pointSizeF() > 0 ? font().pointSizeF() : font().pixelSize() * 0.75;
    options.span_color = color_value_;
    options.open = color_from_;
    options.close = color_to_;
    return design::BuildColouredRtf(lines, options);
}

// --- line and column access ------------------------------------------------------------

QTextBlock TCRRichEdit::CurrentBlock() const {
    return document()->findBlock(textCursor().selectionStart());
}

int TCRRichEdit::GetCurrentLine() const {
    return CurrentBlock().blockNumber();
}

int TCRRichEdit::GetCurrentPosition() const {
    return textCursor().selectionStart() - CurrentBlock().position();
}

int TCRRichEdit::GetTopLine() const {
    return firstVisibleBlock().blockNumber();
}

void TCRRichEdit::SetCurrentLine(int L) {
    const QTextBlock block =
        document()->findBlockByNumber(design::ClampLine(L, document()->blockCount()));
    QTextCursor cursor = textCursor();
    cursor.setPosition(block.position());
    setTextCursor(cursor);
}

void TCRRichEdit::SetCurrentPosition(int P) {
    const QTextBlock block = CurrentBlock();
    QTextCursor cursor = textCursor();
    cursor.setPosition(block.position() + design::ClampColumn(P, block.length() - 1));
    setTextCursor(cursor);
}

// --- re-colouring ----------------------------------------------------------------------

void TCRRichEdit::TypeInNormalColour() {
    if (!cc_active_ || colouring_) return;
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) return;
    if (cursor.charFormat().foreground().color() == NormalColour()) return;
    QTextCharFormat format = cursor.charFormat();
    format.setForeground(NormalColour());
    // Without a selection this only sets the format of text typed next.
    cursor.setCharFormat(format);
    FlagGuard colouring(colouring_);
    setTextCursor(cursor);
}

void TCRRichEdit::RecolourBlock(const QTextBlock& block) {
    const std::u16string line = block.text().toStdU16String();
    const QTextCharFormat normal = Foreground(NormalColour());
    const QTextCharFormat span = Foreground(SpanColour());
    FlagGuard colouring(colouring_);
    QTextCursor cursor(document());
    cursor.joinPreviousEditBlock();
    for (const design::MapRun& run :
         design::MapRuns(design::TypingColourMap(line, color_from_, color_to_))) {
        if (run.value == design::MapValue::Keep) continue;
        Paint(cursor, block.position() + static_cast<int>(run.start), static_cast<int>(run.length),
              run.value == design::MapValue::InSpan ? span : normal);
    }
    cursor.endEditBlock();
}

void TCRRichEdit::RecolourAll() {
    const QTextCharFormat normal = Foreground(NormalColour());
    const QTextCharFormat span = Foreground(SpanColour());
    FlagGuard colouring(colouring_);
    QTextCursor cursor(document());
    cursor.joinPreviousEditBlock();
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const std::u16string line = b.text().toStdU16String();
        if (line.empty()) continue;
        Paint(cursor, b.position(), static_cast<int>(line.size()), normal);
        for (const design::Span& s : design::LoadSpans(line, color_from_, color_to_)) {
            Paint(cursor, b.position() + static_cast<int>(s.first),
                  static_cast<int>(s.last + 1 - s.first), span);
        }
    }
    cursor.endEditBlock();
}

void TCRRichEdit::ContentsChanged(int position, int /*removed*/, int added) {
    if (colouring_ || loading_) return;
    if (OnChange) OnChange(*this);
    if (!cc_active_) return;

    // Lines an edit created or joined (Enter, a pasted block, a deleted line break) are
    // re-coloured beside the caret's line, so that none keeps the colours of the text it
    // was cut from.
    const QTextBlock first = document()->findBlock(position);
    const QTextBlock last = document()->findBlock(position + added);
    const int caret_line = GetCurrentLine();
    if (first.blockNumber() != last.blockNumber()) {
        for (QTextBlock b = first; b.isValid() && b.blockNumber() <= last.blockNumber();
             b = b.next()) {
            if (b.blockNumber() != caret_line) RecolourBlock(b);
        }
    }

    const QTextBlock block = CurrentBlock();
    const std::u16string now = block.text().toStdU16String();
    switch (design::DecideLineChange(caret_line == last_line_, last_text_, now, color_from_,
                                     color_to_)) {
        case design::LineChange::Ignore:
        case design::LineChange::Unchanged:
            return;
        case design::LineChange::OutsideSpan:
            last_text_ = now;
            return;
        case design::LineChange::Recolour:
            last_line_ = caret_line;
            last_text_ = now;
            RecolourBlock(block);
            TypeInNormalColour();
            return;
    }
}

void TCRRichEdit::PasteLinesAndRecolour() {
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    {
        FlagGuard colouring(colouring_);  // the whole text is coloured once, below
        paste();
    }
    RecolourAll();
    TypeInNormalColour();
    setUpdatesEnabled(updates);
    if (OnChange) OnChange(*this);
}

void TCRRichEdit::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    const Qt::KeyboardModifiers shift = event->modifiers();
    if (cc_active_ && (shift & Qt::ShiftModifier) && key == Qt::Key_Insert) {
        const QString clip = QGuiApplication::clipboard()->text();
        if (!clip.contains(u'\n') && !clip.contains(u'\r')) {
            paste();  // one line: the change handler colours it
            event->accept();
            return;
        }
        PasteLinesAndRecolour();
        key = 0;
    }
    if (OnKeyDown) OnKeyDown(*this, key, shift);
    if (key == 0) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

}  // namespace quillon
