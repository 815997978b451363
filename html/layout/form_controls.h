#pragma once
// Form controls. Each keeps its state in the model and, when the document has a control
// host, mirrors it in a platform widget (which then holds what the user typed or chose).
// Sizes follow fixed rules measured on a canvas (SetHeightWidth); submissions are
// "name=value" strings.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/layout/control_host.h"
#include "html/parse/html_attribute.h"
#include "platform/core/canvas.h"

namespace quillon {

class TSectionList;
class ThtmlForm;
class TImageObj;

class TFormControlObj {
  public:
    TFormControlObj(ThtmlForm& form, const TAttributeList& attrs);
    TFormControlObj(const TFormControlObj&) = delete;
    TFormControlObj& operator=(const TFormControlObj&) = delete;
    virtual ~TFormControlObj();

    int CharPos = 0;        // position of its placeholder in the section text
    std::string Value;      // VALUE
    std::string Name;       // NAME
    bool BaseLine = false;  // sits on the text baseline (else on the line's bottom)
    bool ShownThisPaint = false;

    TSectionList& Document() const { return *doc_; }
    ThtmlForm& OwnerForm() const { return *form_; }
    // The platform widget, or nullptr (headless document, hidden and image controls).
    virtual PlatformControl* Control() const { return nullptr; }
    // A short name of the control kind: "edit", "password", "submit", "reset",
    // "checkbox", "radio", "listbox", "combo", "textarea", "hidden", "image".
    virtual const char* KindName() const = 0;
    virtual bool IsHidden() const { return false; }

    // Paints the control's image with its current value at (x, y), Width() x Height()
    // (used when printing or without a widget; the screen shows the widget). Hidden and
    // image controls paint nothing (an image control prints as its image).
    virtual void Draw(Canvas& canvas, int x, int y);
    // Back to the initial value.
    virtual void ResetToValue() {}
    // Takes the value `shown` holds now: a control of the same kind, parsed from the same
    // place of the same document (which is parsed again to print with print's rules).
    virtual void TakeValueOf(const TFormControlObj& /*shown*/) {}
    // The index-th submission string; false when there is none at that index.
    virtual bool GetSubmission(int index, std::string& out);
    // Sizes the control by its rule, measured on the canvas.
    virtual void SetHeightWidth(Canvas& canvas);

    // Laid-out size: the widget's size, or the size computed by SetHeightWidth.
    int Width() const;
    int Height() const;

    // Shows the widget at (x, y) for this paint; Hide puts it away.
    void Show(int x, int y);
    void Hide();

  protected:
    // The font of text controls: the document's fixed-pitch face at 10 points.
    FontSpec TextControlFont() const;
    // Width and height of "A" in the given font.
    static Point MeasureA(Canvas& canvas, const FontSpec& font);
    void SetComputedSize(int width, int height);
    // Gives the widget (when there is one) width x height and takes the size it ends up
    // with; without a widget the size is taken as given.
    void ApplySize(PlatformControl* widget, int width, int height);
    // A new widget starts hidden, off-screen (y = -400), in the given font.
    static void PlaceOffScreen(PlatformControl& control, const FontSpec& font);

  private:
    TSectionList* doc_;
    ThtmlForm* form_;
    int width_ = 0;
    int height_ = 0;
};

// INPUT TYPE=text or password, and INPUT of any other or no TYPE.
class TEditFormControlObj : public TFormControlObj {
  public:
    TEditFormControlObj(ThtmlForm& form, const TAttributeList& attrs, bool password);
    PlatformControl* Control() const override { return edit_.get(); }
    const char* KindName() const override { return password_ ? "password" : "edit"; }
    void ResetToValue() override;
    void TakeValueOf(const TFormControlObj& shown) override;
    bool GetSubmission(int index, std::string& out) override;
    void SetHeightWidth(Canvas& canvas) override;
    void Draw(Canvas& canvas, int x, int y) override;

