#pragma once
// The scanner of the expression language: splits a text into tokens.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

enum TToken : std::uint8_t {
    tkEOF,
    tkERROR,
    tkASSIGN,
    tkLBRACE,
    tkRBRACE,
    tkNUMBER,
    tkIDENT,
    tkSEMICOLON,
    tkPOW,
    tkINV,
    tkNOT,
    tkMUL,
    tkDIV,
    tkMOD,
    tkPER,
    tkADD,
    tkSUB,
    tkLT,
    tkLE,
    tkEQ,
    tkNE,
    tkGE,
    tkGT,
    tkOR,
    tkXOR,
    tkAND,
};

// Scans a text token by token. The text ends at its end or at its first NUL character.
// Characters with codes 1 to 32 separate tokens. An identifier is a letter, "_" or "#"
// followed by letters and digits, of any length. A number is never signed; its value may
// be infinite when the literal is beyond the double range.
class CalcScanner {
  public:
    explicit CalcScanner(std::string_view text);

    // Reads the next token. tkERROR leaves an unknown character unconsumed.
    TToken Next();

    TToken token() const { return token_; }
    // The text of the last tkIDENT.
    std::string_view ident() const { return ident_; }
    // The value of the last tkNUMBER.
    double number() const { return number_; }

  private:
    TToken ScanNumber();
    TToken ScanRadix(int radix);

    std::string_view text_;
    std::size_t pos_ = 0;
    TToken token_ = tkEOF;
    std::string_view ident_;
    double number_ = 0;
};

}  // namespace quillon
