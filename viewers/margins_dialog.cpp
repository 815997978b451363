#include "viewers/margins_dialog.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <optional>

#include "viewers/margin_math.h"
#include "viewers/viewer_texts.h"

namespace quillon {

namespace {

constexpr int kButtonWidth = 77;
constexpr int kButtonHeight = 27;

QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const MessageTable& RowCaption(int row) {
    static const std::array<const MessageTable*, MarginsDialog::kRows> captions = {
        &MARGIN_TOP, &MARGIN_BOTTOM, &MARGIN_LEFT, &MARGIN_RIGHT};
    return *captions[static_cast<std::size_t>(row)];
}

}  // namespace

MarginsDialog::MarginsDialog(TRepLanguage language, const MarginValues& values, HostServices& host,
                             QWidget* parent)
    : QDialog(parent), language_(language), host_(host), values_(values) {
    setWindowTitle(QStringLiteral("Page Setup/Margins"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setBold(true);
    setFont(font);
    resize(300, 360);

    const std::array<double, kRows> shown = {values.top, values.bottom, values.left, values.right};
    int bottom = 0;
    for (int row = 0; row < kRows; ++row) {
        auto* label = new QLabel(ToQ(Msg(RowCaption(row), language)), this);
        label->adjustSize();
        const int top = row * (label->height() + 10) + 10;
        label->move(10, top);
        auto* field = new QLineEdit(ToQ(MarginText(shown[static_cast<std::size_t>(row)])), this);
        field->setGeometry(120, top, 40, field->sizeHint().height());
        label->setBuddy(field);
        fields_[static_cast<std::size_t>(row)] = field;
        bottom = field->geometry().bottom() + 1;
    }
    const int buttons_top = bottom + 20;
    const int ok_left = width() / 2 - (2 * kButtonWidth + 10) / 2;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(ok_left, buttons_top, kButtonWidth, kButtonHeight);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(ok_left + kButtonWidth + 10, buttons_top, kButtonWidth, kButtonHeight);
    connect(ok, &QPushButton::clicked, this, &MarginsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &MarginsDialog::reject);
    resize(width(), buttons_top + kButtonHeight + 10);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    fields_[0]->setFocus();
}

void MarginsDialog::accept() {
    std::array<double, kRows> read{};
    for (int row = 0; row < kRows; ++row) {
        QLineEdit& field = Field(row);
        const std::optional<double> value = ReadMarginText(field.text().toStdString());
        if (!value) {
            std::string msg(Msg(ABSTRACT_Msg, language_));
            msg += Msg(RowCaption(row), language_);
            msg += ": \"" + field.text().toStdString() + "\"";
            host_.MessageDlg(msg, TMsgDlgType::mtError, mbOK);
            field.setFocus();
            field.selectAll();
            return;
        }
        read[static_cast<std::size_t>(row)] = *value;
    }
    values_ = MarginValues{read[0], read[1], read[2], read[3]};
    QDialog::accept();
}

}  // namespace quillon
