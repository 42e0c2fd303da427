// The voice's worker with a fake maker: the list made in its order, a new list replacing the
// old, a failure for its own list only, a slow maker stopped at once when the program ends, and
// a recording played from what was read, whatever its file has become since.
#include "ui/voice_player.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "fakes/temp_folder.h"
#include "sound_test_support.h"
#include "ui/sound_player.h"

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
      recitation = {std::to_string(request.poem) + ".wav", 5000, {100, 200},
                    std::make_shared<const std::string>("RIFF")};
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
  VoicePlayer voice({true, maker.Maker(), {}}, nullptr, [&](const std::string&) { ++told; });
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
  VoicePlayer voice({true, maker.Maker(), {}}, nullptr, {});
  voice.Prepare(Upper({1, 2, 3, 4, 5}));
  while (maker.running == 0) std::this_thread::sleep_for(1ms);
  voice.Prepare(Upper({7, 8}));
  voice.WaitUntilIdle();
  EXPECT_EQ(maker.Made(), (std::vector<int>{1, 7, 8})) << "the one being made is finished";
}

TEST(VoicePlayerTest, AFailureStopsTheListAndCountsForItsOwnListOnly) {
  FakeMaker maker;
  maker.failing = {2};
  std::vector<std::string> told;
  VoicePlayer voice({true, maker.Maker(), {}}, nullptr,
                    [&](const std::string& file) { told.push_back(file); });
  voice.Prepare(Upper({1, 2, 3}));
  voice.WaitUntilIdle();
  EXPECT_TRUE(voice.Failed());
  EXPECT_EQ(maker.Made(), (std::vector<int>{1, 2})) << "the rest would fail the same way";
  voice.ReportFailure();
  EXPECT_EQ(told, std::vector<std::string>{"voice"}) << "what failed is named";

  voice.Prepare(Upper({3}));
  EXPECT_FALSE(voice.Failed()) << "a new list starts afresh";
  voice.WaitUntilIdle();
  EXPECT_TRUE(voice.Ready({3, RecitedPart::kUpper, 1.0}));
}

// What a synthesiser that wrote garbage hands back is never played.
TEST(VoicePlayerTest, AnImplausibleRecitationIsAFailure) {
  VoicePlayer voice({true,
                     [](const RecitationRequest&, Recitation& recitation) {
                       recitation = {"x.wav", 3000, {500, 100},
                                     std::make_shared<const std::string>("RIFF")};
                       return FileStatus::Ok("x.wav");
                     },
                     {}},
                    nullptr, {});
  voice.Prepare(Upper({1}));
  voice.WaitUntilIdle();
  EXPECT_TRUE(voice.Failed());
  EXPECT_FALSE(voice.Ready({1, RecitedPart::kUpper, 1.0}));
}

// The program ends while a synthesiser hangs: the one recitation being made is stopped at once,
// no other is started, and nothing runs after the player is gone.
TEST(VoicePlayerTest, AHangingMakerIsStoppedAtOnceOnExit) {
  FakeMaker maker;
  std::atomic<bool> stopped = false;
  std::atomic<int> made = 0;
  {
    VoicePlayer voice({true,
                       [&](const RecitationRequest&, Recitation&) {
                         ++maker.running;
                         for (int waited = 0; !stopped && waited < 20000; ++waited) {
                           std::this_thread::sleep_for(1ms);
                         }
                         --maker.running;
                         ++made;
                         return FileStatus::TimedOut("open_jtalk");
                       },
                       [&] { stopped = true; }},
                      nullptr, {});
    voice.Prepare(Upper({1, 2, 3}));
    while (maker.running == 0) std::this_thread::sleep_for(1ms);
  }
  EXPECT_TRUE(stopped);
  EXPECT_EQ(maker.running, 0);
  EXPECT_EQ(made, 1);
}

// A recording is read once where it is made and played from memory: its file, made a FIFO since
// (which would hold whoever opens it until a writer comes), is never opened when it plays.
TEST(VoicePlayerTest, ARecordingIsPlayedFromWhatWasReadNeverFromItsFile) {
  ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
  TempFolder folder;
  const std::string path = folder.File("1.wav");
  const auto sound = std::make_shared<const std::string>(RecordingBytes());
  WriteBytes(path, *sound);
  SdlSoundPlayer output;
  ASSERT_TRUE(output.HasDevice());
  VoicePlayer voice({true,
                     [&](const RecitationRequest&, Recitation& recitation) {
                       recitation = {path, 1000, {}, sound};
                       return FileStatus::Ok(path);
                     },
                     {}},
                    &output, {});
  voice.Prepare(Upper({1}));
  voice.WaitUntilIdle();
  const std::optional<Recitation> ready = voice.Ready({1, RecitedPart::kUpper, 1.0});
  ASSERT_TRUE(ready);
  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);

  // A writer opens a FIFO without waiting only while a reader holds it, and lets that reader go.
  std::atomic<bool> played = false;
  std::atomic<bool> opened = false;
  std::thread watcher([&] {
    while (!played) {
      const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) {
        opened = true;
        ::close(fd);
      }
      std::this_thread::sleep_for(1ms);
    }
  });
  voice.Play(*ready);
  played = true;
  watcher.join();
  EXPECT_FALSE(opened) << "the recording's file was opened as it played";
  EXPECT_FALSE(voice.Failed());
  EXPECT_GT(output.QueuedBytes(), 0u);
}

}  // namespace
}  // namespace verselane
