#pragma once
// A fixed table from short names to values, built at compile time: open addressing with
// linear probing over a power-of-two number of slots. A name's first eight bytes, packed
// into one integer, are hashed and compared at once, so a lookup of a typical tag or
// attribute name is one multiplication and one comparison. Made for the tokenizer's
// vocabularies, which are looked up for every tag, attribute and entity read: no
// allocation, no guard of a function-local static, and names longer than the longest entry
// are rejected before any hashing.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

template <class V, std::size_t Slots>
class NameTable {
    static_assert(Slots >= 2 && std::has_single_bit(Slots), "Slots must be a power of two");

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
            const std::uint64_t key = Key(e.name);
            std::size_t i = Hash(key, e.name.size());
            while (!slots_[i].entry.name.empty()) {
                if (slots_[i].entry.name == e.name) throw "duplicate name";
                i = (i + 1) & (Slots - 1);
            }
            slots_[i] = Slot{key, e};
        }
    }

    // The value of `name` (compared exactly), or nullptr.
    constexpr const V* Find(std::string_view name) const {
        const std::size_t n = name.size();
        if (n == 0 || n > max_len_) return nullptr;
        const std::uint64_t key = Key(name);
        for (std::size_t i = Hash(key, n);; i = (i + 1) & (Slots - 1)) {
            const Slot& s = slots_[i];
            if (s.entry.name.empty()) return nullptr;  // at most half the slots are used
            if (s.key == key && s.entry.name.size() == n &&
                (n <= 8 || SameTail(s.entry.name, name))) {
                return &s.entry.value;
            }
        }
    }

  private:
    struct Slot {
        std::uint64_t key = 0;  // Key(entry.name)
        Entry entry{};
    };

    // The first eight bytes of `s` (fewer: zero-padded), little end first.
    static constexpr std::uint64_t Key(std::string_view s) {
        const auto at = [&](std::size_t i) {
            return std::uint64_t{static_cast<unsigned char>(s[i])} << (8 * i);
        };
        std::uint64_t k = 0;
        switch (s.size() < 8 ? s.size() : 8) {  // unrolled: most names are short
            case 8:
                k |= at(7);
                [[fallthrough]];
            case 7:
                k |= at(6);
                [[fallthrough]];
            case 6:
                k |= at(5);
                [[fallthrough]];
            case 5:
                k |= at(4);
                [[fallthrough]];
            case 4:
                k |= at(3);
                [[fallthrough]];
            case 3:
                k |= at(2);
                [[fallthrough]];
            case 2:
                k |= at(1);
                [[fallthrough]];
            case 1:
                k |= at(0);
                [[fallthrough]];
            default:
                break;
        }
        return k;
    }
    static constexpr std::size_t Hash(std::uint64_t key, std::size_t n) {
        constexpr int kBits = std::countr_zero(Slots);
        return static_cast<std::size_t>(((key ^ n) * 0x9E3779B97F4A7C15u) >> (64 - kBits));
    }
    // The bytes after the first eight (equal lengths).
    static constexpr bool SameTail(std::string_view a, std::string_view b) {
        for (std::size_t i = 8; i < a.size(); ++i) {
            if (a[i] != b[i]) return false;
        }
        return true;
    }

    std::array<Slot, Slots> slots_{};
    std::size_t max_len_ = 0;
};

}  // namespace quillon
