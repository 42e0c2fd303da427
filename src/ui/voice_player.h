// The reader's voice on the desktop: one worker thread, at low priority, makes the recitations a
// run asks for, in their order, while the game goes on; the ones made are played on the sound
// device.
#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "game/desktop_ports.h"
#include "game/recitation.h"

namespace verselane {

class RecordingOutput;

// A synthesiser: whether it is on this machine, what makes its recitations, and what ends one
// being made at once (from another thread) and every later one.
struct VoiceSource {
  bool installed = false;
  RecitationMaker make;
  std::function<void()> stop;
};

class VoicePlayer : public VoicePort {
 public:
  // The synthesiser `source` makes each recitation on the worker; they are played on `output`
  // (null: nowhere). `tellFailure` tells the player that the voice failed, naming the file (or
  // program) that failed it; it is called in the timer tick and must return at once.
  VoicePlayer(VoiceSource source, RecordingOutput* output,
              std::function<void(const std::string&)> tellFailure);
  // Stops the worker and waits for it: a recitation being made is ended at once through the
  // source's stop, the rest of the list is dropped.
  ~VoicePlayer() override;
  VoicePlayer(const VoicePlayer&) = delete;
  VoicePlayer& operator=(const VoicePlayer&) = delete;

  bool Installed() override { return installed_; }
  // Starts the worker with the first list. Recitations kept for an earlier list and not on this
  // one are let go: each holds its sound in memory.
  void Prepare(std::vector<RecitationRequest> requests) override;
  std::optional<Recitation> Ready(const RecitationRequest& request) override;
  void Play(const Recitation& recitation) override;
  void Stop() override;
  bool Failed() override;
  void ReportFailure() override;

  // Waits until the worker has nothing left to make; for tests and measurements.
  void WaitUntilIdle();

 private:
  using Key = std::tuple<int, RecitedPart, double>;
  static Key KeyOf(const RecitationRequest& request) {
    return {request.poem, request.part, request.speed};
  }
  void Work();

  const bool installed_;
  const RecitationMaker make_;
  const std::function<void()> stop_;
  RecordingOutput* const output_;
  const std::function<void(const std::string&)> tellFailure_;

  std::mutex mutex_;  // guards everything below but the thread
  std::condition_variable changed_;
  std::vector<RecitationRequest> list_;
  std::size_t next_ = 0;  // the next of list_ to make
  bool busy_ = false;     // a recitation is being made
  int generation_ = 0;    // counts the lists given: a failure counts for its own list only
  bool failed_ = false;
  std::string failedFile_;  // what failed the voice, for the notice
  bool quitting_ = false;
  std::map<Key, Recitation> ready_;
  std::thread worker_;
};

}  // namespace verselane
