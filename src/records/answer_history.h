// Every judged answer and every finished run, kept in an SQLite database (history.sqlite3 in the
// data folder) apart from env.ini and record.dat, which it never touches. One transaction per
// answer in a WAL journal: a crash loses at most the answer being written.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "settings/types.h"

struct sqlite3;
struct sqlite3_stmt;

namespace verselane {

struct SqliteApi;

inline constexpr const char* kHistoryFileName = "history.sqlite3";
// PRAGMA user_version of the tables below; a later program that changes them raises it.
inline constexpr int kHistorySchemaVersion = 1;

// One judged answer.
struct AnswerRecord {
  int poem = 0;  // poem index, 0 to 99
  QuestionMode mode = QuestionMode::Normal;
  bool correct = false;
  int milliseconds = 0;       // on the question's clock at Enter
  int points = 0;  // what the answer did to the score (tripled for the favourite; a missed
                   // favourite's penalty is negative)
  std::int64_t answeredAt = 0;  // Unix seconds
  std::string localTime;        // "YYYY-MM-DD HH:MM:SS", the player's clock at the time
};

// One finished run, for the plot of scores over time.
struct RunRecord {
  std::int64_t finishedAt = 0;  // Unix seconds
  std::string localTime;        // "YYYY-MM-DD HH:MM:SS"
  QuestionMode mode = QuestionMode::Normal;
  int questions = 0;
  int answers = 0;
  int correct = 0;
  int score = 0;
  int clearSeconds = 0;
};

// What the history tells of one poem that has been asked at least once.
struct PoemFigures {
  int poem = 0;  // poem index, 0 to 99
  int answers = 0;
  int right = 0;
  std::optional<int> medianRightMs;  // of all right answers
  std::int64_t lastAnsweredAt = 0;
  std::string lastLocalTime;  // of the last answer
  std::optional<std::int64_t> lastRightAt;
  // The last kRecentAnswers answers, so that a poem learnt since stops counting its old misses.
  int recentAnswers = 0;
  int recentWrong = 0;
  std::optional<int> recentMedianRightMs;
};
inline constexpr int kRecentAnswers = 10;

// The figures of every poem in `answers` (in the order they were given), by poem index.
std::vector<PoemFigures> SummarisePoems(const std::vector<AnswerRecord>& answers);

// One line of `verselane --history`, without its line end: poem number (1 to 100), answers,
// right answers, median seconds of the right answers with one decimal ("-" when none), date of
// the last answer (YYYY-MM-DD), separated by tabs.
std::string FormatHistoryLine(const PoemFigures& poem);

class AnswerHistory {
 public:
  enum class Access { kReadWrite, kReadOnly };
  enum class Status {
    kOpened,
    kMissing,     // read-only, and there is no database yet
    kDamaged,     // not a database, or a broken one
    kLocked,      // another program holds it
    kUnwritable,  // cannot be created or written (read-only folder or file, full disk)
    kNewer,       // written by a later program whose tables this one does not know
  };

  AnswerHistory() = default;
  ~AnswerHistory();
  AnswerHistory(const AnswerHistory&) = delete;
  AnswerHistory& operator=(const AnswerHistory&) = delete;

  // Opens `path`; read-write creates it with its tables. Anything but kOpened leaves it closed
  // (and SQLite unloaded when no other history is open); a failure is also kept for
  // lastFailure().
  Status Open(const std::string& path, Access access);
  bool isOpen() const { return db_ != nullptr; }
  void Close();

  // Each in one transaction; false when it could not be written (the history stays as it was).
  bool Record(const AnswerRecord& answer);
  bool RecordRun(const RunRecord& run);

  bool HasAnswers();
  // Every answer in the order given; empty on a read error.
  std::vector<AnswerRecord> Answers();
  std::vector<RunRecord> Runs();
  // The status a failed call left, for the notice.
  Status lastFailure() const { return lastFailure_; }

 private:
  Status OpenDatabase(const std::string& path, Access access);
  bool Execute(const char* sql);
  bool Fail(int code);
  sqlite3_stmt* Prepare(const char* sql);

  std::shared_ptr<const SqliteApi> sqlite_;  // loaded while a database is open
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insertAnswer_ = nullptr;
  sqlite3_stmt* insertRun_ = nullptr;
  Status lastFailure_ = Status::kOpened;
};

// Prints the report of `verselane --history` for the database at `path` (read-only; nothing is
// created): one FormatHistoryLine per poem with history, by poem number. False, after a line on
// `errors`, when the database cannot be read; a missing one prints nothing and is no failure.
bool PrintHistoryReport(const std::string& path, std::ostream& out, std::ostream& errors);

}  // namespace verselane
