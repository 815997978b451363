#pragma once
// The error the HTML tokenizer raises for input it cannot finish reading.

#include <stdexcept>

namespace quillon {

class EParseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace quillon