    bool Password() const { return password_; }
    int SizeChars() const { return size_; }  // SIZE, default 20
    int MaxLength() const { return max_length_; }
    std::string Text() const;
    void SetText(std::string_view text);
    // Enter submits a form with one non-hidden control; scrolling keys go to the viewer.
    bool KeyPressed(ControlKey key);

  private:
    bool password_;
    int size_ = 20;
    int max_length_ = 0;
    std::string text_;
    std::unique_ptr<PlatformEdit> edit_;
};

// INPUT TYPE=submit or reset.
class TButtonFormControlObj : public TFormControlObj {
  public:
    enum class Kind { Submit, Reset };
    TButtonFormControlObj(ThtmlForm& form, const TAttributeList& attrs, Kind kind);
    PlatformControl* Control() const override { return button_.get(); }
    const char* KindName() const override { return kind_ == Kind::Submit ? "submit" : "reset"; }
    void SetHeightWidth(Canvas& canvas) override;
    void Draw(Canvas& canvas, int x, int y) override;

    Kind ButtonKind() const { return kind_; }
    const std::string& Caption() const { return caption_; }
    // A submit button sends the form (with name=value when named); reset resets it.
    void Click();

  private:
    Kind kind_;
    std::string caption_;
    std::unique_ptr<PlatformButton> button_;
};

// What check boxes and radio buttons share: the checked state (the widget's when there
// is one), reset to the CHECKED attribute, and name=value sent while checked.
class TCheckableFormControlObj : public TFormControlObj {
  public:
    PlatformControl* Control() const override { return widget_.get(); }
    void ResetToValue() override;
    void TakeValueOf(const TFormControlObj& shown) override;
    bool GetSubmission(int index, std::string& out) override;
    void SetHeightWidth(Canvas& canvas) override;

    bool InitiallyChecked() const { return initial_; }
    bool Checked() const;
    void SetChecked(bool checked);

  protected:
    // A box of width x height pixels (the widget's own size when it has one).
    TCheckableFormControlObj(ThtmlForm& form, const TAttributeList& attrs, int width, int height);
    // Takes the host's widget (null when headless): off-screen, showing the state.
    void Attach(std::unique_ptr<PlatformCheck> widget);
    PlatformCheck* Widget() const { return widget_.get(); }

  private:
    bool initial_;
    bool checked_;
    int box_width_;
    int box_height_;
    std::unique_ptr<PlatformCheck> widget_;
};

// INPUT TYPE=checkbox.
class TCheckBoxFormControlObj : public TCheckableFormControlObj {
  public:
    TCheckBoxFormControlObj(ThtmlForm& form, const TAttributeList& attrs);
    const char* KindName() const override { return "checkbox"; }
    void Draw(Canvas& canvas, int x, int y) override;
};

// INPUT TYPE=radio.
class TRadioButtonFormControlObj : public TCheckableFormControlObj {
  public:
    TRadioButtonFormControlObj(ThtmlForm& form, const TAttributeList& attrs);
    const char* KindName() const override { return "radio"; }
    void Draw(Canvas& canvas, int x, int y) override;
    // The user checked this button: the others of its name in the form are unchecked.
    void Click();
};

// One OPTION of a SELECT.
struct TSelectOption {
    std::string Text;
    std::string Value;  // empty: the text is submitted
    bool InitiallySelected = false;
    friend bool operator==(const TSelectOption&, const TSelectOption&) = default;
};

// What list boxes and drop-down lists share: the options and their selection.
class TSelectFormControlObj : public TFormControlObj {
  public:
    TSelectFormControlObj(ThtmlForm& form, const TAttributeList& attrs);
    // Adds an option (the parser passes the trimmed text, the VALUE and SELECTED).
    void AddStr(std::string_view text, std::string_view value, bool selected);
    const std::vector<TSelectOption>& Options() const { return options_; }
    void ResetToValue() override;
    void TakeValueOf(const TFormControlObj& shown) override;
    bool GetSubmission(int index, std::string& out) override;

    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    // Characters of the longest option text.
    int LongestOption() const;

