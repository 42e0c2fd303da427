// The history database on disk: what it keeps, how it opens damaged, locked or unwritable files,
// and the lines of `verselane --history`.
#include "records/answer_history.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/temp_folder.h"

namespace verselane {
namespace {

AnswerRecord Answer(int poem, bool correct, int milliseconds, const std::string& localTime,
                    std::int64_t at = 1'800'000'000) {
  return {poem, QuestionMode::Normal, correct, milliseconds, correct ? 1000 : 0, at, localTime};
}

// One value of `sql` read through a connection of the test's own.
std::string Query(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  std::string value = "(error)";
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(statement, 0);
    value = text != nullptr ? reinterpret_cast<const char*>(text) : "(null)";
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

// Runs `sql` on the database at `path` through a connection of the test's own, as another
// program would.
void Change(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class AnswerHistoryTest : public ::testing::Test {
 protected:
  std::string Report(std::string* errors = nullptr) {
    std::ostringstream out, err;
    EXPECT_EQ(PrintHistoryReport(path, out, err), errors == nullptr);
    if (errors != nullptr) *errors = err.str();
    return out.str();
  }

  // A history the program wrote, with `answers`, and closed again.
  void MakeHistory(const std::vector<AnswerRecord>& answers) {
    AnswerHistory history;
    ASSERT_TRUE(history.Open(path, AnswerHistory::Access::kReadWrite).ok());
    for (const AnswerRecord& answer : answers) ASSERT_TRUE(history.Record(answer).ok());
  }

  TempFolder folder;
  const std::string path = folder.File(kHistoryFileName);
};

TEST_F(AnswerHistoryTest, KeepsAnswersAndRunsInAVersionedWalDatabase) {
  {
    AnswerHistory history;
    ASSERT_EQ(history.Open(path, AnswerHistory::Access::kReadWrite), FileStatus::Ok(path));
    EXPECT_FALSE(history.HasAnswers());
    AnswerRecord reverse = Answer(99, true, 3250, "2027-01-15 08:30:00");
    reverse.mode = QuestionMode::Reverse;
    reverse.points = 3000;
    ASSERT_TRUE(history.Record(Answer(0, false, 15000, "2027-01-15 08:29:40", 1'800'000'100)).ok());
    ASSERT_TRUE(history.Record(reverse).ok());
    ASSERT_TRUE(history.RecordRun({1'800'000'200, "2027-01-15 08:31:00", QuestionMode::Poet, 2,
                                   2, 1, 3000, 61}).ok());
    EXPECT_TRUE(history.HasAnswers());
  }
  EXPECT_EQ(Query(path, "PRAGMA journal_mode"), "wal");
  EXPECT_EQ(Query(path, "PRAGMA user_version"), std::to_string(kHistorySchemaVersion));
  EXPECT_EQ(Query(path, "SELECT group_concat(poem || ' ' || mode || ' ' || correct, ',') "
                        "FROM answers"),
            "1 normal 0,100 reverse 1");

  AnswerHistory reopened;
  ASSERT_EQ(reopened.Open(path, AnswerHistory::Access::kReadOnly), FileStatus::Ok(path));
  std::vector<AnswerRecord> answers;
  ASSERT_TRUE(reopened.Answers(answers).ok());
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].poem, 0);
  EXPECT_FALSE(answers[0].correct);
  EXPECT_EQ(answers[0].answeredAt, 1'800'000'100);
  EXPECT_EQ(answers[1].poem, 99);
  EXPECT_EQ(answers[1].mode, QuestionMode::Reverse);
  EXPECT_EQ(answers[1].milliseconds, 3250);
  EXPECT_EQ(answers[1].points, 3000);
  EXPECT_EQ(answers[1].localTime, "2027-01-15 08:30:00");
  std::vector<RunRecord> runs;
  ASSERT_TRUE(reopened.Runs(runs).ok());
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].mode, QuestionMode::Poet);
  EXPECT_EQ(runs[0].score, 3000);
  EXPECT_EQ(runs[0].clearSeconds, 61);
}

// The figures the weakness and the report are made of: medians of the right answers, the last
// right answer, and the recent window that lets old misses fade.
TEST_F(AnswerHistoryTest, SummarisesEachPoemFromItsAnswers) {
  std::vector<AnswerRecord> answers;
  for (int i = 0; i < 12; ++i) answers.push_back(Answer(7, i >= 4, 1000 * (i + 1), "t", 100 + i));
  answers.push_back(Answer(3, true, 2000, "a", 50));
  answers.push_back(Answer(3, true, 5000, "b", 60));
  answers.push_back(Answer(3, false, 9000, "c", 70));
  const std::vector<PoemFigures> poems = SummarisePoems(answers);
  ASSERT_EQ(poems.size(), 2u);
  EXPECT_EQ(poems[0].poem, 3) << "by poem index";
  EXPECT_EQ(poems[0].answers, 3);
  EXPECT_EQ(poems[0].right, 2);
  EXPECT_EQ(poems[0].medianRightMs, 3500) << "the middle of an even count";
  EXPECT_EQ(poems[0].lastRightAt, 60);
  EXPECT_EQ(poems[0].lastAnsweredAt, 70);
  EXPECT_EQ(poems[0].lastLocalTime, "c");
  EXPECT_FALSE(poems[0].lastRight);
  EXPECT_TRUE(poems[1].lastRight);
  EXPECT_EQ(poems[1].answers, 12);
  EXPECT_EQ(poems[1].right, 8);
  EXPECT_EQ(poems[1].medianRightMs, 8500);
  EXPECT_EQ(poems[1].recentAnswers, kRecentAnswers);
  EXPECT_EQ(poems[1].recentWrong, 2) << "two of the four misses are older than the last ten";
  EXPECT_EQ(poems[1].recentMedianRightMs, 8500);
}

TEST_F(AnswerHistoryTest, ReportHasOneTabSeparatedLinePerPoemByNumber) {
  {
    AnswerHistory history;
    ASSERT_EQ(history.Open(path, AnswerHistory::Access::kReadWrite), FileStatus::Ok(path));
    for (const AnswerRecord& answer :
         {Answer(99, true, 4000, "2027-03-01 23:59:59"), Answer(0, false, 15000, "2027-02-27 10:00:00"),
          Answer(99, true, 2049, "2027-03-02 00:00:01"), Answer(9, true, 12345, "2027-01-05 07:07:07"),
          Answer(99, false, 9000, "2027-03-04 12:00:00"), Answer(99, true, 3000, "2027-03-05 12:00:00"),
          Answer(0, false, 15000, "2027-02-28 10:00:00")}) {
      ASSERT_TRUE(history.Record(answer).ok());
    }
    // The report reads beside a writer that keeps the database open.
    EXPECT_EQ(Report(),
              "1\t2\t0\t-\t2027-02-28\n"
              "10\t1\t1\t12.3\t2027-01-05\n"
              "100\t4\t3\t3.0\t2027-03-05\n");
  }
  EXPECT_EQ(Report(), "1\t2\t0\t-\t2027-02-28\n10\t1\t1\t12.3\t2027-01-05\n100\t4\t3\t3.0\t2027-03-05\n");
  EXPECT_EQ(FormatHistoryLine(SummarisePoems({Answer(4, true, 2049, "2027-01-01 00:00:00"),
                                              Answer(4, true, 2000, "2027-01-01 00:00:00")})[0]),
            "5\t2\t2\t2.0\t2027-01-01")
      << "2024.5 ms is 2.0 s";
}

TEST_F(AnswerHistoryTest, ReportWithoutADatabasePrintsNothingAndCreatesNothing) {
  EXPECT_EQ(Report(), "");
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// A file that is no database, or a broken one, is never changed: the player may still want it.
TEST_F(AnswerHistoryTest, DamagedFilesOpenAsDamagedAndStayAsTheyWere) {
  const std::string noise(5000, '\x5a');
  WriteBytes(path, noise);
  AnswerHistory history;
  EXPECT_EQ(history.Open(path, AnswerHistory::Access::kReadWrite), FileStatus::WrongKind(path));
  EXPECT_FALSE(history.isOpen());
  EXPECT_EQ(history.Record(Answer(1, true, 1000, "x")).code(), FileStatus::Code::kInvalidCall);
  EXPECT_EQ(ReadBytes(path), noise);
  std::string errors;
  EXPECT_EQ(Report(&errors), "");
  EXPECT_EQ(errors, "verselane: " + path + " cannot be read: it is not a database\n");

  // A real database whose table pages were overwritten.
  std::filesystem::remove(path);
  {
    AnswerHistory writer;
    ASSERT_TRUE(writer.Open(path, AnswerHistory::Access::kReadWrite).ok());
    for (int i = 0; i < 400; ++i) ASSERT_TRUE(writer.Record(Answer(i % 100, true, 1000, "x")).ok());
  }
  std::string bytes = ReadBytes(path);
  ASSERT_GT(bytes.size(), 3 * 4096u);
  for (std::size_t i = 4096 + 100; i < 3 * 4096; ++i) bytes[i] = '\x33';
  WriteBytes(path, bytes);
  EXPECT_EQ(history.Open(path, AnswerHistory::Access::kReadWrite), FileStatus::Corrupt(path));
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(AnswerHistoryTest, LockedUnwritableAndNewerDatabasesAreNotOpened) {
  {
    AnswerHistory first;
    ASSERT_TRUE(first.Open(path, AnswerHistory::Access::kReadWrite).ok());
  }
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  AnswerHistory history;
  EXPECT_EQ(history.Open(path, AnswerHistory::Access::kReadWrite), FileStatus::Locked(path));
  EXPECT_EQ(Report(), "") << "a reader is not kept out by a writer";
  ASSERT_EQ(sqlite3_exec(other, "ROLLBACK; PRAGMA user_version = 2", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(other);
  EXPECT_EQ(history.Open(path, AnswerHistory::Access::kReadWrite), FileStatus::NewerFormat(path));

  // A data folder that cannot hold the file (here, a plain file stands where it should be).
  WriteBytes(folder.File("not-a-folder"), "x");
  EXPECT_EQ(history.Open(folder.File("not-a-folder/history.sqlite3"),
                         AnswerHistory::Access::kReadWrite),
            FileStatus::IoError(folder.File("not-a-folder/history.sqlite3")));
}

// What no program of ours made is refused before anything is read or written, at once, with the
// cause named: a FIFO (which SQLite would wait on for ever), a view where our table should be
// (here one over an endless query, which a read would follow while filling the temporary
// folder), a missing table, a trigger of someone else's (which fired on our own inserts).
TEST_F(AnswerHistoryTest, FilesNotOfOurMakingAreRefusedNamingWhy) {
  constexpr const char* kRunsTable =
      "CREATE TABLE runs (id INTEGER PRIMARY KEY, finished_at INTEGER NOT NULL, local_time TEXT "
      "NOT NULL, mode TEXT NOT NULL, questions INTEGER NOT NULL, answers INTEGER NOT NULL, "
      "correct INTEGER NOT NULL, score INTEGER NOT NULL, clear_seconds INTEGER NOT NULL);";
  struct Case {
    const char* name;
    std::function<void()> make;
    FileStatus::Code code;
    const char* report;
  };
  const std::vector<Case> cases = {
      {"a FIFO", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
       FileStatus::Code::kNotRegularFile, " cannot be read: it is not a regular file"},
      {"an endless view",
       [&] {
         Change(path, (std::string(kRunsTable) +
                       "CREATE VIEW answers AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL "
                       "SELECT n + 1 FROM r) SELECT n AS id, 1 AS poem, 'normal' AS mode, 1 AS "
                       "correct, n AS milliseconds, 0 AS points, 0 AS answered_at, "
                       "'2027-01-01 00:00:00' AS local_time FROM r; PRAGMA user_version = 1;")
                          .c_str());
       },
       FileStatus::Code::kForeignContent, " cannot be read: its tables are not Verselane's"},
      {"a missing table",
       [&] {
         MakeHistory({Answer(1, true, 1000, "2027-01-01 00:00:00")});
         Change(path, "DROP TABLE runs");
       },
       FileStatus::Code::kForeignContent, " cannot be read: its tables are not Verselane's"},
      {"a trigger",
       [&] {
         MakeHistory({Answer(1, true, 1000, "2027-01-01 00:00:00"),
                      Answer(2, true, 1000, "2027-01-01 00:00:00")});
         Change(path, "CREATE TRIGGER wipe AFTER INSERT ON answers "
                      "BEGIN DELETE FROM answers WHERE id < new.id; END");
       },
       FileStatus::Code::kForeignContent, " cannot be read: its tables are not Verselane's"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    c.make();
    const std::vector<std::string> files = FilesIn(folder.path());
    AnswerHistory history;
    EXPECT_EQ(history.Open(path, AnswerHistory::Access::kReadWrite).code(), c.code);
    EXPECT_EQ(history.Record(Answer(3, true, 1000, "x")).code(), FileStatus::Code::kInvalidCall);
    std::string errors;
    EXPECT_EQ(Report(&errors), "");
    EXPECT_EQ(errors, "verselane: " + path + c.report + "\n");
    EXPECT_EQ(FilesIn(folder.path()), files) << "nothing made beside it";
  }
  EXPECT_EQ(Query(path, "SELECT count(*) FROM answers"), "2") << "the trigger never fired";
}

// A row no program of ours wrote is damage, to the game and to the report alike, instead of a
// time printed as "-1.-1" or a median overflowing into "0.-2".
TEST_F(AnswerHistoryTest, RowsOutsideSaneBoundsAreDamage) {
  for (const char* damage :
       {"UPDATE answers SET milliseconds = -1", "UPDATE answers SET milliseconds = 2147483647",
        "UPDATE answers SET mode = 'sideways'", "UPDATE answers SET milliseconds = 'soon'",
        "PRAGMA ignore_check_constraints = 1; UPDATE answers SET poem = 0",
        "INSERT INTO runs (finished_at, local_time, mode, questions, answers, correct, score, "
        "clear_seconds) VALUES (0, 'x', 'normal', 10, 5, 6, 0, 0)"}) {
    SCOPED_TRACE(damage);
    std::filesystem::remove(path);
    MakeHistory({Answer(4, true, 2000, "2027-01-01 00:00:00"),
                 Answer(4, true, 3000, "2027-01-01 00:00:00")});
    Change(path, damage);
    AnswerHistory history;
    EXPECT_EQ(history.Open(path, AnswerHistory::Access::kReadWrite), FileStatus::Corrupt(path));
    std::string errors;
    EXPECT_EQ(Report(&errors), "");
    EXPECT_EQ(errors, "verselane: " + path + " cannot be read: it is damaged\n");
  }
  // A local time the program never writes would reach a report's line or a window as it is: a
  // line break, an escape to the terminal, a cut inside a character, a date alone, a carriage
  // return in a run's time.
  for (const auto& [damage, inRuns] :
       {std::pair{"UPDATE answers SET local_time = '2027-01-01' || char(10) || '00:00:00'", false},
        {"UPDATE answers SET local_time = char(27) || '[2J7-01-01' || char(10) || '9\t1\t-\t0'",
         false},
        {"UPDATE answers SET local_time = '2027-01-0\xE6\x9C\x88 00:00:00'", false},
        {"UPDATE answers SET local_time = '2027-01-01'", false},
        {"INSERT INTO runs (finished_at, local_time, mode, questions, answers, correct, score, "
         "clear_seconds) VALUES (0, '2027-01-01 00:00:0' || char(13), 'normal', 10, 5, 4, 0, 0)",
         true}}) {
    SCOPED_TRACE(damage);
    std::filesystem::remove(path);
    MakeHistory({Answer(4, true, 2000, "2027-01-01 00:00:00")});
    Change(path, damage);
    AnswerHistory history;
    std::vector<AnswerRecord> answers;
    std::vector<RunRecord> runs;
    FileStatus read = history.Open(path, AnswerHistory::Access::kReadOnly);
    if (read.ok()) read = inRuns ? history.Runs(runs) : history.Answers(answers);
    EXPECT_EQ(read, FileStatus::Corrupt(path));
    if (inRuns) continue;
    std::string errors;
    EXPECT_EQ(Report(&errors), "");
    EXPECT_EQ(errors, "verselane: " + path + " cannot be read: it is damaged\n");
  }
  // The figures themselves hold for any two times an int can carry.
  const std::vector<PoemFigures> poems = SummarisePoems(
      {Answer(0, true, INT_MAX, "t"), Answer(0, true, INT_MAX - 2, "t")});
  EXPECT_EQ(poems[0].medianRightMs, INT_MAX - 1);
}

// The report reads the file alone when no writer is at work: no log or shared-memory file is
// left behind, and a read-only data folder is read all the same.
TEST_F(AnswerHistoryTest, ReportLeavesNothingBehindAndReadsAReadOnlyFolder) {
  MakeHistory({Answer(9, true, 1500, "2027-01-05 07:07:07")});
  ASSERT_EQ(FilesIn(folder.path()), std::vector<std::string>{kHistoryFileName});
  EXPECT_EQ(Report(), "10\t1\t1\t1.5\t2027-01-05\n");
  EXPECT_EQ(FilesIn(folder.path()), std::vector<std::string>{kHistoryFileName});

  // In a child, which (when the tests run as root) becomes a user the folder refuses writes to.
  ::chmod(folder.path().c_str(), 0555);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3);
    std::ostringstream out, errors;
    const bool read = PrintHistoryReport(path, out, errors);
    ::_exit(read && out.str() == "10\t1\t1\t1.5\t2027-01-05\n" ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ::chmod(folder.path().c_str(), 0700);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(FilesIn(folder.path()), std::vector<std::string>{kHistoryFileName});
}

}  // namespace
}  // namespace verselane
