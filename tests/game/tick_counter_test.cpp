#include "game/tick_counter.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/animation_channel.h"

namespace verselane {
namespace {

TickCounter RunningCounter(int interval, int limit = kTickLimit) {
  TickCounter counter(limit);
  counter.SetInterval(interval);
  counter.SetRunning(true);
  counter.Reset(0);
  return counter;
}

// The calls of Tick() (1-based) on which a step completed.
std::vector<int> StepCalls(TickCounter& counter, int calls) {
  std::vector<int> stepped;
  for (int call = 1; call <= calls; ++call) {
    const int before = counter.steps();
    counter.Tick();
    if (counter.steps() != before) stepped.push_back(call);
  }
  return stepped;
}

TEST(TickCounterTest, CountsWholeSecondsAtTwentyTicks) {
  TickCounter counter = RunningCounter(kTicksPerSecond);
  EXPECT_EQ(StepCalls(counter, 61), (std::vector<int>{21, 41, 61}));
  EXPECT_EQ(counter.steps(), 3);
}

TEST(TickCounterTest, StoppedCounterDoesNotMoveAtAll) {
  TickCounter counter;
  counter.SetInterval(kTicksPerSecond);
  counter.Reset(0);
  for (int i = 0; i < 100; ++i) counter.Tick();
  EXPECT_EQ(counter.steps(), 0);
  // Its tick stood still too: started now, the first second still takes 21 calls.
  counter.SetRunning(true);
  EXPECT_EQ(StepCalls(counter, 21), std::vector<int>{21});
}

TEST(TickCounterTest, ResetStartsFromTheGivenStepsAndKeepsRunning) {
  TickCounter counter = RunningCounter(kTicksPerSecond);
  StepCalls(counter, 30);
  counter.Reset(5);
  EXPECT_EQ(counter.steps(), 5);
  EXPECT_TRUE(counter.running());
  EXPECT_EQ(StepCalls(counter, 21), std::vector<int>{21});
  EXPECT_EQ(counter.steps(), 6);
}

TEST(TickCounterTest, ZeroIntervalStepsOnEveryTick) {
  TickCounter counter = RunningCounter(0);
  EXPECT_EQ(StepCalls(counter, 4), (std::vector<int>{1, 2, 3, 4}));
}

TEST(TickCounterTest, StepsKeepTheirPaceAcrossWraps) {
  // The tick wraps after 9; the ticks before each wrap are carried into the next step.
  TickCounter counter = RunningCounter(4, 10);
  EXPECT_EQ(StepCalls(counter, 33), (std::vector<int>{5, 9, 13, 17, 21, 25, 29, 33}));
}

TEST(TickCounterTest, ResetAfterAWrapCountsTheFirstStepInFull) {
  TickCounter counter = RunningCounter(4, 10);
  StepCalls(counter, 11);  // wrapped on the 11th call, two ticks carried and no step yet
  counter.Reset(0);
  EXPECT_EQ(StepCalls(counter, 9), (std::vector<int>{5, 9}));
}

// A channel last stepped at animation tick `tick`.
AnimationChannel StampedAt(int tick) {
  AnimationChannel channel;
  channel.Feed(tick);
  channel.Step(1);
  return channel;
}

// The ticks a channel counts since its last step: the longest interval it is due for.
int Elapsed(const AnimationChannel& channel) {
  int interval = 0;
  while (channel.Due(interval + 1)) ++interval;
  return interval;
}

TEST(AnimationChannelTest, CountsTheTicksSinceItsLastStep) {
  AnimationChannel channel = StampedAt(5);
  channel.Feed(7);
  EXPECT_EQ(Elapsed(channel), 2);
  EXPECT_TRUE(channel.Due(0));
}

TEST(AnimationChannelTest, WrapOfTheAnimationTickCarriesTheTicksBeforeIt) {
  AnimationChannel channel = StampedAt(kTickLimit - 3);
  channel.Feed(0);  // the tick after kTickLimit - 1
  EXPECT_EQ(Elapsed(channel), 3);
  channel.Feed(1);
  EXPECT_EQ(Elapsed(channel), 4);
  channel.Step(2);  // the carry is used up
  channel.Feed(2);
  EXPECT_EQ(Elapsed(channel), 1);
}

TEST(AnimationChannelTest, RestartedTickMakesAStampedChannelDueAtOnce) {
  AnimationChannel channel = StampedAt(500);
  channel.Reset(0);
  EXPECT_EQ(channel.value(), 0);
  channel.Feed(0);
  EXPECT_TRUE(channel.Due(20));
  channel.Step(1);
  channel.Feed(1);
  EXPECT_EQ(Elapsed(channel), 1);
}

TEST(AnimationChannelTest, SettingAValueLeavesTheStampAlone) {
  AnimationChannel channel = StampedAt(10);
  channel.Feed(12);
  EXPECT_TRUE(channel.Set(5));
  EXPECT_FALSE(channel.Set(5));
  EXPECT_EQ(channel.value(), 5);
  EXPECT_EQ(Elapsed(channel), 2);
}

}  // namespace
}  // namespace verselane
