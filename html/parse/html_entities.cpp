#include <algorithm>

#include "html/parse/html_entity_table.h"

namespace quillon {

const EntityEntry* FindEntity(std::string_view name) {
    if (name.empty() || name.size() > kMaxEntityNameLength) return nullptr;
    const EntityEntry* const end = kEntities + kEntityCount;
    const EntityEntry* e = std::lower_bound(
        kEntities, end, name,
        [](const EntityEntry& a, std::string_view n) { return EntityName(a) < n; });
    return e != end && EntityName(*e) == name ? e : nullptr;
}

}  // namespace quillon
