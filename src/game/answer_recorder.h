// The history of answers as the program keeps it: the database in the data folder, written by a
// thread of its own so that no timer tick waits for the disk (a commit that syncs the disk can
// take tens of milliseconds on a slow one, and a tick is 50). The tick hands its answers over
// through a ring without a lock, so it never waits for the writer either.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>
#include <variant>

#include "base/file_status.h"
#include "base/notices.h"
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

  // Opens the database, making it when missing, to learn whether it holds answers, and closes it
  // again until the first answer or snapshot needs it. When it cannot be used (damaged, locked,
  // not ours, cannot be written…) the player gets one notice naming why and the game goes on
  // without history; false then.
  bool Open();

  void RecordAnswer(const AnswerRecord& answer) override;
  void RecordRun(const RunRecord& run) override;
  bool HasAnswers() const override { return hasAnswers_; }
  HistorySnapshot Snapshot() override;
  std::optional<KeptAnswers> ReadAnswers() override;
  void ReportWriteFailure() override;

  // Waits until everything queued has been written (or dropped after a failure).
  void Flush();
  // Answers and runs the ring holds at most; a player answers at most one a second, the writer
  // keeps up with hundreds.
  static constexpr std::size_t kRingSize = 256;
  bool isOpen() const { return open_; }
  const std::string& path() const { return path_; }

 private:
  using Entry = std::variant<AnswerRecord, RunRecord>;
  FileStatus OpenStore();
  // Every answer, and every run when `runs` is given, once what is queued has been written. A
  // history that cannot be read is no longer written to. `keepOpen`: a database closed before
  // stays open for good; else it is closed again.
  bool ReadStore(std::vector<AnswerRecord>& answers, std::vector<RunRecord>* runs,
                 bool keepOpen);
  void Enqueue(Entry entry);
  void WriteLoop();
  FileStatus Write(const Entry& entry);
  void Fail(FileStatus failure);
  void Notify(HistoryTask task, const FileStatus& status);

  const std::string path_;
  NoticePort& notices_;
  Clock now_;
  AnswerHistory store_;  // used by the writer thread, and by Snapshot while it is idle; closed
                         // from the start-up's look until the first answer or snapshot
  std::atomic<bool> open_ = false;
  std::atomic<bool> hasAnswers_ = false;
  std::atomic<bool> writeFailed_ = false;
  std::mutex failureMutex_;  // held only to set or copy failure_, never while writing
  FileStatus failure_;       // why, once writeFailed_ is set
  bool noticeShown_ = false;

  // One producer (the game's thread) and one consumer (the writer): a slot belongs to the
  // producer until head_ passes it, then to the writer until tail_ does.
  std::array<Entry, kRingSize> ring_;
  std::atomic<std::size_t> head_ = 0;  // entries ever queued
  std::atomic<std::size_t> tail_ = 0;  // entries ever written (or dropped)
  std::counting_semaphore<> queued_{0};
  std::atomic<bool> stop_ = false;

  std::mutex storeMutex_;  // the writer while it writes, Snapshot while it reads
  std::mutex drainMutex_;
  std::condition_variable drained_;  // Flush: written_ has caught up
  std::size_t written_ = 0;          // entries written (or dropped), under drainMutex_
  std::thread writer_;
};

}  // namespace verselane
