// The image cache: users, idle counts and when unused entries are freed.
#include <gtest/gtest.h>

#include "html/image/image_cache.h"

namespace quillon {
namespace {

TBitmapItem Item() {
    TBitmapItem item;
    item.Picture = std::make_shared<const RgbaImage>(1, 1);
    return item;
}

TEST(ImageCache, UsersAndIdleCounts) {
    TStringBitmapList cache;
    EXPECT_EQ(cache.KeepCount(), 4);
    cache.AddObject("a", Item());
    EXPECT_EQ(cache.Find("a")->UserCount, 1);
    cache.BumpAndCheck();
    EXPECT_EQ(cache.Find("a")->IdleCount, 1);
    ASSERT_NE(cache.GetImage("a"), nullptr);
    EXPECT_EQ(cache.Find("a")->UserCount, 2);
    EXPECT_EQ(cache.Find("a")->IdleCount, 0);
    EXPECT_EQ(cache.GetImage("b"), nullptr);
    cache.DecUsage("a");
    cache.DecUsage("a");
    cache.DecUsage("a");  // never below 0
    cache.DecUsage("b");  // unknown keys are ignored
    EXPECT_EQ(cache.Find("a")->UserCount, 0);
}

TEST(ImageCache, UnusedEntriesLiveKeepCountMoreLoads) {
    TStringBitmapList cache;
    cache.AddObject("unused", Item());
    cache.AddObject("used", Item());
    cache.DecUsage("unused");
    for (int i = 0; i < 4; ++i) cache.BumpAndCheck();
    EXPECT_TRUE(cache.Contains("unused"));  // idle 4, not above KeepCount
    cache.BumpAndCheck();
    EXPECT_FALSE(cache.Contains("unused"));
    EXPECT_TRUE(cache.Contains("used"));  // users keep an entry whatever its idle count
    EXPECT_EQ(cache.Find("used")->IdleCount, 5);
}

TEST(ImageCache, SetCacheCountFreesAtOnce) {
    TStringBitmapList cache;
    cache.AddObject("used", Item());
    cache.AddObject("idle2", Item());
    cache.DecUsage("idle2");
    cache.BumpAndCheck();
    cache.AddObject("idle1", Item());
    cache.DecUsage("idle1");
    cache.BumpAndCheck();
    cache.GetImage("used");  // taken again: idle 0
    cache.AddObject("fresh", Item());
    cache.DecUsage("fresh");  // released since the last bump: idle 0
    cache.SetCacheCount(1);
    EXPECT_EQ(cache.KeepCount(), 1);
    EXPECT_FALSE(cache.Contains("idle2"));
    EXPECT_TRUE(cache.Contains("idle1"));
    EXPECT_TRUE(cache.Contains("fresh"));
    // Keeping nothing: every image no document uses goes, however recently released.
    cache.SetCacheCount(0);
    EXPECT_FALSE(cache.Contains("idle1"));
    EXPECT_FALSE(cache.Contains("fresh"));
    EXPECT_TRUE(cache.Contains("used"));
    cache.SetCacheCount(-3);
    EXPECT_EQ(cache.KeepCount(), 0);
}

TEST(ImageCache, PurgeAndClear) {
    TStringBitmapList cache;
    cache.AddObject("a", Item());
    cache.AddObject("b", Item());
    cache.DecUsage("b");
    cache.PurgeCache();
    EXPECT_TRUE(cache.Contains("a"));
    EXPECT_FALSE(cache.Contains("b"));
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0u);
}

TEST(ImageCache, AFreedEntrysPictureStaysWithItsHolders) {
    TStringBitmapList cache;
    const auto held = cache.AddObject("a", Item()).Picture;
    cache.DecUsage("a");
    cache.PurgeCache();
    EXPECT_EQ(held->Width(), 1);
    EXPECT_EQ(held.use_count(), 1);
}

}  // namespace
}  // namespace quillon
