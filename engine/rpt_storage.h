#pragma once
// TrptStorage: the storage and mail component a report may be connected to
// (TQuillon::XStorage). The engine itself only keeps the reference; the viewers reach the
// storage through the report. Its operations arrive with the storage component.

#include <string>

#include "platform/core/component.h"

namespace quillon {

class TrptStorage : public TComponent {
  public:
    explicit TrptStorage(std::string name = {}) : TComponent(std::move(name)) {}
};

}  // namespace quillon
