// The history of answers as the program keeps it: the database in the data folder, written by a
// thread of its own so that no timer tick waits for the disk (a commit that syncs the disk can
// take tens of milliseconds on a slow one, and a tick is 50). The tick hands its answers over
// through a ring without a lock, so it never waits for the writer either.
//
// The database is read whole once, when it is opened, into a KeptHistory in memory (the memory
// model's state, each poem's figures, the runs); the writer moves it by each answer and run it
// writes. The plan and the mastery window read that, never the file: a history of a million
// answers takes seconds to read, and the game comes back to Idle after every run.
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
#include "game/history_outlook.h"
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

  // Opens the database, making it when missing, reads it whole into memory, and closes it again
  // until the first answer needs it. When it cannot be used (damaged, locked, not ours, cannot be
  // written…) the player gets one notice naming why and the game goes on without history; false
  // then. The caller waits for all of it.
  bool Open();
  // The same on the writer's thread, so that the window never waits for a long history:
  // `opened` is called there once the history is read (or found unusable; the notice then waits
  // for ReportWriteFailure). Until then there is no plan, HasAnswers is false (unless an answer
  // was recorded meanwhile), and answers recorded are queued.
  void OpenAside(std::function<void()> opened);

  void RecordAnswer(const AnswerRecord& answer) override;
  void RecordRun(const RunRecord& run) override;
  bool HasAnswers() const override { return hasAnswers_; }
  // Waits for the history being read by OpenAside, if it still is.
  HistoryOutlook Outlook() override;
  std::optional<KeptMemory> Memory() override;
  void ReportWriteFailure() override;

  // Everything in the database read again from the file, answers just recorded included: what
  // the kept history must always match.
  HistorySnapshot Snapshot();

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
  // Reads the whole database into kept_, then closes it again; on the thread that opens it.
  FileStatus Load();
  void Loaded(bool ok);
  // Every answer, and every run when `runs` is given, once what is queued has been written. A
  // history that cannot be read is no longer written to. `keepOpen`: a database closed before
  // stays open for good; else it is closed again.
  bool ReadStore(std::vector<AnswerRecord>& answers, std::vector<RunRecord>* runs,
                 bool keepOpen);
  void Enqueue(Entry entry);
  void WriteLoop();
  FileStatus Write(const Entry& entry);
  void Keep(const Entry& entry);
  void Fail(FileStatus failure, HistoryTask task = HistoryTask::kRecord);
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
  HistoryTask failureTask_ = HistoryTask::kRecord;  // what failed: opening it or writing
  std::atomic<bool> loadFailed_ = false;

  std::mutex keptMutex_;  // the writer while it moves kept_, a reader while it copies from it
  KeptHistory kept_;
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
  std::condition_variable drained_;  // Flush: the load is done and written_ has caught up
  std::size_t written_ = 0;          // entries written (or dropped), under drainMutex_
  bool loadDone_ = false;            // under drainMutex_
  std::atomic<bool> loaded_ = false;  // loadDone_, read without the lock
  std::thread writer_;
};

}  // namespace verselane
