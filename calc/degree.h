#pragma once
// The degree notation of angles: degrees, a grave accent, minutes, a grave accent,
// seconds ("45`30" is 45 degrees 30 minutes, "45``15" is 45 degrees 15 seconds). Angles
// are held in radians.

#include <string>
#include <string_view>

namespace quillon {

// The angle in radians of degrees + minutes/60 + seconds/3600, each given as a run of
// decimal digits (an empty run is 0), reduced to one turn. The reduction is done in
// degrees, so that 360 degrees is exactly 0. Infinity when a run is too long for a double.
double DegreeDigitsValue(std::string_view degrees, std::string_view minutes,
                         std::string_view seconds);

// Radians to the degree notation. Magnitudes below 1e-20 count as 0; a negative angle
// gets a leading "-". Minutes and seconds are written only when they are not 0.
// A non-finite angle, or one whose degrees do not fit a 64-bit integer, raises
// ECalcArithmetic.
std::string DegreeToStr(double x);

// The degree notation to radians: an optional "+" or "-", degrees, optionally a grave
// accent and minutes and a grave accent and seconds. The result is reduced to one turn
// (negated after "-"). Any other text raises EConvertError with SInvalidDegree.
double StrToDegree(std::string_view s);

}  // namespace quillon
