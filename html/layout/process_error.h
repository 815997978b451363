#pragma once
// The error layout raises for a table it cannot build: too many columns or cells.

#include <stdexcept>

namespace quillon {

class EProcessError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace quillon
