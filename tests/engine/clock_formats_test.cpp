// The date formats chosen for a locale: ISO 8601 when no real locale governs time, the
// locale's own otherwise, also inside composite locale names.

#include <gtest/gtest.h>

#include <string>

#include "engine/clock_formats.h"

namespace quillon {
namespace {

TEST(ClockFormatsTest, IsoUnderThePlainLocalesOnly) {
    for (const char* plain : {"", "C", "POSIX", "C.UTF-8", "C.utf8",
                              "LC_CTYPE=de_DE.UTF-8;LC_NUMERIC=C;LC_TIME=C;LC_COLLATE=C"}) {
        EXPECT_TRUE(IsPlainTimeLocale(plain)) << plain;
        EXPECT_EQ(std::string(ClockFormatsFor(plain).date), "%Y-%m-%d") << plain;
    }
    for (const char* real : {"de_DE.UTF-8", "en_US", "Ca_ES", "CZ",
                             "LC_CTYPE=C;LC_NUMERIC=C;LC_TIME=lt_LT.UTF-8;LC_COLLATE=C"}) {
        EXPECT_FALSE(IsPlainTimeLocale(real)) << real;
        EXPECT_EQ(std::string(ClockFormatsFor(real).date), "%x") << real;
    }
}

}  // namespace
}  // namespace quillon
