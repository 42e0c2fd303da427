// The voice's worker with a fake maker: the list made in its order, a new list replacing the
// old, a failure for its own list only, and a slow maker stopped cleanly when the program ends.
#include "ui/voice_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace verselane {
namespace {

using namespace std::chrono_literals;

// Makes each recitation after `delay`, recording the poems asked; poems in `failing` fail.
struct FakeMaker {
  std::chrono::milliseconds delay{0};
  std::vector<int> failing;
  std::mutex mutex;
  std::vector<int> made;
  std::atomic<int> running{0};

  RecitationMaker Maker() {
    return [this](const RecitationRequest& request, Recitation& recitation) {
      ++running;
      std::this_thread::sleep_for(delay);
      const std::lock_guard lock(mutex);
      made.push_back(request.poem);
      --running;
      if (std::find(failing.begin(), failing.end(), request.poem) != failing.end()) {
        return FileStatus::IoError("voice");
      }
      recitation = {std::to_string(request.poem) + ".wav", 5000, {100, 200}};
      return FileStatus::Ok("voice");
    };
  }
  std::vector<int> Made() {
    const std::lock_guard lock(mutex);
    return made;
  }
};

std::vector<RecitationRequest> Upper(std::initializer_list<int> poems) {
  std::vector<RecitationRequest> requests;
  for (int poem : poems) requests.push_back({poem, RecitedPart::kUpper, 1.0});
  return requests;
}

TEST(VoicePlayerTest, MakesTheListInOrderAndKeepsWhatItMade) {
  FakeMaker maker;
  int told = 0;
  VoicePlayer voice({true, maker.Maker()}, nullptr, [&] { ++told; });
  EXPECT_FALSE(voice.Ready({3, RecitedPart::kUpper, 1.0}));
  voice.Prepare(Upper({3, 1, 2}));
  voice.WaitUntilIdle();
  EXPECT_EQ(maker.Made(), (std::vector<int>{3, 1, 2}));
  const std::optional<Recitation> ready = voice.Ready({1, RecitedPart::kUpper, 1.0});
  ASSERT_TRUE(ready);
  EXPECT_EQ(ready->wavPath, "1.wav");
  EXPECT_FALSE(voice.Ready({1, RecitedPart::kLower, 1.0})) << "another part";
  EXPECT_FALSE(voice.Ready({1, RecitedPart::kUpper, 1.2})) << "another pace";

  voice.Prepare(Upper({2, 4}));
  voice.WaitUntilIdle();
  EXPECT_EQ(maker.Made(), (std::vector<int>{3, 1, 2, 4})) << "what is made is made once";
  EXPECT_FALSE(voice.Failed());
  EXPECT_EQ(told, 0);
}

TEST(VoicePlayerTest, ANewListReplacesTheOld) {
  FakeMaker maker;
  maker.delay = 100ms;
  VoicePlayer voice({true, maker.Maker()}, nullptr, {});
  voice.Prepare(Upper({1, 2, 3, 4, 5}));
  while (maker.running == 0) std::this_thread::sleep_for(1ms);
  voice.Prepare(Upper({7, 8}));
  voice.WaitUntilIdle();
  EXPECT_EQ(maker.Made(), (std::vector<int>{1, 7, 8})) << "the one being made is finished";
}

TEST(VoicePlayerTest, AFailureStopsTheListAndCountsForItsOwnListOnly) {
  FakeMaker maker;
  maker.failing = {2};
  int told = 0;
  VoicePlayer voice({true, maker.Maker()}, nullptr, [&] { ++told; });
  voice.Prepare(Upper({1, 2, 3}));
  voice.WaitUntilIdle();
  EXPECT_TRUE(voice.Failed());
  EXPECT_EQ(maker.Made(), (std::vector<int>{1, 2})) << "the rest would fail the same way";
  voice.ReportFailure();
  EXPECT_EQ(told, 1);

  voice.Prepare(Upper({3}));
  EXPECT_FALSE(voice.Failed()) << "a new list starts afresh";
  voice.WaitUntilIdle();
  EXPECT_TRUE(voice.Ready({3, RecitedPart::kUpper, 1.0}));
}

// What a synthesiser that wrote garbage hands back is never played.
TEST(VoicePlayerTest, AnImplausibleRecitationIsAFailure) {
  VoicePlayer voice({true,
                     [](const RecitationRequest&, Recitation& recitation) {
                       recitation = {"x.wav", 3000, {500, 100}};
                       return FileStatus::Ok("x.wav");
                     }},
                    nullptr, {});
  voice.Prepare(Upper({1}));
  voice.WaitUntilIdle();
  EXPECT_TRUE(voice.Failed());
  EXPECT_FALSE(voice.Ready({1, RecitedPart::kUpper, 1.0}));
}

// The program ends while a slow synthesiser runs: the worker finishes the one recitation and
// starts no other, and nothing runs after the player is gone.
TEST(VoicePlayerTest, ASlowMakerIsStoppedCleanlyOnExit) {
  FakeMaker maker;
  maker.delay = 300ms;
  {
    VoicePlayer voice({true, maker.Maker()}, nullptr, {});
    voice.Prepare(Upper({1, 2, 3}));
    while (maker.running == 0) std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(maker.running, 0);
  EXPECT_EQ(maker.Made(), std::vector<int>{1});
}

}  // namespace
}  // namespace verselane
