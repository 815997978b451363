#pragma once
// `TCRRichEdit`: a plain-text editor for template text in which every span from an opening
// character ("<") to a closing one (">") is shown in a colour of its own, and field slots,
// level marker lines ("@N") and format headers ("^^NAME") in theirs. Loading colours the
// whole text; typing re-reads the spans of the edited line only when the edit can have
// changed which characters belong to a span. RTF templates are coloured on their visible
// text, their control words in grey. Colours are a highlighter's, not the document's: they
// add no undo steps and do not mark the text modified.

#include <QPlainTextEdit>
#include <QTextBlock>

#include <filesystem>
#include <functional>
#include <istream>
#include <string>
#include <string_view>

#include "design/template_text.h"
#include "platform/core/rgba_image.h"

namespace quillon {

class TemplateHighlighter;

class TCRRichEdit : public QPlainTextEdit {
  public:
    explicit TCRRichEdit(QWidget* parent = nullptr);

    // --- properties ---------------------------------------------------------------------
    char16_t ColorFromChar() const { return color_from_; }
    void SetColorFromChar(char16_t c) { color_from_ = c; }
    char16_t ColorToChar() const { return color_to_; }
    void SetColorToChar(char16_t c) { color_to_ = c; }
    // The span colour, 0x00RRGGBB (default green, 0x008000).
    Color ColorValue() const { return color_value_; }
    void SetColorValue(Color c);
    // Colour coding on; when off the editor is a plain text editor.
    bool CCActive() const { return cc_active_; }
    void SetCCActive(bool on);
    // RTF templates are coloured on their visible text (control words in grey).
    bool RtfTemplate() const { return rtf_; }
    void SetRtfTemplate(bool rtf);
    // The colour the character at (line, column) is shown in.
    QColor ColourAt(int line, int column) const;

    // --- loading ------------------------------------------------------------------------
    // Loads a template (UTF-8 or Windows-1252, any line breaks). Throws std::runtime_error
    // naming the file when it cannot be read.
    void LoadFromFile(const std::filesystem::path& file_name);
    // Loads from a stream (read from its start when it can seek). Throws
    // std::runtime_error when the stream cannot be read.
    void LoadFromStream(std::istream& stream);
    // Loads template bytes already in memory.
    void LoadFromBytes(std::string_view bytes);
    // The encoding, line break and final line break of the text loaded last.
    const design::TemplateFileStyle& FileStyle() const { return style_; }
    // The text as the bytes of a template file in the style it was loaded in;
    // utf8_fallback as for design::EncodeTemplate.
    std::string TemplateBytes(bool* utf8_fallback = nullptr) const;
    // The text as a coloured RTF document, in the editor's font and span colour.
    std::string ColouredRtf() const;

    // --- line and column access ---------------------------------------------------------
    int GetCurrentLine() const;      // the line of the caret (selection start), from 0
    int GetCurrentPosition() const;  // its column in that line, from 0
    int GetTopLine() const;          // the first visible line
    // Caret to the start of line L, clamped to the existing lines; no selection.
    void SetCurrentLine(int L);
    // Caret to column P of the current line, clamped to 0 .. its length; no selection.
    void SetCurrentPosition(int P);

    // --- events -------------------------------------------------------------------------
    // After every change of the text (and once after loading), before re-colouring.
    std::function<void(TCRRichEdit& sender)> OnChange;
    // Before a key is handled (after a multi-line Shift+Insert paste, with key 0). Setting
    // key to 0 consumes it.
    std::function<void(TCRRichEdit& sender, int& key, Qt::KeyboardModifiers shift)> OnKeyDown;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class TemplateHighlighter;
    // The line that holds the start of the selection (the caret when there is none).
    QTextBlock CurrentBlock() const;
    void ContentsChanged();
    void PasteLinesAndRecolour();

    char16_t color_from_ = u'<';
    char16_t color_to_ = u'>';
    Color color_value_ = 0x008000;
    bool cc_active_ = true;
    bool rtf_ = false;

    bool loading_ = false;  // the text is being loaded: no change events
    design::TemplateFileStyle style_;
    TemplateHighlighter* highlighter_ = nullptr;  // owned by the document
};

}  // namespace quillon
