#include "ui/voice_player.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "ui/sound_player.h"

namespace verselane {
namespace {

// The synthesiser must never take the timer tick's core from the game: the worker (and any
// process it starts, which inherits it) runs at the lowest priority.
void LowerThisThreadsPriority() {
  static_cast<void>(setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19));
}

// What a maker hands back is checked before it is played: a synthesiser that wrote garbage
// counts as failed.
bool Plausible(const Recitation& recitation) {
  const std::vector<int>& starts = recitation.cellStartMs;
  return !recitation.wavPath.empty() && recitation.sound != nullptr &&
         !recitation.sound->empty() && recitation.lengthMs > 0 &&
         std::is_sorted(starts.begin(), starts.end()) &&
         (starts.empty() || (starts.front() >= 0 && starts.back() < recitation.lengthMs));
}

}  // namespace

VoicePlayer::VoicePlayer(VoiceSource source, RecordingOutput* output,
                         std::function<void(const std::string&)> tellFailure)
    : installed_(source.installed),
      make_(std::move(source.make)),
      stop_(std::move(source.stop)),
      output_(output),
      tellFailure_(std::move(tellFailure)) {}

VoicePlayer::~VoicePlayer() {
  {
    const std::lock_guard lock(mutex_);
    quitting_ = true;
  }
  changed_.notify_all();
  // A synthesiser that hangs must not hold the program's end up until its time-out.
  if (stop_) stop_();
  if (worker_.joinable()) worker_.join();
}

void VoicePlayer::Prepare(std::vector<RecitationRequest> requests) {
  {
    const std::lock_guard lock(mutex_);
    std::erase_if(ready_, [&](const auto& kept) {
      return std::none_of(requests.begin(), requests.end(), [&](const RecitationRequest& request) {
        return KeyOf(request) == kept.first;
      });
    });
    list_ = std::move(requests);
    next_ = 0;
    ++generation_;
    failed_ = false;
  }
  changed_.notify_all();
  if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
  if (output_ != nullptr) output_->PrepareRecordings();
}

void VoicePlayer::Work() {
  LowerThisThreadsPriority();
  std::unique_lock lock(mutex_);
  while (!quitting_) {
    if (next_ >= list_.size()) {
      changed_.notify_all();  // idle
      changed_.wait(lock);
      continue;
    }
    const RecitationRequest request = list_[next_++];
    if (ready_.contains(KeyOf(request))) continue;
    const int generation = generation_;
    busy_ = true;
    lock.unlock();
    Recitation recitation;
    const FileStatus status = make_(request, recitation);
    const bool made = status.ok() && Plausible(recitation);
    lock.lock();
    busy_ = false;
    if (made) {
      ready_[KeyOf(request)] = std::move(recitation);
    } else if (generation == generation_ && !quitting_) {
      // The rest of the list would most likely fail the same way, each after its time-out.
      failed_ = true;
      failedFile_ = status.ok() ? recitation.wavPath : status.path();
      next_ = list_.size();
    }
  }
}

std::optional<Recitation> VoicePlayer::Ready(const RecitationRequest& request) {
  const std::lock_guard lock(mutex_);
  const auto found = ready_.find(KeyOf(request));
  if (found == ready_.end()) return std::nullopt;
  return found->second;
}

// A recording the device cannot play counts as a failure of the voice.
void VoicePlayer::Play(const Recitation& recitation) {
  if (output_ == nullptr || (recitation.sound != nullptr &&
                             output_->PlayRecording(*recitation.sound))) {
    return;
  }
  const std::lock_guard lock(mutex_);
  failed_ = true;
  failedFile_ = recitation.wavPath;
}

void VoicePlayer::Stop() {
  if (output_ != nullptr) output_->StopRecording();
}

bool VoicePlayer::Failed() {
  const std::lock_guard lock(mutex_);
  return failed_;
}

void VoicePlayer::ReportFailure() {
  std::string file;
  {
    const std::lock_guard lock(mutex_);
    file = failedFile_;
  }
  if (tellFailure_) tellFailure_(file);
}

void VoicePlayer::WaitUntilIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return quitting_ || (!busy_ && next_ >= list_.size()); });
}

}  // namespace verselane
