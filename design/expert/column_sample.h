#pragma once
// What the report expert learns from a column of a data source: a heading made from the
// column's name, whether its values are numbers, the decimals they are usually written
// with, and how wide a slot they need.

#include <map>
#include <string>
#include <string_view>

namespace quillon::design {

// A column heading from a field name: the words of "unit_price", "customerName" or
// "ORDER-DATE" with their first letters capitalised ("Unit Price", "Customer Name",
// "Order Date"). Words in capitals inside a mixed name stay so ("customerID" gives
// "Customer ID").
std::string HeadingFromName(std::string_view name);

// Whether a text is a number as reports write them: an optional sign, digits and an
// optional "." with digits after it. Codes with a leading zero ("007") are not numbers.
bool IsPlainNumber(std::string_view text);

// The values of one column, taken one at a time from the first records of a source.
class ColumnSample {
  public:
    explicit ColumnSample(std::string_view name);

    void Add(std::string_view value);

    // Every non-empty value seen is a number, and there was at least one.
    bool Numeric() const { return numbers_ > 0 && texts_ == 0; }
    // The decimals a number of the column is written with: the most any one in ten of the
    // sample's numbers has. Sources that print floating-point values drop trailing zeros
    // ("149.0", "24.9" beside "4.75"), so the most common count alone would often be one
    // too few. At most kMaxDecimals; 0 for a column that is not numeric.
    int Decimals() const;
    // Characters a slot needs: text columns the longest of the name and the values; number
    // columns the widest value written with Decimals(), and room for two more digits.
    int Width() const;

    static constexpr int kMaxDecimals = 6;

  private:
    int name_chars_ = 0;
    int widest_text_ = 0;
    int widest_integer_part_ = 0;  // sign and digits before the point
    int numbers_ = 0;
    int texts_ = 0;
    std::map<int, int> decimals_count_;  // decimals -> numbers written with that many
};

}  // namespace quillon::design
