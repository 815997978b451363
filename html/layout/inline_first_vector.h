#pragma once
// A sequence whose first element lives inside the container. Documents hold hundreds of
// thousands of table cells with one section each and of sections with one font run each;
// keeping that one element in place saves an allocation per cell and per section. Further
// elements go to a vector, so adding one may move the elements after the first.

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace quillon {

template <class T>
class InlineFirstVector {
  public:
    T& push_back(T value) {
        if (!first_) return first_.emplace(std::move(value));
        return rest_.emplace_back(std::move(value));
    }
    // Destroys the elements from the first to the last.
    void clear() {
        first_.reset();
        rest_.clear();
    }

    std::size_t size() const { return first_ ? 1 + rest_.size() : 0; }
    bool empty() const { return !first_; }
    T& operator[](std::size_t i) { return i == 0 ? *first_ : rest_[i - 1]; }
    const T& operator[](std::size_t i) const { return i == 0 ? *first_ : rest_[i - 1]; }
    T& back() { return rest_.empty() ? *first_ : rest_.back(); }
    const T& back() const { return rest_.empty() ? *first_ : rest_.back(); }

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
    std::optional<T> first_;
    std::vector<T> rest_;
};

}  // namespace quillon
