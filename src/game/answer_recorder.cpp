#include "game/answer_recorder.h"

#include <ctime>
#include <cstdio>
#include <string_view>
#include <utility>

#include "base/file_ports.h"
#include "base/shift_jis.h"

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

// The database is looked at, then closed again (and SQLite let go) until the first answer, or a
// look at the history, opens it for good: the notice comes at start, and an idle program holds
// none of it.
bool AnswerRecorder::Open() {
  if (open_) return true;
  const AnswerHistory::Status status = store_.Open(path_, AnswerHistory::Access::kReadWrite);
  if (status != AnswerHistory::Status::kOpened) {
    Notify(status, "OpenHistory");
    return false;
  }
  hasAnswers_ = store_.HasAnswers();
  store_.Close();
  open_ = true;
  writer_ = std::thread([this] { WriteLoop(); });
  return true;
}

// Called with storeMutex_ held. A database that cannot be opened again (another program took
// it meanwhile, the disk went read-only) fails as a write does.
bool AnswerRecorder::OpenStore() {
  return store_.isOpen() ||
         store_.Open(path_, AnswerHistory::Access::kReadWrite) == AnswerHistory::Status::kOpened;
}

void AnswerRecorder::Notify(AnswerHistory::Status status, const char* operation) {
  if (noticeShown_) return;
  noticeShown_ = true;
  const char* what = "を書き込めませんでした";
  switch (status) {
    case AnswerHistory::Status::kDamaged: what = "が破損しています"; break;
    case AnswerHistory::Status::kLocked: what = "を他のプログラムが使用しています"; break;
    case AnswerHistory::Status::kNewer: what = "は新しい版のVerselaneで作られています"; break;
    default: break;
  }
  const bool opening = std::string_view(operation) == "OpenHistory";
  const std::string text = std::string("NOTICE(") + operation +
                           "):\n解答履歴ファイル(history.sqlite3)" + what + "\n" +
                           (opening ? "今回は解答履歴を記録せずにゲームを続けます"
                                    : "これ以降の解答は記録されません");
  notices_.ShowNotice(SjisLiteral(text), "Notice", NoticeIcon::kExclamation);
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
      const bool written = OpenStore() && std::visit(
          [this](const auto& item) {
            if constexpr (std::is_same_v<std::decay_t<decltype(item)>, AnswerRecord>) {
              return store_.Record(item);
            } else {
              return store_.RecordRun(item);
            }
          },
          entry);
      if (!written) writeFailed_ = true;
    }
    {
      std::lock_guard lock(drainMutex_);
      written_ = tail + 1;
    }
    drained_.notify_all();
  }
}

void AnswerRecorder::Flush() {
  if (!writer_.joinable()) return;
  const std::size_t queued = head_.load(std::memory_order_acquire);
  std::unique_lock lock(drainMutex_);
  drained_.wait(lock, [&] { return written_ >= queued; });
}

HistorySnapshot AnswerRecorder::Snapshot() {
  HistorySnapshot snapshot;
  snapshot.now = now_();
  if (!open_) return snapshot;
  Flush();
  std::lock_guard store(storeMutex_);
  if (!OpenStore()) return snapshot;
  snapshot.poems = SummarisePoems(store_.Answers());
  snapshot.runs = store_.Runs();
  return snapshot;
}

void AnswerRecorder::ReportWriteFailure() {
  if (writeFailed_) Notify(store_.lastFailure(), "RecordAnswer");
}

}  // namespace verselane
