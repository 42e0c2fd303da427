#include "records/answer_history.h"

#include "records/sqlite_library.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace verselane {
namespace {

// A writer waits this long for a lock another program holds; the game's writes are off the
// timer tick, and the report waits for a write in progress.
constexpr int kBusyTimeoutMs = 2000;
// At start-up the player waits: a lock still held after this is taken as held for good.
constexpr int kOpenBusyTimeoutMs = 300;

constexpr const char* kCreateTables = R"sql(
CREATE TABLE answers (
  id INTEGER PRIMARY KEY,
  poem INTEGER NOT NULL CHECK (poem BETWEEN 1 AND 100),
  mode TEXT NOT NULL,
  correct INTEGER NOT NULL CHECK (correct IN (0, 1)),
  milliseconds INTEGER NOT NULL,
  points INTEGER NOT NULL,
  answered_at INTEGER NOT NULL,
  local_time TEXT NOT NULL
);
CREATE INDEX answers_by_poem ON answers (poem, id);
CREATE TABLE runs (
  id INTEGER PRIMARY KEY,
  finished_at INTEGER NOT NULL,
  local_time TEXT NOT NULL,
  mode TEXT NOT NULL,
  questions INTEGER NOT NULL,
  answers INTEGER NOT NULL,
  correct INTEGER NOT NULL,
  score INTEGER NOT NULL,
  clear_seconds INTEGER NOT NULL
);
)sql";

const char* ModeName(QuestionMode mode) {
  switch (mode) {
    case QuestionMode::Reverse: return "reverse";
    case QuestionMode::Poet: return "poet";
    default: return "normal";
  }
}

QuestionMode ModeFromName(const unsigned char* text) {
  const std::string name = text != nullptr ? reinterpret_cast<const char*>(text) : "";
  if (name == "reverse") return QuestionMode::Reverse;
  if (name == "poet") return QuestionMode::Poet;
  return QuestionMode::Normal;
}

std::string Text(const SqliteApi& sqlite, sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite.column_text(statement, column);
  return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

AnswerHistory::Status StatusOf(int code) {
  switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
      return AnswerHistory::Status::kDamaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return AnswerHistory::Status::kLocked;
    default:
      return AnswerHistory::Status::kUnwritable;
  }
}

std::optional<int> Median(std::vector<int> values) {
  if (values.empty()) return std::nullopt;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

std::vector<PoemFigures> SummarisePoems(const std::vector<AnswerRecord>& answers) {
  std::map<int, std::vector<const AnswerRecord*>> byPoem;
  for (const AnswerRecord& answer : answers) byPoem[answer.poem].push_back(&answer);
  std::vector<PoemFigures> poems;
  for (const auto& [poem, list] : byPoem) {
    PoemFigures figures;
    figures.poem = poem;
    std::vector<int> rightMs;
    std::vector<int> recentRightMs;
    const std::size_t recentFrom =
        list.size() > static_cast<std::size_t>(kRecentAnswers) ? list.size() - kRecentAnswers : 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const AnswerRecord& answer = *list[i];
      const bool recent = i >= recentFrom;
      ++figures.answers;
      if (recent) ++figures.recentAnswers;
      if (answer.correct) {
        ++figures.right;
        rightMs.push_back(answer.milliseconds);
        if (recent) recentRightMs.push_back(answer.milliseconds);
        figures.lastRightAt = std::max(figures.lastRightAt.value_or(answer.answeredAt),
                                       answer.answeredAt);
      } else if (recent) {
        ++figures.recentWrong;
      }
      figures.lastAnsweredAt = answer.answeredAt;
      figures.lastLocalTime = answer.localTime;
    }
    figures.medianRightMs = Median(std::move(rightMs));
    figures.recentMedianRightMs = Median(std::move(recentRightMs));
    poems.push_back(std::move(figures));
  }
  return poems;
}

std::string FormatHistoryLine(const PoemFigures& poem) {
  std::string median = "-";
  if (poem.medianRightMs) {
    const int tenths = (*poem.medianRightMs + 50) / 100;
    median = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  }
  return std::to_string(poem.poem + 1) + "\t" + std::to_string(poem.answers) + "\t" +
         std::to_string(poem.right) + "\t" + median + "\t" + poem.lastLocalTime.substr(0, 10);
}

AnswerHistory::~AnswerHistory() { Close(); }

// Lets go of the library with the last statement and connection.
void AnswerHistory::Close() {
  if (sqlite_ == nullptr) return;
  sqlite_->finalize(insertAnswer_);
  sqlite_->finalize(insertRun_);
  insertAnswer_ = nullptr;
  insertRun_ = nullptr;
  if (db_ != nullptr) sqlite_->close(db_);
  db_ = nullptr;
  sqlite_.reset();
}

bool AnswerHistory::Fail(int code) {
  lastFailure_ = StatusOf(code);
  return false;
}

bool AnswerHistory::Execute(const char* sql) {
  const int code = sqlite_->exec(db_, sql, nullptr, nullptr, nullptr);
  return code == SQLITE_OK || Fail(code);
}

