#pragma once
// A link: the URL and the target frame it opens in.

#include <string>
#include <string_view>

namespace quillon {

struct TUrlTarget {
    std::string URL;
    std::string Target;

    void Assign(std::string_view url, std::string_view target) {
        URL = url;
        Target = target;
    }
    void Clear() {
        URL.clear();
        Target.clear();
    }
    bool Empty() const { return URL.empty(); }
    friend bool operator==(const TUrlTarget&, const TUrlTarget&) = default;
};

}  // namespace quillon
