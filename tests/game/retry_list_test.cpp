#include "game/retry_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace verselane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(RetryListTest, StartsEmpty) {
  RetryList list;
  EXPECT_EQ(list.count(), 0);
  EXPECT_THAT(list.CopyEntries(), IsEmpty());
}

TEST(RetryListTest, KeepsEntriesInAppendOrder) {
  RetryList list;
  EXPECT_TRUE(list.Append(61));
  EXPECT_TRUE(list.Append(4));
  EXPECT_TRUE(list.Append(99));
  EXPECT_EQ(list.count(), 3);
  EXPECT_THAT(list.CopyEntries(), ElementsAre(61, 4, 99));
}

TEST(RetryListTest, FullListRefusesFurtherEntries) {
  RetryList list;
  for (int poem = 0; poem < RetryList::kCapacity; ++poem) EXPECT_TRUE(list.Append(poem));
  EXPECT_TRUE(list.Append(42));  // already logged
  EXPECT_FALSE(list.Append(RetryList::kCapacity));  // no room for anything new
  EXPECT_EQ(list.count(), RetryList::kCapacity);
  std::vector<int> entries = list.CopyEntries();
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(RetryList::kCapacity));
  EXPECT_EQ(entries.front(), 0);
  EXPECT_EQ(entries.back(), RetryList::kCapacity - 1);
}

TEST(RetryListTest, APoemAnsweredWrongTwiceIsLoggedOnce) {
  // A question file may name a poem twice; the retry run still asks it once.
  RetryList list;
  EXPECT_TRUE(list.Append(4));
  EXPECT_TRUE(list.Append(61));
  EXPECT_TRUE(list.Append(4));
  EXPECT_EQ(list.CopyEntries(), (std::vector<int>{4, 61}));
}

}  // namespace
}  // namespace verselane
