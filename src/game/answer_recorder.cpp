#include "game/answer_recorder.h"

#include <ctime>
#include <cstdio>
#include <string_view>
#include <utility>

#include "base/file_ports.h"

namespace verselane {

std::string LocalTimeText(std::int64_t time) {
  const std::time_t seconds = static_cast<std::time_t>(time);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

std::int64_t SystemUnixTime() { return static_cast<std::int64_t>(std::time(nullptr)); }

AnswerRecorder::AnswerRecorder(std::string path, NoticePort& notices, Clock now)
    : path_(std::move(path)), notices_(notices), now_(std::move(now)) {}

AnswerRecorder::~AnswerRecorder() {
  stop_ = true;
  queued_.release();
  if (writer_.joinable()) writer_.join();
}

// The database is read, then closed again (and SQLite let go) until the first answer opens it
// for good: the notice comes at start, and an idle program holds none of it.
bool AnswerRecorder::Open() {
  if (open_) return true;
  const FileStatus loaded = Load();
  Loaded(loaded.ok());
  if (!loaded.ok()) {
    Notify(HistoryTask::kOpen, loaded);
    return false;
  }
  open_ = true;
  writer_ = std::thread([this] { WriteLoop(); });
  return true;
}

void AnswerRecorder::OpenAside(std::function<void()> opened) {
  if (open_) return;
  open_ = true;
  writer_ = std::thread([this, opened = std::move(opened)] {
    FileStatus loaded = Load();
    if (!loaded.ok()) Fail(std::move(loaded), HistoryTask::kOpen);
    Loaded(loaded.ok());
    opened();
    WriteLoop();
  });
}

FileStatus AnswerRecorder::Load() {
  std::lock_guard store(storeMutex_);
  KeptHistory kept;
  FileStatus read = store_.Open(path_, AnswerHistory::Access::kReadWrite);
  if (read.ok()) {
    read = store_.ForEachAnswer([&kept] { kept = KeptHistory(); },
                                [&kept](const AnswerRecord& answer) { kept.Add(answer); });
  }
  if (read.ok()) {
    read = store_.ForEachRun([&kept] { kept.ForgetRuns(); },
                             [&kept](const RunRecord& run) { kept.AddRun(run); });
  }
  store_.Close();
  if (!read.ok()) return read;
  if (kept.hasAnswers()) hasAnswers_ = true;
  std::lock_guard lock(keptMutex_);
  kept_ = std::move(kept);
  return read;
}

void AnswerRecorder::Loaded(bool ok) {
  loadFailed_ = !ok;
  {
    std::lock_guard lock(drainMutex_);
    loadDone_ = true;
  }
  loaded_ = true;
  drained_.notify_all();
}

// Called with storeMutex_ held. A database that cannot be opened again (another program took
// it meanwhile, the disk went read-only) fails as a write does.
FileStatus AnswerRecorder::OpenStore() {
  if (store_.isOpen()) return FileStatus::Ok(path_);
  return store_.Open(path_, AnswerHistory::Access::kReadWrite);
}

// Nothing more is written, and the player is told why between runs.
void AnswerRecorder::Fail(FileStatus failure, HistoryTask task) {
  std::lock_guard lock(failureMutex_);
  failure_ = std::move(failure);
  failureTask_ = task;
  writeFailed_ = true;
}

void AnswerRecorder::Notify(HistoryTask task, const FileStatus& status) {
  if (noticeShown_) return;
  noticeShown_ = true;
  TellHistoryFailure(notices_, task, status);
}

void AnswerRecorder::RecordAnswer(const AnswerRecord& answer) {
  if (!open_ || writeFailed_) return;
  AnswerRecord stamped = answer;
  stamped.answeredAt = now_();
  stamped.localTime = LocalTimeText(stamped.answeredAt);
  hasAnswers_ = true;
  Enqueue(std::move(stamped));
}

void AnswerRecorder::RecordRun(const RunRecord& run) {
  if (!open_ || writeFailed_) return;
  RunRecord stamped = run;
  stamped.finishedAt = now_();
  stamped.localTime = LocalTimeText(stamped.finishedAt);
  Enqueue(std::move(stamped));
}

// Never waits: a full ring (a writer stuck far longer than any lock is held) drops the entry
// and counts as a failed write.
void AnswerRecorder::Enqueue(Entry entry) {
  const std::size_t head = head_.load(std::memory_order_relaxed);
  if (head - tail_.load(std::memory_order_acquire) >= kRingSize) {
    writeFailed_ = true;
    return;
  }
  ring_[head % kRingSize] = std::move(entry);
  head_.store(head + 1, std::memory_order_release);
  queued_.release();
}

// Each entry is written alone, in its own transaction: a crash loses only what is in flight.
// After a failure nothing more is written; the notice waits for ReportWriteFailure.
void AnswerRecorder::WriteLoop() {
  while (true) {
    queued_.acquire();
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail == head_.load(std::memory_order_acquire)) {
      if (stop_) break;  // stopping, with everything written
      continue;
    }
    Entry entry = std::move(ring_[tail % kRingSize]);
    tail_.store(tail + 1, std::memory_order_release);
    if (!writeFailed_) {
      std::lock_guard store(storeMutex_);
      if (FileStatus written = Write(entry); !written.ok()) {
        Fail(std::move(written));
      } else {
        Keep(entry);
      }
    }
    {
      std::lock_guard lock(drainMutex_);
      written_ = tail + 1;
    }
    drained_.notify_all();
  }
}

// What is written moves the history kept in memory, so that it always holds what the file does.
void AnswerRecorder::Keep(const Entry& entry) {
  std::lock_guard lock(keptMutex_);
  std::visit(
      [this](const auto& item) {
        if constexpr (std::is_same_v<std::decay_t<decltype(item)>, AnswerRecord>) {
          kept_.Add(item);
        } else {
          kept_.AddRun(item);
        }
      },
      entry);
}

// Called with storeMutex_ held.
FileStatus AnswerRecorder::Write(const Entry& entry) {
  if (FileStatus opened = OpenStore(); !opened.ok()) return opened;
  return std::visit(
      [this](const auto& item) {
        if constexpr (std::is_same_v<std::decay_t<decltype(item)>, AnswerRecord>) {
          return store_.Record(item);
        } else {
          return store_.RecordRun(item);
        }
      },
      entry);
}

void AnswerRecorder::Flush() {
  if (!writer_.joinable()) return;
  const std::size_t queued = head_.load(std::memory_order_acquire);
  std::unique_lock lock(drainMutex_);
  drained_.wait(lock, [&] { return loadDone_ && written_ >= queued; });
}

bool AnswerRecorder::ReadStore(std::vector<AnswerRecord>& answers, std::vector<RunRecord>* runs,
                               bool keepOpen) {
  Flush();
  std::lock_guard store(storeMutex_);
  const bool wasOpen = store_.isOpen();
  FileStatus read = OpenStore();
  if (read.ok()) read = store_.Answers(answers);
  if (read.ok() && runs) read = store_.Runs(*runs);
  // A history that went bad under the program (another one wrote into it) is not written on.
  if (!wasOpen && !keepOpen) store_.Close();
  if (!read.ok()) Fail(std::move(read));
  return read.ok();
}

HistorySnapshot AnswerRecorder::Snapshot() {
  HistorySnapshot snapshot;
  snapshot.now = now_();
  // Never opened, or found unusable at start: nothing of it can be told.
  if (open_) Flush();
  if (!open_ || loadFailed_) {
    snapshot.readable = false;
    return snapshot;
  }
  if (!ReadStore(snapshot.answers, &snapshot.runs, true)) {
    snapshot.answers.clear();
    snapshot.runs.clear();
    snapshot.readable = false;
    return snapshot;
  }
  snapshot.poems = SummarisePoems(snapshot.answers);
  return snapshot;
}

HistoryOutlook AnswerRecorder::Outlook() {
  const std::int64_t now = now_();
  HistoryOutlook outlook;
  outlook.now = now;
  outlook.readable = false;
  // Never opened, or found unusable at start: nothing of it can be told.
  if (!open_) return outlook;
  Flush();
  if (loadFailed_) return outlook;
  std::lock_guard lock(keptMutex_);
  return kept_.Outlook(now);
}

// After a failed write the answers since are missing from the file, so it gives no plan. The
// plan is read whenever the game comes back to Idle, also at start-up, and while the history is
// still being read it is not there yet: this never waits for the load. Once loaded it waits only
// for an answer the writer may still be writing (milliseconds), so that it is counted.
std::optional<KeptMemory> AnswerRecorder::Memory() {
  if (!open_ || !loaded_ || writeFailed_) return std::nullopt;
  Flush();
  std::lock_guard lock(keptMutex_);
  return KeptMemory{kept_.memory(), LocalTimeText(now_())};
}

void AnswerRecorder::ReportWriteFailure() {
  if (!writeFailed_) return;
  FileStatus failure;
  HistoryTask task = HistoryTask::kRecord;
  {
    std::lock_guard lock(failureMutex_);
    failure = failure_;
    task = failureTask_;
  }
  Notify(task, failure);
}

}  // namespace verselane
