#include "viewers/margin_math.h"

#include <QLocale>
#include <QString>
#include <cmath>

namespace quillon {

namespace {

constexpr double kPixelsPerCm = 20.0;

QLocale UserLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

int MarginPixels(double cm) {
    const double pixels = std::round(cm * kPixelsPerCm);
    if (!(pixels > 0)) return 0;
    return pixels > 1e6 ? 1000000 : static_cast<int>(pixels);
}

double MarginFromPixels(int pixels) {
    // std::nearbyint rounds halves to even in the default rounding mode.
    return std::nearbyint(pixels / 2.0) / 10.0;
}

std::string MarginText(double cm) {
    return UserLocale().toString(cm, 'g', 15).toStdString();
}

std::optional<double> ReadMarginText(std::string_view text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    // The unit that the dialog shows beside each field may be typed as well.
    if (s.endsWith(QStringLiteral("cm"), Qt::CaseInsensitive)) s = s.chopped(2).trimmed();
    // A margin has no thousands: "2.500" under a German locale is not 2500, and a comma
    // or a point is the decimal separator whatever the locale says.
    QLocale locale = UserLocale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = locale.toDouble(s, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        value = c.toDouble(QString(s).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    }
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace quillon
