#include "design/qt/cr_rich_edit.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

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
#include "design/template_colours.h"

namespace quillon {

namespace {

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

// What a line looked like when its spans were last read: the spans are read again only
// when an edit can have changed them.
class LineMemory : public QTextBlockUserData {
  public:
    LineMemory(std::u16string text, std::vector<design::TemplateColour> spans)
        : text(std::move(text)), spans(std::move(spans)) {}
    std::u16string text;
    std::vector<design::TemplateColour> spans;
};

}  // namespace

// Colours lines as formats of the text layout (outside the document's undo stack).
class TemplateHighlighter : public QSyntaxHighlighter {
  public:
    TemplateHighlighter(TCRRichEdit& edit, QTextDocument* document)
        : QSyntaxHighlighter(document), edit_(edit) {}

    // Colours every line as loading does.
    void RecolourAll() {
        FlagGuard full(full_);
        rehighlight();
    }
    bool full_ = false;  // lines are read as loading reads them

  protected:
    void highlightBlock(const QString& text) override {
        if (!edit_.cc_active_) return;
        const std::u16string line = text.toStdU16String();
        std::vector<design::TemplateColour> map;
        if (edit_.rtf_) {
            design::RtfLineState state = design::DecodeRtfLineState(previousBlockState());
            map = design::RtfLineColours(line, state);
            setCurrentBlockState(design::EncodeRtfLineState(state));
        } else {
            map = Spans(line);
            design::MarkTemplateFields(line, map);
        }
        for (const Run& run : Runs(map)) {
            if (run.colour != design::TemplateColour::Normal) {
                setFormat(run.start, run.length, Format(run.colour));
            }
        }
    }

  private:
    struct Run {
        int start = 0;
        int length = 0;
        design::TemplateColour colour{};
    };
    static std::vector<Run> Runs(const std::vector<design::TemplateColour>& map) {
        std::vector<Run> runs;
        for (std::size_t k = 0; k < map.size(); ++k) {
            if (!runs.empty() && runs.back().colour == map[k]) {
                ++runs.back().length;
            } else {
                runs.push_back({static_cast<int>(k), 1, map[k]});
            }
        }
        return runs;
    }

    // The span colours of a line: read whole when loading or for a new line; after an edit
    // read again only when the edit can have changed them, otherwise carried over.
    std::vector<design::TemplateColour> Spans(const std::u16string& line) {
        const auto* memory = dynamic_cast<LineMemory*>(currentBlockUserData());
        std::vector<design::TemplateColour> spans;
        if (full_ || memory == nullptr) {
            spans = full_ ? design::LoadSpanColours(line, edit_.color_from_, edit_.color_to_)
                          : design::TypingSpanColours(line, edit_.color_from_, edit_.color_to_);
        } else {
            switch (design::DecideLineChange(true, memory->text, line, edit_.color_from_,
                                             edit_.color_to_)) {
                case design::LineChange::Unchanged:
                    spans = memory->spans;
                    break;
                case design::LineChange::Ignore:
                case design::LineChange::OutsideSpan:
                    spans = design::CarryColours(memory->text, memory->spans, line);
                    break;
                case design::LineChange::Recolour:
                    spans = design::TypingSpanColours(line, edit_.color_from_, edit_.color_to_);
                    break;
            }
        }
        // The block takes ownership of its user data.
        setCurrentBlockUserData(std::make_unique<LineMemory>(line, spans).release());
        return spans;
    }

    QTextCharFormat Format(design::TemplateColour colour) const {
        QTextCharFormat format;
        switch (colour) {
            case design::TemplateColour::Normal:
                break;
            case design::TemplateColour::Span:
                format.setForeground(QColor::fromRgb(static_cast<QRgb>(edit_.color_value_)));
                break;
            case design::TemplateColour::Slot:
                format.setForeground(QColor(0xB0, 0x00, 0x00));
                break;
            case design::TemplateColour::Level:
                format.setForeground(QColor(0x00, 0x00, 0xC0));
                format.setFontWeight(QFont::Bold);
                break;
            case design::TemplateColour::FormatName:
                format.setForeground(QColor(0x80, 0x00, 0x80));
                format.setFontWeight(QFont::Bold);
                break;
            case design::TemplateColour::Markup:
                format.setForeground(QColor(0x90, 0x90, 0x90));
                break;
        }
        return format;
    }

    TCRRichEdit& edit_;
};

TCRRichEdit::TCRRichEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Connected before the highlighter: the change event comes before the re-colouring.
    connect(document(), &QTextDocument::contentsChange, this, [this] { ContentsChanged(); });
    highlighter_ = new TemplateHighlighter(*this, document());
}

void TCRRichEdit::SetColorValue(Color c) {
    color_value_ = c & 0xFFFFFFu;
    highlighter_->rehighlight();
}

void TCRRichEdit::SetCCActive(bool on) {
    if (cc_active_ == on) return;
    cc_active_ = on;
    highlighter_->RecolourAll();
}

void TCRRichEdit::SetRtfTemplate(bool rtf) {
    if (rtf_ == rtf) return;
    rtf_ = rtf;
    highlighter_->RecolourAll();
}

QColor TCRRichEdit::ColourAt(int line, int column) const {
    const QTextBlock block = document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (column >= range.start && column < range.start + range.length &&
            range.format.hasProperty(QTextFormat::ForegroundBrush)) {
            return range.format.foreground().color();
        }
    }
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + column + 1);
    if (cursor.charFormat().hasProperty(QTextFormat::ForegroundBrush)) {
        return cursor.charFormat().foreground().color();
    }
    return palette().color(QPalette::Text);
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
    std::u16string joined;
    for (std::size_t n = 0; n < text.lines.size(); ++n) {
        if (n > 0) joined += u'\n';
        joined += text.lines[n];
    }
    {
        FlagGuard loading(loading_);
        FlagGuard full(highlighter_->full_);
        setPlainText(QString::fromStdU16String(joined));
    }
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

// --- changes ---------------------------------------------------------------------------

void TCRRichEdit::ContentsChanged() {
    if (loading_) return;
    if (OnChange) OnChange(*this);
}

void TCRRichEdit::PasteLinesAndRecolour() {
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    {
        FlagGuard loading(loading_);  // one change event for the whole paste, below
        paste();
    }
    highlighter_->RecolourAll();
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
