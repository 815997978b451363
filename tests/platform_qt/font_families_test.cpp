#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "platform/qt/font_families.h"

namespace quillon {
namespace {

bool Installed(const char* family) {
    return QFontDatabase::hasFamily(QString::fromUtf8(family));
}

TEST(FontFamilies, DocumentFacesMapToInstalledOnesOfTheSameKind) {
    ASSERT_TRUE(Installed("DejaVu Serif")) << "fonts-dejavu-core is needed";
    struct Case {
        const char* name;
        bool fixed;
        const char* stand_in;
    };
    const Case cases[] = {
        {"Times New Roman", false, "DejaVu Serif"},
        {"  times new ROMAN ", false, "DejaVu Serif"},
        {"Courier New", false, "DejaVu Sans Mono"},
        {"Arial", false, "DejaVu Sans"},
        {"serif", false, "DejaVu Serif"},
        {"sans-serif", false, "DejaVu Sans"},
        {"monospace", false, "DejaVu Sans Mono"},
        {"Helvetica", false, "DejaVu Sans"},
        {"No Such Face 42", false, "DejaVu Serif"},
        {"No Such Face 42", true, "DejaVu Sans Mono"},
        {"", false, "DejaVu Serif"},
        // Lists take the first name that is installed or stands for a family.
        {"No Such Face 42, 'Also Missing', Arial, serif", false, "DejaVu Sans"},
        {"No Such Face 42, monospace", false, "DejaVu Sans Mono"},
        {"No Such Face 42, Other Missing", false, "DejaVu Serif"},
    };
    for (const Case& c : cases) {
        const std::string got = InstalledFontFamily(c.name, c.fixed);
        // Where the named face itself is installed it is used as it is.
        const std::string trimmed = QString::fromUtf8(c.name).trimmed().toStdString();
        if (!trimmed.empty() && Installed(trimmed.c_str())) {
            EXPECT_EQ(QString::fromStdString(got).compare(QString::fromStdString(trimmed),
                                                          Qt::CaseInsensitive),
                      0)
                << c.name;
        } else {
            EXPECT_EQ(got, c.stand_in) << '"' << c.name << '"';
        }
    }
    EXPECT_EQ(InstalledFontFamily("DejaVu Sans Mono", false), "DejaVu Sans Mono");
}

TEST(FontFamilies, QFontCarriesStyleAndLogicalSizeWithoutHinting) {
    FontSpec wanted{"Courier New", 9, true, true, true, true, true, 0x123456};
    const QFont at96 = MakeQFont(wanted, 96);
    EXPECT_EQ(QFontInfo(at96).family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_DOUBLE_EQ(at96.pointSizeF(), 9.0);
    EXPECT_TRUE(at96.bold());
    EXPECT_TRUE(at96.italic());
    EXPECT_TRUE(at96.underline());
    EXPECT_TRUE(at96.strikeOut());
    EXPECT_EQ(at96.hintingPreference(), QFont::PreferNoHinting);
    // On a 600-dpi device the painter is scaled by 6.25, so the point size shrinks by it.
    EXPECT_DOUBLE_EQ(MakeQFont(wanted, 600).pointSizeF(), 9.0 * 96 / 600);
    wanted.size_pt = 0;
    EXPECT_DOUBLE_EQ(MakeQFont(wanted, 96).pointSizeF(), 12.0);
}

}  // namespace
}  // namespace quillon
