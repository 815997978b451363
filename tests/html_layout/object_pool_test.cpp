#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "html/layout/object_pool.h"

namespace quillon {
namespace {

struct Base : PooledObject {
    virtual ~Base() = default;
    std::uint64_t tag = 0;
};

template <std::size_t N>
struct Derived : Base {
    unsigned char payload[N];
};

TEST(ObjectPool, ObjectsOfEverySizeAreDistinctAlignedAndReused) {
    // Enough objects to fill several blocks, of sizes that share and do not share a class,
    // deleted through the base (the size of the derived class comes back to the pool).
    std::vector<std::unique_ptr<Base>> objects;
    for (int i = 0; i < 30000; ++i) {
        std::unique_ptr<Base> p;
        switch (i % 4) {
            case 0:
                p = std::make_unique<Base>();
                break;
            case 1:
                p = std::make_unique<Derived<3>>();
                break;
            case 2:
                p = std::make_unique<Derived<200>>();
                break;
            default:
                p = std::make_unique<Derived<600>>();
                break;  // beyond the pool
        }
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p.get()) % alignof(Base), 0u);
        p->tag = static_cast<std::uint64_t>(i);
        objects.push_back(std::move(p));
    }
    std::set<const Base*> seen;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(objects[i]->tag, i);  // nothing overwrote another object
        EXPECT_TRUE(seen.insert(objects[i].get()).second);
    }
    // Freed in another order, then made again: every object is whole.
    for (std::size_t i = 0; i < objects.size(); i += 2) objects[i].reset();
    for (std::size_t i = 0; i < objects.size(); i += 2) {
        auto p = std::make_unique<Derived<200>>();
        std::memset(p->payload, 0xAB, sizeof p->payload);
        p->tag = i;
        objects[i] = std::move(p);
    }
    for (std::size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(objects[i]->tag, i);
}

}  // namespace
}  // namespace quillon
