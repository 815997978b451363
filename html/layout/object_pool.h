#pragma once
// Memory for the objects a document holds by the hundred thousand (sections and table
// cells): carved in exact sizes from large blocks, without the general allocator's header
// and rounding, which add up to a tenth of a large report's memory. Freed objects are kept
// for the next ones of their size; the blocks stay with the process, so a program's memory
// stays at the largest document it held. Builds with AddressSanitizer use the general
// allocator, so that its checks still see every object.

#include <cstddef>
#include <new>

namespace quillon {

void* PoolAllocate(std::size_t size);
void PoolFree(void* p, std::size_t size) noexcept;

// Derive from it to allocate the class (and every class derived from it) from the pool.
// Deleting through a base needs a virtual destructor, as always.
struct PooledObject {
    static void* operator new(std::size_t size) { return PoolAllocate(size); }
    static void operator delete(void* p, std::size_t size) noexcept { PoolFree(p, size); }
};

}  // namespace quillon
