#include "game/voice_timing.h"

#include <gtest/gtest.h>

#include "base/shift_jis.h"

namespace verselane {
namespace {

TEST(VoiceTiming, ShownCellsFindTheKanaSaidForThemWhenOneIsSaidAsTwo) {
  // てふ is said ちょう: the later cells must still land on their own kana, not drift.
  EXPECT_EQ(SaidKanaOfCells(SjisLiteral("てふあまの"), SjisLiteral("ちょう あまの")),
            (std::vector<int>{0, 2, 3, 4, 5}));
  // A kana said but not shown (a held vowel written out) is skipped over.
  EXPECT_EQ(SaidKanaOfCells(SjisLiteral("のう"), SjisLiteral("のーう")), (std::vector<int>{0, 2}));
}

TEST(VoiceTiming, PhonemesOtherThanPlannedSpreadTheCellsOverTheSpeech) {
  // Another dictionary said something else: no kana can be matched, yet every cell is revealed
  // in order while the voice speaks.
  const std::vector<TimedPhoneme> spoken = {{"k", 200}, {"a", 300}, {"w", 400}, {"a", 500}};
  EXPECT_EQ(CellStartTimes(SjisLiteral("あいう"), SjisLiteral("あいう"), spoken),
            (std::vector<int>{200, 300, 400}));
}

}  // namespace
}  // namespace verselane
