#include "html/layout/object_pool.h"

#include <array>
#include <memory>
#include <mutex>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_ADDRESS_SANITIZER 1
#endif

namespace quillon {

namespace {

constexpr std::size_t kGrain = alignof(std::max_align_t) < 8 ? alignof(std::max_align_t) : 8;
constexpr std::size_t kLargest = 512;  // larger objects go to the general allocator
constexpr std::size_t kBlock = 256 * 1024;
#ifdef QUILLON_ADDRESS_SANITIZER
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

struct FreeNode {
    FreeNode* next;
};

class Pool {
  public:
    void* Allocate(std::size_t size) {
        const std::size_t cls = (size + kGrain - 1) / kGrain;
        std::lock_guard<std::mutex> lock(mutex_);
        if (FreeNode* node = free_[cls]) {
            free_[cls] = node->next;
            return node;
        }
        const std::size_t bytes = cls * kGrain;
        if (left_ < bytes) {
            blocks_.emplace_back(std::make_unique<std::byte[]>(kBlock));
            next_ = blocks_.back().get();
            left_ = kBlock;
        }
        void* p = next_;
        next_ += bytes;
        left_ -= bytes;
        return p;
    }

    void Free(void* p, std::size_t size) noexcept {
        const std::size_t cls = (size + kGrain - 1) / kGrain;
        std::lock_guard<std::mutex> lock(mutex_);
        auto* node = static_cast<FreeNode*>(p);
        node->next = free_[cls];
        free_[cls] = node;
    }

  private:
    std::mutex mutex_;
    std::array<FreeNode*, kLargest / kGrain + 1> free_{};
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    std::byte* next_ = nullptr;
    std::size_t left_ = 0;
};

// Never destroyed: objects of static documents may be freed during the program's exit.
Pool& ThePool() {
    alignas(Pool) static std::byte storage[sizeof(Pool)];
    static Pool* pool = ::new (storage) Pool();
    return *pool;
}

bool Pooled(std::size_t size) {
    return kPooled && size >= sizeof(FreeNode) && size <= kLargest;
}

}  // namespace

void* PoolAllocate(std::size_t size) {
    if (Pooled(size)) return ThePool().Allocate(size);
    return ::operator new(size);
}

void PoolFree(void* p, std::size_t size) noexcept {
    if (!p) return;
    if (Pooled(size)) {
        ThePool().Free(p, size);
        return;
    }
    ::operator delete(p);
}

}  // namespace quillon
