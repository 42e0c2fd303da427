// Every judged answer and every finished run, kept in an SQLite database (history.sqlite3 in the
// data folder) apart from env.ini and record.dat, which it never touches. One transaction per
// answer in a WAL journal: a crash loses at most the answer being written.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/file_status.h"
#include "base/running_median.h"
#include "base/file_system.h"
#include "records/sqlite_statement.h"
#include "settings/types.h"

struct sqlite3;

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

  friend bool operator==(const RunRecord&, const RunRecord&) = default;
};

// What the history tells of one poem that has been asked at least once.
struct PoemFigures {
  int poem = 0;  // poem index, 0 to 99
  int answers = 0;
  int right = 0;
  std::optional<int> medianRightMs;  // of all right answers
  std::int64_t lastAnsweredAt = 0;
  std::string lastLocalTime;  // of the last answer
  bool lastRight = false;     // the last answer was right
  std::optional<std::int64_t> lastRightAt;
  // The last kRecentAnswers answers, so that a poem learnt since stops counting its old misses.
  int recentAnswers = 0;
  int recentWrong = 0;
  std::optional<int> recentMedianRightMs;

  friend bool operator==(const PoemFigures&, const PoemFigures&) = default;
};
inline constexpr int kRecentAnswers = 10;

// The figures of every poem, moved one answer at a time in the order the answers were given: the
// program keeps them up to date as it records, rather than going over the whole history again.
class HistoryFigures {
 public:
  void Add(const AnswerRecord& answer);
  // The poems answered at least once, by poem index.
  std::vector<PoemFigures> Poems() const;

 private:
  struct Recent {
    bool correct = false;
    int milliseconds = 0;
  };
  struct Tally {
    PoemFigures figures;  // all but the medians and the recent answers
    RunningMedian rightMs;
    Recent recent[kRecentAnswers];  // a ring: the last kRecentAnswers answers
  };
  std::map<int, Tally> poems_;
};

// The figures of every poem in `answers` (in the order they were given), by poem index.
std::vector<PoemFigures> SummarisePoems(const std::vector<AnswerRecord>& answers);

// Milliseconds as seconds with one decimal, rounded: 2950 gives "3.0".
std::string SecondsWithTenths(int milliseconds);

// One line of `verselane --history`, without its line end: poem number (1 to 100), answers,
// right answers, median seconds of the right answers with one decimal ("-" when none), date of
// the last answer (YYYY-MM-DD), separated by tabs.
std::string FormatHistoryLine(const PoemFigures& poem);

// What the history holds, as the weak-poems run and the mastery window read it.
struct HistorySnapshot {
  std::vector<PoemFigures> poems;  // the poems asked at least once, by poem index
  std::vector<RunRecord> runs;     // oldest first
  std::int64_t now = 0;            // Unix seconds when it was taken
  std::vector<AnswerRecord> answers;  // every answer, in the order given
  // False when the history could not be read: then it tells nothing, which is not the same as
  // telling of no answers.
  bool readable = true;
};

// The database file. Before anything is read or written, Open makes sure that the file is a
// regular one, a database, intact, of this program's tables (no view or trigger of anyone
// else's, which could run away or change the player's answers), and that every row is within
// what the program ever writes; every query is held to a time and memory limit all the same.
class AnswerHistory {
 public:
  enum class Access { kReadWrite, kReadOnly };

  explicit AnswerHistory(FileSystem& files = SystemFileSystem()) : files_(files) {}
  ~AnswerHistory();
  AnswerHistory(const AnswerHistory&) = delete;
  AnswerHistory& operator=(const AnswerHistory&) = delete;

  // Opens `path`; read-write creates it with its tables. Read-only creates nothing and leaves
  // nothing behind, also in a read-only folder, and is NotFound when there is no database or an
  // empty one. Anything but Ok leaves it closed (and SQLite unloaded when no other history is
  // open): Locked, NewerFormat, NotRegularFile, WrongKind (not a database), Corrupt (broken,
  // or rows no program of ours wrote), ForeignContent (tables not ours, or missing), IoError
  // (cannot be created or written: a read-only folder, a full disk).
  FileStatus Open(const std::string& path, Access access);
  bool isOpen() const { return db_ != nullptr; }
  void Close();

