// The weakness of a poem and the order of a weak-poems run.
#include "game/weak_poems.h"

#include <gtest/gtest.h>

#include <vector>

namespace verselane {
namespace {

constexpr std::int64_t kNow = 1'800'000'000;
constexpr std::int64_t kDay = 86400;

// A poem with `answers` answers in its recent window, `wrong` of them missed, the right ones
// taking `medianMs`, the last right one `daysAgo` days ago.
PoemFigures Poem(int poem, int answers, int wrong, int medianMs, double daysAgo) {
  PoemFigures figures;
  figures.poem = poem;
  figures.answers = figures.recentAnswers = answers;
  figures.right = answers - wrong;
  figures.recentWrong = wrong;
  if (figures.right > 0) {
    figures.medianRightMs = figures.recentMedianRightMs = medianMs;
    figures.lastRightAt = kNow - static_cast<std::int64_t>(daysAgo * kDay);
  }
  figures.lastAnsweredAt = kNow;
  return figures;
}

TEST(WeakPoemsTest, WeaknessWeighsMissesSlownessAndTimeSinceTheLastRightAnswer) {
  // Every part at its worst, and every part at its best.
  EXPECT_DOUBLE_EQ(Weakness(Poem(0, 1, 1, 0, 0), kNow), 0.60 * 2 / 3 + 0.25 + 0.15);
  EXPECT_DOUBLE_EQ(Weakness(Poem(0, 8, 0, 5000, 0), kNow), 0.60 * 1 / 10);
  // Slowness runs from the grace time to the time limit.
  EXPECT_DOUBLE_EQ(Weakness(Poem(0, 8, 0, 10000, 0), kNow), 0.06 + 0.25 * 0.5);
  EXPECT_DOUBLE_EQ(Weakness(Poem(0, 8, 0, 30000, 0), kNow), 0.06 + 0.25);
  // Forgetting halves its distance to 1 every week.
  EXPECT_DOUBLE_EQ(Weakness(Poem(0, 8, 0, 4000, 7), kNow), 0.06 + 0.15 * 0.5);
  EXPECT_DOUBLE_EQ(Weakness(Poem(0, 8, 0, 4000, 14), kNow), 0.06 + 0.15 * 0.75);
  // A clock set back puts the last right answer ahead: taken as now, never below 0.
  EXPECT_DOUBLE_EQ(Weakness(Poem(0, 8, 0, 4000, -3), kNow), 0.06);
}

TEST(WeakPoemsTest, WeakestComeFirstTiesByPoemNumberAtMostCount) {
  const std::vector<PoemFigures> poems = {
      Poem(40, 10, 0, 3000, 0),   // known
      Poem(12, 4, 2, 9000, 1),    // half missed, slow
      Poem(70, 2, 2, 0, 0),       // never right
      Poem(30, 10, 0, 3000, 30),  // known but not asked for a month
      Poem(5, 4, 2, 9000, 1),     // the same as 12
      Poem(90, 10, 0, 12000, 0),  // always right, always slow
  };
  EXPECT_EQ(WeakestPoems(poems, kNow, 100), (std::vector<int>{70, 5, 12, 90, 30, 40}));
  EXPECT_EQ(WeakestPoems(poems, kNow, 2), (std::vector<int>{70, 5}));
  EXPECT_TRUE(WeakestPoems(poems, kNow, 0).empty());
  EXPECT_TRUE(WeakestPoems({}, kNow, 10).empty());
}

}  // namespace
}  // namespace verselane
