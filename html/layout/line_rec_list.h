#pragma once
// The laid-out lines of a text section. Almost every section of a report is one line, so
// one line is kept in place; from the second line on, all lines move to a vector on the
// heap, whose address takes the place of the line. The object is as large as one line
// plus the tag that tells the two apart (32 bytes on 64-bit). Adding a line may move the
// lines before it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "html/layout/line_rec.h"

namespace quillon {

class LineRecList {
  public:
    LineRecList() = default;
    LineRecList(const LineRecList& src) : LineRecList() {
        for (const LineRec& line : src) push_back(line);
    }
    LineRecList(LineRecList&& src) noexcept : store_(src.store_) { src.Become(One{}); }
    LineRecList& operator=(const LineRecList& src) {
        if (this != &src) *this = LineRecList(src);
        return *this;
    }
    LineRecList& operator=(LineRecList&& src) noexcept {
        if (this != &src) {
            FreeVector();
            store_ = src.store_;
            src.Become(One{});
        }
        return *this;
    }
    ~LineRecList() { FreeVector(); }

    LineRec& push_back(const LineRec& line) {
        switch (store_.one.tag) {
            case kEmpty:
                Become(One{kOne, line});
                return store_.one.line;
            case kOne: {
                auto lines = std::make_unique<std::vector<LineRec>>();
                lines->reserve(4);
                lines->push_back(store_.one.line);
                lines->push_back(line);
                Become(Many{kMany, lines.release()});
                return store_.many.lines->back();
            }
            default:
                return store_.many.lines->emplace_back(line);
        }
    }
    // Removes every line. A vector, once made, keeps its memory, so that laying out
    // again refills it without allocating.
    void clear() {
        if (store_.one.tag == kMany) {
            store_.many.lines->clear();
        } else {
            Become(One{});
        }
    }

    std::size_t size() const {
        switch (store_.one.tag) {
            case kEmpty:
                return 0;
            case kOne:
                return 1;
            default:
                return store_.many.lines->size();
        }
    }
    bool empty() const { return size() == 0; }
    LineRec* data() {
        return store_.one.tag == kMany ? store_.many.lines->data() : &store_.one.line;
    }
    const LineRec* data() const {
        return store_.one.tag == kMany ? store_.many.lines->data() : &store_.one.line;
    }
    LineRec& operator[](std::size_t i) { return data()[i]; }
    const LineRec& operator[](std::size_t i) const { return data()[i]; }
    const LineRec& at(std::size_t i) const {
        if (i >= size()) throw std::out_of_range("LineRecList::at");
        return data()[i];
    }
    LineRec& back() { return data()[size() - 1]; }
    const LineRec& back() const { return data()[size() - 1]; }

    LineRec* begin() { return data(); }
    LineRec* end() { return data() + size(); }
    const LineRec* begin() const { return data(); }
    const LineRec* end() const { return data() + size(); }

  private:
    enum : std::uint32_t { kEmpty, kOne, kMany };
    // Both start with the tag, so it can be read through either of them.
    struct One {
        std::uint32_t tag = kEmpty;
        LineRec line;
    };
    struct Many {
        std::uint32_t tag;
        std::vector<LineRec>* lines;  // owned
    };
    union Store {
        Store() : one() {}
        One one;
        Many many;
    };

    // Makes `one` or `many` the union's member.
    void Become(const One& one) { std::construct_at(&store_.one, one); }
    void Become(const Many& many) { std::construct_at(&store_.many, many); }
    void FreeVector() {
        if (store_.one.tag == kMany) {
            std::unique_ptr<std::vector<LineRec>> owned(store_.many.lines);
        }
    }

    Store store_;
};

}  // namespace quillon