  protected:
    virtual PlatformList* List() const = 0;
    virtual bool MultiSelect() const = 0;

  private:
    std::vector<TSelectOption> options_;
    std::vector<bool> selected_;
};

// SELECT with MULTIPLE or SIZE > 1.
class TListBoxFormControlObj : public TSelectFormControlObj {
  public:
    TListBoxFormControlObj(ThtmlForm& form, const TAttributeList& attrs);
    PlatformControl* Control() const override { return list_.get(); }
    const char* KindName() const override { return "listbox"; }
    void SetHeightWidth(Canvas& canvas) override;
    void Draw(Canvas& canvas, int x, int y) override;
    bool Multiple() const { return multiple_; }
    int SizeRows() const { return size_; }  // SIZE, 0 when not given
    // Visible rows: SIZE, or without it the option count clamped to 1..8.
    int Rows() const;

  protected:
    PlatformList* List() const override { return list_.get(); }
    bool MultiSelect() const override { return multiple_; }

  private:
    bool multiple_;
    int size_ = 0;
    std::unique_ptr<PlatformList> list_;
};

// SELECT shown as a drop-down list.
class TComboFormControlObj : public TSelectFormControlObj {
  public:
    TComboFormControlObj(ThtmlForm& form, const TAttributeList& attrs);
    PlatformControl* Control() const override { return combo_.get(); }
    const char* KindName() const override { return "combo"; }
    void ResetToValue() override;
    void SetHeightWidth(Canvas& canvas) override;
    void Draw(Canvas& canvas, int x, int y) override;

  protected:
    PlatformList* List() const override { return combo_.get(); }
    bool MultiSelect() const override { return false; }

  private:
    std::unique_ptr<PlatformList> combo_;
};

// TEXTAREA.
class TTextAreaFormControlObj : public TFormControlObj {
  public:
    TTextAreaFormControlObj(ThtmlForm& form, const TAttributeList& attrs);
    PlatformControl* Control() const override { return edit_.get(); }
    const char* KindName() const override { return "textarea"; }
    // Adds a line of the initial text (the parser passes each line of the contents).
    void AddStr(std::string_view line);
    void ResetToValue() override;
    void TakeValueOf(const TFormControlObj& shown) override;
    bool GetSubmission(int index, std::string& out) override;
    void SetHeightWidth(Canvas& canvas) override;
    void Draw(Canvas& canvas, int x, int y) override;

    int Rows() const { return rows_; }  // ROWS, default 5
    int Cols() const { return cols_; }  // COLS, default 30
    const std::vector<std::string>& InitialLines() const { return initial_; }
    std::string Text() const;  // lines separated by '\n'
    void SetText(std::string_view text);

  private:
    int rows_ = 5;
    int cols_ = 30;
    std::vector<std::string> initial_;
    std::string text_;
    std::unique_ptr<PlatformEdit> edit_;
};

// INPUT TYPE=hidden.
class THiddenFormControlObj : public TFormControlObj {
  public:
    using TFormControlObj::TFormControlObj;
    const char* KindName() const override { return "hidden"; }
    bool IsHidden() const override { return true; }
    bool GetSubmission(int index, std::string& out) override;
};

// INPUT TYPE=image: an image that submits the form with the click position.
class TImageFormControlObj : public TFormControlObj {
  public:
    using TFormControlObj::TFormControlObj;
    const char* KindName() const override { return "image"; }
    bool GetSubmission(int index, std::string& out) override;

    TImageObj* MyImage = nullptr;  // the image shown for it (owned by its section)
    // Records a click at (x, y) relative to the image; sent once with the next submission.
    void SetClickPosition(int x, int y);
    // Records the click and submits the form.
    void ImageClick(int x, int y);
    bool HasClick() const { return clicked_; }

  private:
    int x_ = 0;
    int y_ = 0;
    bool clicked_ = false;
};

}  // namespace quillon