sqlite3_stmt* AnswerHistory::Prepare(const char* sql) {
  sqlite3_stmt* statement = nullptr;
  const int code =
      sqlite_->prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
  if (code != SQLITE_OK) {
    Fail(code);
    return nullptr;
  }
  return statement;
}

AnswerHistory::Status AnswerHistory::Open(const std::string& path, Access access) {
  Close();
  const Status status = OpenDatabase(path, access);
  if (status != Status::kOpened && status != Status::kMissing) lastFailure_ = status;
  return status;
}

AnswerHistory::Status AnswerHistory::OpenDatabase(const std::string& path, Access access) {
  const bool readOnly = access == Access::kReadOnly;
  struct stat info {};
  if (readOnly && ::stat(path.c_str(), &info) != 0) return Status::kMissing;
  const int flags = readOnly ? SQLITE_OPEN_READONLY
                             : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  // A database this call made and could not finish is taken away again: a full disk or a
  // folder that cannot take the log must not keep an empty file.
  const bool existed = readOnly || ::stat(path.c_str(), &info) == 0;
  sqlite_ = LoadSqlite();
  if (sqlite_ == nullptr) return Status::kUnwritable;
  int code = sqlite_->open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  auto fail = [this, &path, existed](int failure) {
    Close();
    if (!existed) {
      for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        ::unlink((path + suffix).c_str());
      }
    }
    return StatusOf(failure);
  };
  if (code != SQLITE_OK) return fail(code);
  sqlite_->extended_result_codes(db_, 1);
  sqlite_->busy_timeout(db_, readOnly ? kBusyTimeoutMs : kOpenBusyTimeoutMs);

  // Reading the version reads the header: a file that is no database fails here.
  sqlite3_stmt* statement = nullptr;
  code = sqlite_->prepare_v2(db_, "PRAGMA user_version", -1, &statement, nullptr);
  int version = 0;
  if (code == SQLITE_OK) {
    code = sqlite_->step(statement);
    if (code == SQLITE_ROW) {
      version = sqlite_->column_int(statement, 0);
      code = SQLITE_OK;
    }
  }
  sqlite_->finalize(statement);
  if (code != SQLITE_OK) return fail(code);
  if (version > kHistorySchemaVersion) {
    fail(SQLITE_OK);
    return Status::kNewer;
  }
  // A broken page anywhere would otherwise surface only in the middle of a run.
  code = sqlite_->prepare_v2(db_, "PRAGMA quick_check(1)", -1, &statement, nullptr);
  bool intact = false;
  if (code == SQLITE_OK && sqlite_->step(statement) == SQLITE_ROW) {
    intact = Text(*sqlite_, statement, 0) == "ok";
  } else if (code == SQLITE_OK) {
    code = sqlite_->errcode(db_);
  }
  sqlite_->finalize(statement);
  if (code != SQLITE_OK) return fail(code);
  if (!intact) return fail(SQLITE_CORRUPT);
  if (readOnly) {
    if (version == 0) Close();  // an empty database: no tables, nothing to report
    return version == 0 ? Status::kMissing : Status::kOpened;
  }

  // Each answer is one transaction whose commit reaches the disk (synchronous FULL syncs the
  // write-ahead log on every commit). The empty transaction finds out at once whether the file
  // can be written and whether another program holds its lock.
  if (!Execute("PRAGMA journal_mode=WAL") || !Execute("PRAGMA synchronous=FULL") ||
      !Execute("BEGIN IMMEDIATE") || !Execute("COMMIT")) {
    const Status failure = lastFailure_;
    fail(SQLITE_OK);
    return failure;
  }
  sqlite_->busy_timeout(db_, kBusyTimeoutMs);
  if (version == 0) {
    const std::string create = std::string("BEGIN IMMEDIATE;") + kCreateTables +
                               "PRAGMA user_version = " +
                               std::to_string(kHistorySchemaVersion) + "; COMMIT;";
    code = sqlite_->exec(db_, create.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) return fail(code);
  }
  insertAnswer_ = Prepare(
      "INSERT INTO answers (poem, mode, correct, milliseconds, points, answered_at, local_time) "
      "VALUES (?, ?, ?, ?, ?, ?, ?)");
  insertRun_ = Prepare(
      "INSERT INTO runs (finished_at, local_time, mode, questions, answers, correct, score, "
      "clear_seconds) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
  if (insertAnswer_ == nullptr || insertRun_ == nullptr) {
    const Status failure = lastFailure_;
    fail(SQLITE_OK);
    return failure;
  }
  return Status::kOpened;
}

