// A long history (LongHistory) written into a database of the program's own tables, in a folder in
// memory when there is one (/dev/shm), with a finished run after every twentieth answer. Written
// in one transaction: a million answers one transaction each, as the game writes them, would
// take far longer than any benchmark; reading it back is served from the page cache either way.
#pragma once

#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "long_history.h"
#include "records/answer_history.h"

namespace verselane {

class SeededHistory {
 public:
  explicit SeededHistory(int answers) {
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::current_path();
    std::string pattern = (base / "verselane-bench-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    {
      AnswerHistory tables;  // the program makes its tables
      ok_ = tables.Open(path(), AnswerHistory::Access::kReadWrite).ok();
    }
    ok_ = ok_ && Fill(answers);
  }
  ~SeededHistory() { std::filesystem::remove_all(folder_); }
  SeededHistory(const SeededHistory&) = delete;
  SeededHistory& operator=(const SeededHistory&) = delete;
  std::string path() const { return folder_ + "/" + kHistoryFileName; }
  const std::string& folder() const { return folder_; }
  bool ok() const { return ok_; }

 private:
  bool Fill(int count) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path().c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* answer = nullptr;
    sqlite3_stmt* run = nullptr;
    ok = ok &&
         sqlite3_prepare_v2(db,
                            "INSERT INTO answers (poem, mode, correct, milliseconds, points, "
                            "answered_at, local_time) VALUES (?, ?, ?, ?, 10, ?, ?)",
                            -1, &answer, nullptr) == SQLITE_OK &&
         sqlite3_prepare_v2(db,
                            "INSERT INTO runs (finished_at, local_time, mode, questions, answers, "
                            "correct, score, clear_seconds) VALUES (?, ?, 'normal', 20, 20, 16, "
                            "1600, 95)",
                            -1, &run, nullptr) == SQLITE_OK;
    static const char* const kModes[] = {"normal", "reverse", "poet"};
    int written = 0;
    for (const AnswerRecord& each : LongHistory(count)) {
      if (!ok) break;
      sqlite3_bind_int(answer, 1, each.poem + 1);
      sqlite3_bind_text(answer, 2, kModes[static_cast<int>(each.mode)], -1, SQLITE_STATIC);
      sqlite3_bind_int(answer, 3, each.correct ? 1 : 0);
      sqlite3_bind_int(answer, 4, each.milliseconds);
      sqlite3_bind_int64(answer, 5, each.answeredAt);
      sqlite3_bind_text(answer, 6, each.localTime.c_str(), -1, SQLITE_TRANSIENT);
      ok = sqlite3_step(answer) == SQLITE_DONE && sqlite3_reset(answer) == SQLITE_OK;
      if (ok && ++written % 20 == 0) {
        sqlite3_bind_int64(run, 1, each.answeredAt);
        sqlite3_bind_text(run, 2, each.localTime.c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(run) == SQLITE_DONE && sqlite3_reset(run) == SQLITE_OK;
      }
    }
    sqlite3_finalize(answer);
    sqlite3_finalize(run);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
  }

  std::string folder_;
  bool ok_ = false;
};

}  // namespace verselane
