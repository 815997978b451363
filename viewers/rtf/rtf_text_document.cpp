#include "viewers/rtf/rtf_text_document.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include "viewers/rtf/rtf_reader.h"

namespace quillon {

namespace {

QFont::StyleHint StyleHintOf(const rtf::RtfFont& font) {
    if (font.fixed_pitch) return QFont::TypeWriter;
    switch (font.family) {
        case rtf::RtfFontFamily::Roman:
            return QFont::Serif;
        case rtf::RtfFontFamily::Swiss:
            return QFont::SansSerif;
        case rtf::RtfFontFamily::Modern:
            return QFont::TypeWriter;
        case rtf::RtfFontFamily::Script:
            return QFont::Cursive;
        case rtf::RtfFontFamily::Decor:
            return QFont::Decorative;
        default:
            return QFont::AnyStyle;
    }
}

QTextCharFormat CharFormatOf(const rtf::RtfCharFormat& format,
                             const std::vector<rtf::RtfFont>& fonts) {
    QTextCharFormat out;
    out.setFontPointSize(format.font_size);
    out.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(format.italic);
    out.setFontUnderline(format.underline);
    out.setFontStrikeOut(format.strike);
    if (format.vertical == rtf::RtfVerticalAlign::Superscript) {
        out.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (format.vertical == rtf::RtfVerticalAlign::Subscript) {
        out.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    if (format.color) {
        out.setForeground(QColor(format.color->red, format.color->green, format.color->blue));
    }
    if (format.font >= 0 && static_cast<std::size_t>(format.font) < fonts.size()) {
        const rtf::RtfFont& font = fonts[static_cast<std::size_t>(format.font)];
        if (!font.name.empty()) {
            out.setFontFamilies(QStringList{QString::fromStdString(font.name)});
        }
        out.setFontStyleHint(StyleHintOf(font));
        out.setFontFixedPitch(font.fixed_pitch);
    }
    return out;
}

QTextBlockFormat BlockFormatOf(const rtf::RtfParagraph& paragraph) {
    QTextBlockFormat out;
    switch (paragraph.alignment) {
        case rtf::RtfAlignment::Left:
            out.setAlignment(Qt::AlignLeft);
            break;
        case rtf::RtfAlignment::Center:
            out.setAlignment(Qt::AlignHCenter);
            break;
        case rtf::RtfAlignment::Right:
            out.setAlignment(Qt::AlignRight);
            break;
        case rtf::RtfAlignment::Justify:
            out.setAlignment(Qt::AlignJustify);
            break;
    }
    if (paragraph.page_break_before) out.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return out;
}

// Qt lays out and keeps the glyphs of a whole block at once, which for a paragraph of
// megabytes takes seconds and hundreds of megabytes: a paragraph is kept as blocks of at
// most this many UTF-16 units, each continuing the one before.
constexpr qsizetype kLongBlock = 4096;
constexpr qsizetype kBreakRoom = 256;

// Where to cut text so that the block takes at most room more units: after the last blank
// near that point, else at it (never inside a surrogate pair).
qsizetype BlockCut(const QString& text, qsizetype room) {
    for (qsizetype i = room; i > 0 && i > room - kBreakRoom; --i) {
        if (text[i - 1] == u' ') return i;
    }
    if (room > 0 && room < text.size() && text[room].isLowSurrogate()) return room - 1;
    return room;
}

// Opens the next piece of the paragraph: its alignment, no second page break.
void ContinueBlock(QTextCursor& cursor, const QTextBlockFormat& block,
                   const QTextCharFormat& mark) {
    QTextBlockFormat next = block;
    next.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    cursor.insertBlock(next, mark);
}

}  // namespace

// The Qt formats of the reader's formats, each made once: a report repeats a handful of
// formats over thousands of runs.
class CharFormats {
  public:
    explicit CharFormats(const std::vector<rtf::RtfFont>& fonts) : fonts_(fonts) {}

    const QTextCharFormat& Of(const rtf::RtfCharFormat& format) {
        if (last_ < entries_.size() && entries_[last_].first == format) {
            return entries_[last_].second;
        }
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].first == format) {
                last_ = i;
                return entries_[i].second;
            }
        }
        last_ = entries_.size();
        entries_.emplace_back(format, CharFormatOf(format, fonts_));
        return entries_.back().second;
    }

  private:
    const std::vector<rtf::RtfFont>& fonts_;
    std::vector<std::pair<rtf::RtfCharFormat, QTextCharFormat>> entries_;
    std::size_t last_ = 0;
};

void LoadRtfIntoDocument(QTextDocument& doc, std::string_view rtf) {
    const rtf::RtfDocument model = rtf::ReadRtf(rtf);

    // Loading is no edit a user could undo; the undo stack is left empty.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    CharFormats formats(model.fonts);
    QTextCursor cursor(&doc);
    // One edit: a layout watching the document hears of it once, at its end.
    cursor.beginEditBlock();
    bool first = true;
    for (const rtf::RtfParagraph& paragraph : model.paragraphs) {
        const QTextBlockFormat block = BlockFormatOf(paragraph);
        const QTextCharFormat& mark = formats.Of(paragraph.mark_format);
        if (first) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(mark);
            first = false;
        } else {
            cursor.insertBlock(block, mark);
        }
        qsizetype in_block = 0;
        for (const rtf::RtfRun& run : paragraph.runs) {
            QString text =
                QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size()));
            const QTextCharFormat& format = formats.Of(run.format);
            while (in_block + text.size() > kLongBlock) {
                const qsizetype cut = BlockCut(text, kLongBlock - in_block);
                cursor.insertText(text.left(cut), format);
                ContinueBlock(cursor, block, mark);
                text.remove(0, cut);
                in_block = 0;
            }
            cursor.insertText(text, format);
            in_block += text.size();
        }
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

}  // namespace quillon
