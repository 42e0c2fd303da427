// Whole runs played back to back by a simulated player, at full speed.
//
// ./test plays 10,000 runs; more with
//   VERSELANE_SOAK_RUNS=100000 build/verselane_tests --gtest_filter='SoakTest.*'
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "simulated_player.h"

namespace verselane {
namespace {

int SoakRuns() {
  const char* runs = std::getenv("VERSELANE_SOAK_RUNS");
  return runs != nullptr && std::atoi(runs) > 0 ? std::atoi(runs) : 10000;
}

std::size_t BytesInUse() { return mallinfo2().uordblks; }

void ExpectConsistent(const RunOutcome& run, int index) {
  SCOPED_TRACE("run " + std::to_string(index));
  ASSERT_TRUE(run.finished) << "gave up after " << run.ticks << " ticks";
  EXPECT_EQ(run.asked, run.questionCount);
  EXPECT_LE(run.correct, run.asked);
  EXPECT_GE(run.correct, 0);
  EXPECT_GE(run.score, 0);
  EXPECT_EQ(static_cast<int>(run.poems.size()), run.questionCount);
  EXPECT_EQ(std::set<int>(run.poems.begin(), run.poems.end()).size(), run.poems.size())
      << "a poem was asked twice";
}

TEST(SoakTest, EveryRunFinishesWithConsistentTalliesAndMemoryStaysFlat) {
  SeededRandom picks(20240601);
  EngineHarness engine(picks);
  SimulatedPlayer player(engine, 7);
  const int runs = SoakRuns();
  const int warmUp = std::min(200, runs / 5);

  std::size_t bytesAfterWarmUp = 0;
  long long ticks = 0;
  long long questions = 0;
  for (int i = 0; i < runs; ++i) {
    if (i == warmUp) bytesAfterWarmUp = BytesInUse();
    const RunOutcome run = player.PlayRun();
    ExpectConsistent(run, i);
    if (HasFatalFailure()) return;
    ticks += run.ticks;
    questions += run.questionCount;
  }
  const long long growth = static_cast<long long>(BytesInUse()) -
                           static_cast<long long>(bytesAfterWarmUp);
  EXPECT_LT(growth, 16 * 1024) << "bytes in use grew over " << runs - warmUp << " runs";
  RecordProperty("runs", runs);
  RecordProperty("questions", std::to_string(questions));
  RecordProperty("ticks", std::to_string(ticks));
  RecordProperty("bytesGrown", std::to_string(growth));
}

}  // namespace
}  // namespace verselane
