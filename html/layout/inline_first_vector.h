#pragma once
// A sequence whose first element lives inside the container. Documents hold hundreds of
// thousands of table cells with one section each, of sections with one font run each and
// of sections laid out on one line; keeping that one element in place saves an allocation
// per cell, per section and per line. Further elements go to a vector that is allocated
// only when a second element arrives, so that an unused tail costs one pointer. Adding an
// element may move the elements after the first.
//
// The first element's slot is an InlineSlot<T>: a std::optional unless T has a natural
// empty state (a null pointer, or a state its own specialization names), which then marks
// the slot as unused and saves optional's flag.

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace quillon {

// The default slot: an optional.
template <class T>
struct InlineSlot {
    bool Has() const { return value_.has_value(); }
    T& Get() { return *value_; }
    const T& Get() const { return *value_; }
    T& Set(T&& v) { return value_.emplace(std::move(v)); }
    void Reset() { value_.reset(); }

  private:
    std::optional<T> value_;
};

// An owning pointer's slot: null means unused, so a null pointer cannot be stored.
template <class U, class D>
struct InlineSlot<std::unique_ptr<U, D>> {
    bool Has() const { return value_ != nullptr; }
    std::unique_ptr<U, D>& Get() { return value_; }
    const std::unique_ptr<U, D>& Get() const { return value_; }
    std::unique_ptr<U, D>& Set(std::unique_ptr<U, D>&& v) {
        if (!v) throw std::invalid_argument("InlineFirstVector: null element");
        value_ = std::move(v);
        return value_;
    }
    void Reset() { value_.reset(); }

  private:
    std::unique_ptr<U, D> value_;
};

template <class T>
class InlineFirstVector {
  public:
    InlineFirstVector() = default;
    InlineFirstVector(InlineFirstVector&&) noexcept = default;
    InlineFirstVector& operator=(InlineFirstVector&&) noexcept = default;
    InlineFirstVector(const InlineFirstVector& src)
        : first_(src.first_),
          rest_(src.rest_ && !src.rest_->empty() ? std::make_unique<std::vector<T>>(*src.rest_)
                                                 : nullptr) {}
    InlineFirstVector& operator=(const InlineFirstVector& src) {
        if (this != &src) *this = InlineFirstVector(src);
        return *this;
    }

    T& push_back(T value) {
        if (!first_.Has()) return first_.Set(std::move(value));
        if (!rest_) rest_ = std::make_unique<std::vector<T>>();
        return rest_->emplace_back(std::move(value));
    }
    // Destroys the elements from the first to the last. The tail keeps its memory, as a
    // vector does, so that laying out again refills it without allocating.
    void clear() {
        first_.Reset();
        if (rest_) rest_->clear();
    }

    std::size_t size() const { return first_.Has() ? 1 + RestSize() : 0; }
    bool empty() const { return !first_.Has(); }
    T& operator[](std::size_t i) { return i == 0 ? first_.Get() : (*rest_)[i - 1]; }
    const T& operator[](std::size_t i) const { return i == 0 ? first_.Get() : (*rest_)[i - 1]; }
    const T& at(std::size_t i) const {
        if (i >= size()) throw std::out_of_range("InlineFirstVector::at");
        return (*this)[i];
    }
    T& back() { return RestSize() == 0 ? first_.Get() : rest_->back(); }
    const T& back() const { return RestSize() == 0 ? first_.Get() : rest_->back(); }

    template <class Owner, class Element>
    class Iterator {
      public:
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        Iterator(Owner* owner, std::size_t index) : owner_(owner), index_(index) {}
        Element& operator*() const { return (*owner_)[index_]; }
        Element* operator->() const { return &(*owner_)[index_]; }
        Iterator& operator++() {
            ++index_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++index_;
            return old;
        }
        bool operator==(const Iterator& o) const { return index_ == o.index_; }

      private:
        Owner* owner_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = Iterator<InlineFirstVector, T>;
    using const_iterator = Iterator<const InlineFirstVector, const T>;

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size()}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

  private:
    std::size_t RestSize() const { return rest_ ? rest_->size() : 0; }

    InlineSlot<T> first_;
    std::unique_ptr<std::vector<T>> rest_;
};

}  // namespace quillon
