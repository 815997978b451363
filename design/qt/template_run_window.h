#pragma once
// The window of the editor's Run: the levels of the template as the loader understood the
// text being edited (a formatted page), the loader's messages and what the preview of the
// report shows.

#include <QWidget>

#include <string>

#include "design/template_levels.h"

class QLabel;
class QTextBrowser;

namespace quillon {

// What running the text being edited found.
struct TemplateRunResult {
    bool loaded = false;
    design::TemplateLevels levels;  // when loaded
    std::string messages;           // the loader's messages, one a line
    std::string preview;            // what the report preview shows, or why there is none
};

class TemplateRunWindow : public QWidget {
  public:
    explicit TemplateRunWindow(QWidget* parent = nullptr);

    void Show(const TemplateRunResult& result);

    QTextBrowser& Levels() { return *levels_; }
    QLabel& Note() { return *note_; }

  private:
    QLabel* note_ = nullptr;
    QTextBrowser* levels_ = nullptr;
};

}  // namespace quillon
