#pragma once
// The characters of a text section. Report text is nearly always Latin-1, and a table
// cell's text is short: such text is kept one byte a character, which holds up to 15
// characters without an allocation. The first character above U+00FF turns the whole
// text into UTF-32. Either way positions count characters.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace quillon {

class TSectionText {
  public:
    std::size_t size() const {
        if (const auto* n = std::get_if<std::string>(&text_)) return n->size();
        return std::get<std::u32string>(text_).size();
    }
    bool empty() const { return size() == 0; }
    char32_t operator[](std::size_t i) const {
        if (const auto* n = std::get_if<std::string>(&text_)) {
            return static_cast<unsigned char>((*n)[i]);
        }
        return std::get<std::u32string>(text_)[i];
    }
    char32_t back() const { return (*this)[size() - 1]; }
    bool Wide() const { return std::holds_alternative<std::u32string>(text_); }
    // Calls f with the stored characters: a std::string_view of Latin-1 bytes, or a
    // std::u32string_view. For loops that look at every character.
    template <class F>
    decltype(auto) Visit(F&& f) const {
        if (const auto* n = std::get_if<std::string>(&text_)) return f(std::string_view(*n));
        return f(std::u32string_view(std::get<std::u32string>(text_)));
    }

    void append(std::u32string_view s);
    void push_back(char32_t c) { append(std::u32string_view(&c, 1)); }
    // Replaces the character at i.
    void set(std::size_t i, char32_t c);
    // The position of the first occurrence of s at or after start, or npos.
    std::size_t find(std::u32string_view s, std::size_t start) const;

    // The text in UTF-32.
    std::u32string str() const;
    // The text as a UTF-32 view: of the text itself when it is kept wide, else of
    // `scratch`, filled with it (valid until scratch changes).
    std::u32string_view View(std::u32string& scratch) const;

  private:
    void Widen();

    // Sections place small fields in the padding after the variant's index.
    [[no_unique_address]] std::variant<std::string, std::u32string> text_;
};

}  // namespace quillon
