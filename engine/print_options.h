#pragma once
// The print options of a report (a set of TPrintOption kept in 16 bits) and the small
// enumerations of the report component's surface.

#include <cstdint>
#include <initializer_list>

namespace quillon {

// The bit number of each option is its position.
enum TPrintOption : std::uint8_t {
    prNumbersAlignRight = 0,  // a value that reads as a number is right-aligned in its slot
    prDontCutField = 1,       // a value longer than its slot is not cut
    prTrimField = 2,          // the text written into a slot is trimmed of blanks
    prScaled = 3,             // page sizes are scaled to the printer's page height
    prSetupBeforeExec = 4,    // printer set-up before the run
    prSetupBeforePrint = 5,   // printer set-up before printing
    prOnePageReport = 6,      // no automatic page breaks
    prShowProgress = 7,       // progress window during the run
    prMsgToHtml = 8,          // messages become an HTML page in the output
    prAutoSum = 9,            // automatic sums of detail fields
    prDoubleParse = 10,       // second parse of "&" fields after the run
};

class TPrintOptions {
  public:
    constexpr TPrintOptions() = default;
    constexpr TPrintOptions(std::initializer_list<TPrintOption> options) {
        for (TPrintOption o : options) bits_ |= Bit(o);
    }
    static constexpr TPrintOptions FromBits(std::uint16_t bits) {
        TPrintOptions o;
        o.bits_ = bits;
        return o;
    }

    constexpr bool Contains(TPrintOption o) const { return (bits_ & Bit(o)) != 0; }
    constexpr TPrintOptions& Include(TPrintOption o) {
        bits_ |= Bit(o);
        return *this;
    }
    constexpr TPrintOptions& Exclude(TPrintOption o) {
        bits_ &= static_cast<std::uint16_t>(~Bit(o));
        return *this;
    }
    constexpr std::uint16_t Bits() const { return bits_; }

    friend constexpr TPrintOptions operator+(TPrintOptions a, TPrintOption o) {
        return a.Include(o);
    }
    friend constexpr TPrintOptions operator-(TPrintOptions a, TPrintOption o) {
        return a.Exclude(o);
    }
    friend constexpr bool operator==(TPrintOptions, TPrintOptions) = default;

  private:
    static constexpr std::uint16_t Bit(TPrintOption o) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(o));
    }
    std::uint16_t bits_ = 0;
};

static_assert(sizeof(TPrintOptions) == 2);

enum TPageOrientation : std::uint8_t { orLandscape, orPortrait, orDefault };

// The answer of BeforeNewPage: the kind of break to make.
enum TNewPageAction : std::uint8_t { paNewPage, paNewColumn, paNewDetailColumn };

}  // namespace quillon
