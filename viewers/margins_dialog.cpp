#include "viewers/margins_dialog.h"

#include <QFont>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <optional>

#include "viewers/margin_math.h"
#include "viewers/viewer_texts.h"

namespace quillon {

namespace {

constexpr int kButtonWidth = 77;
constexpr int kButtonHeight = 27;
constexpr int kDialogWidth = 300;
constexpr int kFieldWidth = 70;

QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const MessageTable& RowCaption(int row) {
    static const std::array<const MessageTable*, MarginsDialog::kRows> captions = {
        &MARGIN_TOP, &MARGIN_BOTTOM, &MARGIN_LEFT, &MARGIN_RIGHT};
    return *captions[static_cast<std::size_t>(row)];
}

// A row's caption without a unit of its own: the unit stands beside every field.
std::string RowLabel(std::string_view caption) {
    std::string label(caption);
    if (const auto unit = label.find("(cm)"); unit != std::string::npos) label.erase(unit, 4);
    while (!label.empty() && label.back() == ' ') label.pop_back();
    return label;
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

    // One row per margin: its name, the field and the unit, each column lined up.
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(8);
    rows->setVerticalSpacing(10);
    const std::array<double, kRows> shown = {values.top, values.bottom, values.left, values.right};
    for (int row = 0; row < kRows; ++row) {
        auto* label = new QLabel(ToQ(RowLabel(Msg(RowCaption(row), language))), this);
        auto* field = new QLineEdit(ToQ(MarginText(shown[static_cast<std::size_t>(row)])), this);
        field->setFixedWidth(kFieldWidth);
        field->setAlignment(Qt::AlignRight);
        auto* unit = new QLabel(QStringLiteral("cm"), this);
        label->setBuddy(field);
        rows->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
        rows->addWidget(field, row, 1, Qt::AlignVCenter);
        rows->addWidget(unit, row, 2, Qt::AlignLeft | Qt::AlignVCenter);
        fields_[static_cast<std::size_t>(row)] = field;
    }
    rows->setColumnStretch(3, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setFixedSize(kButtonWidth, kButtonHeight);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setFixedSize(kButtonWidth, kButtonHeight);
    connect(ok, &QPushButton::clicked, this, &MarginsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &MarginsDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addLayout(rows);
    layout->addSpacing(20);
    layout->addLayout(buttons);
    setFixedSize(kDialogWidth, sizeHint().height());
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
            msg += RowLabel(Msg(RowCaption(row), language_));
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
