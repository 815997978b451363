#pragma once
// A fixed table from short ASCII names to values, built at compile time: open addressing
// with linear probing over a power-of-two number of slots, hashed on the length and three
// characters. Made for the tokenizer's vocabularies, which are looked up for every tag,
// attribute and entity read: no allocation, no guard of a function-local static, and names
// longer than the longest entry are rejected before any hashing.

#include <array>
#include <cstddef>
#include <string_view>

namespace quillon {

template <class V, std::size_t Slots>
class NameTable {
    static_assert(Slots > 0 && (Slots & (Slots - 1)) == 0, "Slots must be a power of two");

  public:
    struct Entry {
        std::string_view name;
        V value;
    };

    // `entries` must have distinct, non-empty names and fill at most half the slots.
    template <std::size_t N>
    consteval explicit NameTable(const std::array<Entry, N>& entries) {
        static_assert(N * 2 <= Slots, "too few slots for the entries");
        for (const Entry& e : entries) {
            if (e.name.empty()) throw "empty name";
            if (e.name.size() > max_len_) max_len_ = e.name.size();
            std::size_t i = Hash(e.name);
            while (!slots_[i].name.empty()) {
                if (slots_[i].name == e.name) throw "duplicate name";
                i = (i + 1) & (Slots - 1);
            }
            slots_[i] = e;
        }
    }

    // The value of `name` (compared exactly), or nullptr.
    constexpr const V* Find(std::string_view name) const {
        const std::size_t n = name.size();
        if (n == 0 || n > max_len_) return nullptr;
        for (std::size_t i = Hash(name);; i = (i + 1) & (Slots - 1)) {
            const Entry& e = slots_[i];
            if (e.name.empty()) return nullptr;  // at most half the slots are used
            if (e.name.size() == n && Same(e.name.data(), name.data(), n)) return &e.value;
        }
    }

  private:
    static constexpr std::size_t Hash(std::string_view s) {
        const std::size_t n = s.size();
        const auto at = [&](std::size_t i) { return static_cast<std::size_t>(s[i]) & 0x7F; };
        return (n * 61 + at(0) * 37 + at(n - 1) * 11 + at(n / 2)) & (Slots - 1);
    }
    static constexpr bool Same(const char* a, const char* b, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            if (a[i] != b[i]) return false;
        }
        return true;
    }

    std::array<Entry, Slots> slots_{};
    std::size_t max_len_ = 0;
};

}  // namespace quillon