  // Each in one transaction; the history stays as it was when it fails.
  FileStatus Record(const AnswerRecord& answer);
  FileStatus RecordRun(const RunRecord& run);

  bool HasAnswers();
  // Every answer or run in the order given; `out` is left empty when the read fails.
  FileStatus Answers(std::vector<AnswerRecord>& out);
  FileStatus Runs(std::vector<RunRecord>& out);
  // The same, each handed to `each` as it is read, none kept: a long history is gone through in
  // little memory. `restart` is called when the read starts over from the first (a writer
  // overtook a read without locks); what `each` was given before is then to be forgotten. A
  // failure can come after some rows.
  FileStatus ForEachAnswer(const std::function<void()>& restart,
                           const std::function<void(const AnswerRecord&)>& each);
  FileStatus ForEachRun(const std::function<void()>& restart,
                        const std::function<void(const RunRecord&)>& each);

 private:
  FileStatus OpenDatabase(const std::string& path, Access access);
  FileStatus OpenForReading(const std::string& path, const FileInfo& file);
  FileStatus OpenForWriting(const std::string& path);
  int Connect(const std::string& name, int flags, int busyTimeoutMs);
  void Disconnect();
  FileStatus CheckDatabase(bool& empty);
  FileStatus CheckLayout();
  FileStatus CheckUnchanged();
  void Arm();
  FileStatus Execute(const char* sql);
  FileStatus Failure(int code) const;
  int Prepare(const char* sql, SqliteStatement& statement, unsigned flags = 0);
  int QueryOne(const char* sql, std::int64_t& value, std::string* text = nullptr);
  template <typename Read, typename Each>
  FileStatus ReadAll(const std::string& sql, const std::function<void()>& restart, Read read,
                     Each each, int attempts = 3);
  void AllowForSize(const std::string& path);
  bool RowsStillChecked();
  static int Overran(void* history);

  FileSystem& files_;
  std::string path_;
  std::shared_ptr<const SqliteApi> sqlite_;  // loaded while a database is open
  sqlite3* db_ = nullptr;
  SqliteStatement insertAnswer_;
  SqliteStatement insertRun_;
  // Read without locks (no writer had the file open): what the file was, so that a writer that
  // changed it meanwhile is noticed and the read made again.
  std::optional<FileInfo> unlockedRead_;
  std::chrono::steady_clock::time_point deadline_;  // of the query under way
  std::chrono::seconds sizeAllowance_{0};           // more time for a larger file
  std::optional<std::int64_t> checkedVersion_;      // data_version when every row was checked
};

// Prints the report of `verselane --history` for the database at `path` (read-only; nothing is
// created or left behind): one FormatHistoryLine per poem with history, by poem number. False,
// after a line on `errors` naming the cause, when the database cannot be read; a missing one
// prints nothing and is no failure.
bool PrintHistoryReport(const std::string& path, std::ostream& out, std::ostream& errors,
                        FileSystem& files = SystemFileSystem());

// Why a history cannot be read, to follow its file's name in a message: " cannot be read: it is
// damaged", " was written by a later version"...
std::string HistoryReadProblem(const FileStatus& status);

// Every answer of the database at `path` for a report on the command line, read as
// PrintHistoryReport reads it: false, after a line on `errors` naming the cause, when it cannot
// be read; a missing database has no answers and is no failure.
bool ReadAnswersForReport(const std::string& path, std::vector<AnswerRecord>& answers,
                          std::ostream& errors, FileSystem& files = SystemFileSystem());
// The same, each answer handed to `each` as it is read and none kept (`restart`: as for
// AnswerHistory::ForEachAnswer).
bool ForEachAnswerForReport(const std::string& path, const std::function<void()>& restart,
                            const std::function<void(const AnswerRecord&)>& each,
                            std::ostream& errors, FileSystem& files = SystemFileSystem());

}  // namespace verselane
