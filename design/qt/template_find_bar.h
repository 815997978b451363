#pragma once
// The editor's find bar: a line to find, a line to replace it with, Next / Previous,
// Replace (the current match, then on to the next) and Replace All (one undo step).

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillon {

class TemplateFindBar : public QWidget {
  public:
    TemplateFindBar(QPlainTextEdit& editor, QWidget* parent = nullptr);

    // Shows the bar with the editor's selection (one line) as the text to find.
    void Open();
    // Selects the next (or previous) match, wrapping around the text; false when there is
    // none.
    bool FindNext();
    bool FindPrevious();
    // Replaces the selected match and selects the next one; false when there was none.
    bool Replace();
    // Replaces every match in one undo step; the number replaced.
    int ReplaceAll();

    QLineEdit& FindText() { return *find_; }
    QLineEdit& ReplaceText() { return *replace_; }
    QCheckBox& MatchCase() { return *match_case_; }
    // What the last search or replace did ("3 replaced", "not found").
    QString Status() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool Find(bool backward);
    bool SelectionIsMatch() const;

    QPlainTextEdit& editor_;
    QLineEdit* find_ = nullptr;
    QLineEdit* replace_ = nullptr;
    QCheckBox* match_case_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace quillon
