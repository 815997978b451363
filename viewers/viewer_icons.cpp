#include "viewers/viewer_icons.h"

#include <QImage>
#include <QPixmap>
#include <QString>
#include <array>

// The resources of a static library are registered by name, outside any namespace.
static void InitViewerIconResources() {
    Q_INIT_RESOURCE(viewer_icons);
}

namespace quillon {

namespace {

constexpr std::array<std::string_view, vbViewerHelp + 1> kImageNames = {
    "Print", "PrintSetup", "Margins", "First", "Prior",   "Next",
    "Last",  "",           "Mapi",    "Back",  "Forward", "Help",
};

bool HasTwoGlyphs(TViewerBtn button) {
    return button >= vbFirst && button <= vbLast;
}

}  // namespace

std::string_view ViewerButtonImageName(TViewerBtn button) {
    const auto i = static_cast<std::size_t>(button);
    return i < kImageNames.size() ? kImageNames[i] : std::string_view{};
}

QIcon ViewerButtonIcon(TViewerBtn button) {
    static const bool registered = (InitViewerIconResources(), true);
    (void)registered;
    const std::string_view name = ViewerButtonImageName(button);
    if (name.empty()) return {};
    // Resource names are matched without regard to case: they are stored upper-case.
    const QString path =
        QStringLiteral(":/quillon/QUIL_") +
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).toUpper();
    const QImage image(path);
    if (image.isNull()) return {};
    QIcon icon;
    if (HasTwoGlyphs(button)) {
        const int half = image.width() / 2;
        icon.addPixmap(QPixmap::fromImage(image.copy(0, 0, half, image.height())), QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(image.copy(half, 0, half, image.height())),
                       QIcon::Disabled);
    } else {
        icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
    }
    return icon;
}

}  // namespace quillon
