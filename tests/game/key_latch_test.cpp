#include "game/key_latch.h"

#include <gtest/gtest.h>

namespace verselane {
namespace {

TEST(KeyLatchTest, GivesAStoredKeyOnlyOnce) {
  KeyLatch latch;
  EXPECT_EQ(latch.Take(), 0);
  latch.Store(kEnterKey);
  EXPECT_EQ(latch.Take(), kEnterKey);
  EXPECT_EQ(latch.Take(), 0);
}

TEST(KeyLatchTest, KeepsOnlyTheLastKey) {
  KeyLatch latch;
  latch.Store('a');
  latch.Store(kEnterKey);
  EXPECT_EQ(latch.Take(), kEnterKey);
  latch.Store(kEnterKey);
  latch.Store('a');
  EXPECT_EQ(latch.Take(), 'a');
}

TEST(KeyLatchTest, ClearDropsAPendingKey) {
  KeyLatch latch;
  latch.Store(kEnterKey);
  latch.Clear();
  EXPECT_EQ(latch.Take(), 0);
}

}  // namespace
}  // namespace verselane