bool AnswerHistory::Record(const AnswerRecord& answer) {
  if (insertAnswer_ == nullptr) return false;
  sqlite3_stmt* s = insertAnswer_;
  sqlite_->bind_int(s, 1, answer.poem + 1);
  sqlite_->bind_text(s, 2, ModeName(answer.mode), -1, SQLITE_STATIC);
  sqlite_->bind_int(s, 3, answer.correct ? 1 : 0);
  sqlite_->bind_int(s, 4, answer.milliseconds);
  sqlite_->bind_int(s, 5, answer.points);
  sqlite_->bind_int64(s, 6, answer.answeredAt);
  sqlite_->bind_text(s, 7, answer.localTime.c_str(), -1, SQLITE_TRANSIENT);
  const int code = sqlite_->step(s);
  sqlite_->reset(s);
  return code == SQLITE_DONE || Fail(code);
}

bool AnswerHistory::RecordRun(const RunRecord& run) {
  if (insertRun_ == nullptr) return false;
  sqlite3_stmt* s = insertRun_;
  sqlite_->bind_int64(s, 1, run.finishedAt);
  sqlite_->bind_text(s, 2, run.localTime.c_str(), -1, SQLITE_TRANSIENT);
  sqlite_->bind_text(s, 3, ModeName(run.mode), -1, SQLITE_STATIC);
  sqlite_->bind_int(s, 4, run.questions);
  sqlite_->bind_int(s, 5, run.answers);
  sqlite_->bind_int(s, 6, run.correct);
  sqlite_->bind_int(s, 7, run.score);
  sqlite_->bind_int(s, 8, run.clearSeconds);
  const int code = sqlite_->step(s);
  sqlite_->reset(s);
  return code == SQLITE_DONE || Fail(code);
}

bool AnswerHistory::HasAnswers() {
  if (db_ == nullptr) return false;
  sqlite3_stmt* statement = nullptr;
  bool any = false;
  if (sqlite_->prepare_v2(db_, "SELECT 1 FROM answers LIMIT 1", -1, &statement, nullptr) ==
      SQLITE_OK) {
    any = sqlite_->step(statement) == SQLITE_ROW;
  }
  sqlite_->finalize(statement);
  return any;
}

std::vector<AnswerRecord> AnswerHistory::Answers() {
  std::vector<AnswerRecord> answers;
  if (db_ == nullptr) return answers;
  sqlite3_stmt* s = nullptr;
  if (sqlite_->prepare_v2(db_,
                          "SELECT poem, mode, correct, milliseconds, points, answered_at, "
                          "local_time FROM answers ORDER BY id",
                          -1, &s, nullptr) != SQLITE_OK) {
    Fail(sqlite_->errcode(db_));
    return answers;
  }
  int code;
  while ((code = sqlite_->step(s)) == SQLITE_ROW) {
    const int poem = sqlite_->column_int(s, 0);
    if (poem < 1 || poem > 100) continue;
    answers.push_back({poem - 1, ModeFromName(sqlite_->column_text(s, 1)),
                       sqlite_->column_int(s, 2) != 0, sqlite_->column_int(s, 3),
                       sqlite_->column_int(s, 4), sqlite_->column_int64(s, 5),
                       Text(*sqlite_, s, 6)});
  }
  sqlite_->finalize(s);
  if (code != SQLITE_DONE) {
    Fail(code);
    answers.clear();
  }
  return answers;
}

std::vector<RunRecord> AnswerHistory::Runs() {
  std::vector<RunRecord> runs;
  if (db_ == nullptr) return runs;
  sqlite3_stmt* s = nullptr;
  if (sqlite_->prepare_v2(db_,
                          "SELECT finished_at, local_time, mode, questions, answers, correct, "
                          "score, clear_seconds FROM runs ORDER BY id",
                          -1, &s, nullptr) != SQLITE_OK) {
    Fail(sqlite_->errcode(db_));
    return runs;
  }
  int code;
  while ((code = sqlite_->step(s)) == SQLITE_ROW) {
    runs.push_back({sqlite_->column_int64(s, 0), Text(*sqlite_, s, 1),
                    ModeFromName(sqlite_->column_text(s, 2)), sqlite_->column_int(s, 3),
                    sqlite_->column_int(s, 4), sqlite_->column_int(s, 5),
                    sqlite_->column_int(s, 6), sqlite_->column_int(s, 7)});
  }
  sqlite_->finalize(s);
  if (code != SQLITE_DONE) {
    Fail(code);
    runs.clear();
  }
  return runs;
}

bool PrintHistoryReport(const std::string& path, std::ostream& out, std::ostream& errors) {
  AnswerHistory history;
  switch (history.Open(path, AnswerHistory::Access::kReadOnly)) {
    case AnswerHistory::Status::kOpened: break;
    case AnswerHistory::Status::kMissing: return true;
    case AnswerHistory::Status::kNewer:
      errors << "verselane: " << path << " was written by a later version\n";
      return false;
    default:
      errors << "verselane: " << path << " cannot be read\n";
      return false;
  }
  const std::vector<AnswerRecord> answers = history.Answers();
  if (answers.empty() && history.lastFailure() != AnswerHistory::Status::kOpened) {
    errors << "verselane: " << path << " cannot be read\n";
    return false;
  }
  for (const PoemFigures& poem : SummarisePoems(answers)) out << FormatHistoryLine(poem) << '\n';
  out.flush();
  return true;
}

}  // namespace verselane
