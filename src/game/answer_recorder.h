// The history of answers as the program keeps it: the database in the data folder, written by a
// thread of its own so that no timer tick waits for the disk (a commit that syncs the disk can
// take tens of milliseconds on a slow one, and a tick is 50).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <variant>

#include "game/desktop_ports.h"
#include "records/answer_history.h"

namespace verselane {

class NoticePort;

// The local time of Unix time `time` as "YYYY-MM-DD HH:MM:SS".
std::string LocalTimeText(std::int64_t time);
// The system's Unix time in seconds.
std::int64_t SystemUnixTime();

class AnswerRecorder : public HistoryPort {
 public:
  using Clock = std::function<std::int64_t()>;

  // `path` names history.sqlite3; nothing is opened yet. `now` stamps the answers and runs.
  AnswerRecorder(std::string path, NoticePort& notices, Clock now = SystemUnixTime);
  // Writes what is still queued, then closes.
  ~AnswerRecorder() override;
  AnswerRecorder(const AnswerRecorder&) = delete;
  AnswerRecorder& operator=(const AnswerRecorder&) = delete;

  // Opens the database, making it when missing. When it is damaged, locked or cannot be written
  // the player gets one notice and the game goes on without history; false then.
  bool Open();

  void RecordAnswer(const AnswerRecord& answer) override;
  void RecordRun(const RunRecord& run) override;
  bool HasAnswers() const override { return hasAnswers_; }
  HistorySnapshot Snapshot() override;
  void ReportWriteFailure() override;

  // Waits until everything queued has been written (or dropped after a failure).
  void Flush();
  bool isOpen() const { return open_; }
  const std::string& path() const { return path_; }

 private:
  using Entry = std::variant<AnswerRecord, RunRecord>;
  void Enqueue(Entry entry);
  void WriteLoop();
  void Notify(AnswerHistory::Status status, const char* operation);

  const std::string path_;
  NoticePort& notices_;
  Clock now_;
  AnswerHistory store_;  // used by the writer thread, and by Snapshot while it is idle
  std::atomic<bool> open_ = false;
  std::atomic<bool> hasAnswers_ = false;
  std::atomic<bool> writeFailed_ = false;
  bool noticeShown_ = false;

  std::mutex mutex_;
  std::condition_variable wake_;     // the writer: something queued, or stop
  std::condition_variable drained_;  // Flush: the queue is empty and nothing is being written
  std::deque<Entry> queue_;
  bool writing_ = false;
  bool stop_ = false;
  std::thread writer_;
};

}  // namespace verselane
