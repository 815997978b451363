#include "html/view/qt/qt_form_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/font_families.h"

namespace quillon {

namespace {

QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The widget side every control shares. The document owns the control; the widget is a
// child of the paint panel and is deleted with the control (or earlier with the panel).
template <class Interface, class W>
class QtControl : public Interface {
  public:
    explicit QtControl(W* widget) : w_(widget) {
        w_->hide();
        w_->setFocusPolicy(Qt::ClickFocus);
    }
    ~QtControl() override { delete w_.data(); }

    void SetPosition(int x, int y) override {
        if (w_) w_->move(x, y);
    }
    Point Position() const override { return w_ ? Point{w_->x(), w_->y()} : Point{}; }
    void SetSize(int width, int height) override {
        if (!w_) return;
        w_->resize(width < 0 ? w_->width() : width, height < 0 ? w_->height() : height);
    }
    void SetClientSize(int width, int height) override {
        if (!w_) return;
        const QMargins m = w_->contentsMargins();
        SetSize(width < 0 ? -1 : width + m.left() + m.right(),
                height < 0 ? -1 : height + m.top() + m.bottom());
    }
    int Width() const override { return w_ ? w_->width() : 0; }
    int Height() const override { return w_ ? w_->height() : 0; }
    void SetVisible(bool visible) override {
        if (w_) w_->setVisible(visible);
    }
    bool Visible() const override { return w_ && !w_->isHidden(); }
    void SetFont(const FontSpec& font) override {
        if (w_) w_->setFont(MakeQFont(font, Canvas::kLogicalDpi));
    }
    void SetBackground(Color color) override {
        if (!w_) return;
        QPalette p = w_->palette();
        p.setColor(QPalette::Window, QColor::fromRgb(color));
        w_->setPalette(p);
        w_->setAutoFillBackground(true);
    }

  protected:
    QPointer<W> w_;
};

// Enter, Page Up, Page Down, Home and End of a text control go to its form control first.
class KeyForwarder : public QObject {
  public:
    explicit KeyForwarder(PlatformEdit& edit) : edit_(edit) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !edit_.on_key) {
            return QObject::eventFilter(watched, event);
        }
        std::optional<ControlKey> key;
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                key = ControlKey::Enter;
                break;
            case Qt::Key_PageUp:
                key = ControlKey::PageUp;
                break;
            case Qt::Key_PageDown:
                key = ControlKey::PageDown;
                break;
            case Qt::Key_Home:
                key = ControlKey::Home;
                break;
            case Qt::Key_End:
                key = ControlKey::End;
                break;
            default:
                break;
        }
        return key && edit_.on_key(*key);
    }

  private:
    PlatformEdit& edit_;
};

class QtLineEdit : public QtControl<PlatformEdit, QLineEdit> {
  public:
    QtLineEdit(QWidget* parent, const EditOptions& options)
        : QtControl(new QLineEdit(parent)), keys_(*this) {
        if (options.password) w_->setEchoMode(QLineEdit::Password);
        if (options.max_length > 0) w_->setMaxLength(options.max_length);
        w_->installEventFilter(&keys_);
    }
    ~QtLineEdit() override {
        if (w_) w_->removeEventFilter(&keys_);
    }
    std::string Text() const override { return w_ ? w_->text().toStdString() : std::string(); }
    void SetText(std::string_view text) override {
        if (w_) w_->setText(ToQString(text));
    }

  private:
    KeyForwarder keys_;
};

class QtTextArea : public QtControl<PlatformEdit, QPlainTextEdit> {
  public:
    explicit QtTextArea(QWidget* parent) : QtControl(new QPlainTextEdit(parent)) {
        w_->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    std::string Text() const override {
        return w_ ? w_->toPlainText().toStdString() : std::string();
    }
    void SetText(std::string_view text) override {
        if (w_) w_->setPlainText(ToQString(text));
    }
};

class QtButton : public QtControl<PlatformButton, QPushButton> {
  public:
    QtButton(QWidget* parent, std::string_view caption)
        : QtControl(new QPushButton(ToQString(caption), parent)) {
        QObject::connect(w_.data(), &QPushButton::clicked, [this] {
            if (on_click) on_click();
        });
    }
};

template <class W>
class QtCheck : public QtControl<PlatformCheck, W> {
  public:
    explicit QtCheck(W* widget) : QtControl<PlatformCheck, W>(widget) {
        // Radio groups are the document's forms, not the panel's children.
        widget->setAutoExclusive(false);
        QObject::connect(widget, &W::clicked, [this] {
            if (this->on_click) this->on_click();
        });
    }
    bool Checked() const override { return this->w_ && this->w_->isChecked(); }
    void SetChecked(bool checked) override {
        if (this->w_) this->w_->setChecked(checked);
    }
};

class QtListBox : public QtControl<PlatformList, QListWidget> {
  public:
    QtListBox(QWidget* parent, bool multi) : QtControl(new QListWidget(parent)) {
        w_->setSelectionMode(multi ? QAbstractItemView::MultiSelection
                                   : QAbstractItemView::SingleSelection);
    }
    void AddItem(std::string_view text) override {
        if (w_) w_->addItem(ToQString(text));
    }
    void ClearItems() override {
        if (w_) w_->clear();
    }
    int ItemCount() const override { return w_ ? w_->count() : 0; }
    bool Selected(int index) const override {
        return w_ && index >= 0 && index < w_->count() && w_->item(index)->isSelected();
    }
    void SetSelected(int index, bool selected) override {
        if (w_ && index >= 0 && index < w_->count()) w_->item(index)->setSelected(selected);
    }
};

class QtComboBox : public QtControl<PlatformList, QComboBox> {
  public:
    explicit QtComboBox(QWidget* parent) : QtControl(new QComboBox(parent)) {}
    void AddItem(std::string_view text) override {
        if (w_) w_->addItem(ToQString(text));
    }
    void ClearItems() override {
        if (w_) w_->clear();
    }
    int ItemCount() const override { return w_ ? w_->count() : 0; }
    bool Selected(int index) const override { return w_ && w_->currentIndex() == index; }
    void SetSelected(int index, bool selected) override {
        if (!w_) return;
        if (selected) {
            w_->setCurrentIndex(index);
        } else if (w_->currentIndex() == index) {
            w_->setCurrentIndex(-1);
        }
    }
};

}  // namespace

std::unique_ptr<PlatformEdit> QtControlHost::CreateEdit(const EditOptions& desc) {
    if (desc.multi_line) return std::make_unique<QtTextArea>(parent_);
    return std::make_unique<QtLineEdit>(parent_, desc);
}

std::unique_ptr<PlatformButton> QtControlHost::CreateButton(std::string_view caption) {
    return std::make_unique<QtButton>(parent_, caption);
}

std::unique_ptr<PlatformCheck> QtControlHost::CreateCheckBox() {
    return std::make_unique<QtCheck<QCheckBox>>(new QCheckBox(parent_));
}

std::unique_ptr<PlatformCheck> QtControlHost::CreateRadioButton() {
    return std::make_unique<QtCheck<QRadioButton>>(new QRadioButton(parent_));
}

std::unique_ptr<PlatformList> QtControlHost::CreateListBox(bool multi_select) {
    return std::make_unique<QtListBox>(parent_, multi_select);
}

std::unique_ptr<PlatformList> QtControlHost::CreateComboBox() {
    return std::make_unique<QtComboBox>(parent_);
}

}  // namespace quillon
