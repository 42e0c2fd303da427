#include "records/answer_history.h"

#include "records/sqlite_library.h"

#include <cctype>
#include <string_view>

namespace verselane {
namespace {

// A writer waits this long for a lock another program holds; the game's writes are off the
// timer tick, and the report waits for a write in progress.
constexpr int kBusyTimeoutMs = 2000;
// At start-up the player waits: a lock still held after this is taken as held for good.
constexpr int kOpenBusyTimeoutMs = 300;

// Every query, the checks at opening included, ends within this, and a little more for a large
// file: a database made to run away (a view over an endless query, say) is then refused instead
// of hanging the program, but reading a genuine history takes time in proportion to its size,
// and no player's history may be refused for being long. A second more for every 4 MiB of the
// file (its log included) allows a read far slower than any disk's (a history of four million
// answers is some 250 MiB: a minute more).
constexpr std::chrono::seconds kQueryTimeLimit{10};
constexpr std::uint64_t kBytesPerSecondAllowed = 4 << 20;
// What SQLite may take of the memory, temporary tables included, which are kept in memory: a
// database must not be able to fill the disk or the memory while it is read.
constexpr std::int64_t kHeapLimitBytes = 64 << 20;

// The tables, as SQLite keeps their statements: Open accepts no database without exactly these.
constexpr const char* kAnswersTable = R"sql(CREATE TABLE answers (
  id INTEGER PRIMARY KEY,
  poem INTEGER NOT NULL CHECK (poem BETWEEN 1 AND 100),
  mode TEXT NOT NULL,
  correct INTEGER NOT NULL CHECK (correct IN (0, 1)),
  milliseconds INTEGER NOT NULL,
  points INTEGER NOT NULL,
  answered_at INTEGER NOT NULL,
  local_time TEXT NOT NULL
))sql";
constexpr const char* kAnswersIndex = "CREATE INDEX answers_by_poem ON answers (poem, id)";
constexpr const char* kRunsTable = R"sql(CREATE TABLE runs (
  id INTEGER PRIMARY KEY,
  finished_at INTEGER NOT NULL,
  local_time TEXT NOT NULL,
  mode TEXT NOT NULL,
  questions INTEGER NOT NULL,
  answers INTEGER NOT NULL,
  correct INTEGER NOT NULL,
  score INTEGER NOT NULL,
  clear_seconds INTEGER NOT NULL
))sql";

// A row within what the program ever writes; anything else is damage, whoever wrote it. (A
// question's clock never runs for a day; a run has at most a hundred questions; a local time is
// as long as "YYYY-MM-DD hh:mm:ss", and its characters are checked as it is read.)
constexpr const char* kSaneAnswer =
    "typeof(poem) = 'integer' AND poem BETWEEN 1 AND 100"
    " AND mode IN ('normal', 'reverse', 'poet') AND correct IN (0, 1)"
    " AND typeof(milliseconds) = 'integer' AND milliseconds BETWEEN 0 AND 86400000"
    " AND typeof(points) = 'integer' AND points BETWEEN -1000000 AND 1000000"
    " AND typeof(answered_at) = 'integer' AND answered_at >= 0"
    " AND typeof(local_time) = 'text' AND length(local_time) = 19";
constexpr const char* kSaneRun =
    "typeof(finished_at) = 'integer' AND finished_at >= 0"
    " AND typeof(local_time) = 'text' AND length(local_time) = 19"
    " AND mode IN ('normal', 'reverse', 'poet')"
    " AND typeof(questions) = 'integer' AND questions BETWEEN 0 AND 100"
    " AND typeof(answers) = 'integer' AND answers BETWEEN 0 AND 100"
    " AND typeof(correct) = 'integer' AND correct BETWEEN 0 AND answers"
    " AND typeof(score) = 'integer' AND score BETWEEN -100000000 AND 100000000"
    " AND typeof(clear_seconds) = 'integer' AND clear_seconds BETWEEN 0 AND 100000000";

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

// The file's name in a URI that opens it read-only without locks, as a file nobody writes.
std::string UnlockedUri(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const char c : path) {
    const unsigned char byte = static_cast<unsigned char>(c);
    // ASCII letters and digits only: the locale's own letters are bytes to escape too.
    const bool letter = byte < 0x80 && std::isalnum(byte) != 0;
    if (letter || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 15];
    }
  }
  return uri + "?immutable=1";
}

// A local time as the program writes it, "YYYY-MM-DD hh:mm:ss" in ASCII digits, so that no
// report or window shows a line break, a control character or half a character from a file.
// Checked here as each row is read: a pattern in the query took as long again as reading a long
// history.
bool IsLocalTimeText(std::string_view text) {
  constexpr std::string_view kShape = "0000-00-00 00:00:00";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == '0' ? !digit : text[i] != kShape[i]) return false;
  }
  return true;
}

bool Exists(FileSystem& files, const std::string& path) {
  FileInfo info;
  return files.Stat(path, info).ok();
}

}  // namespace

AnswerHistory::~AnswerHistory() { Close(); }

// Lets go of the statements, then the connection, then the library.
void AnswerHistory::Close() {
  Disconnect();
  sqlite_.reset();
  unlockedRead_.reset();
}

void AnswerHistory::Disconnect() {
  insertAnswer_ = {};
  insertRun_ = {};
  if (db_ != nullptr) sqlite_->close(db_);
  db_ = nullptr;
  checkedVersion_.reset();
}

FileStatus AnswerHistory::Failure(int code) const {
  switch (code & 0xff) {
    case SQLITE_NOTADB: return FileStatus::WrongKind(path_);
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT: return FileStatus::Corrupt(path_);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return FileStatus::Locked(path_);
    default: return FileStatus::IoError(path_);
  }
}

int AnswerHistory::Overran(void* history) {
  return std::chrono::steady_clock::now() > static_cast<AnswerHistory*>(history)->deadline_;
}

void AnswerHistory::Arm() {
  deadline_ = std::chrono::steady_clock::now() + kQueryTimeLimit + sizeAllowance_;
}

void AnswerHistory::AllowForSize(const std::string& path) {
  std::uint64_t bytes = 0;
  for (const char* suffix : {"", "-wal"}) {
    FileInfo file;
    if (files_.Stat(path + suffix, file).ok()) bytes += file.size;
  }
  sizeAllowance_ = std::chrono::seconds(bytes / kBytesPerSecondAllowed);
}

FileStatus AnswerHistory::Execute(const char* sql) {
  const int code = sqlite_->exec(db_, sql, nullptr, nullptr, nullptr);
  return code == SQLITE_OK ? FileStatus::Ok(path_) : Failure(code);
}

int AnswerHistory::Prepare(const char* sql, SqliteStatement& statement, unsigned flags) {
  sqlite3_stmt* prepared = nullptr;
  const int code = sqlite_->prepare_v3(db_, sql, -1, flags, &prepared, nullptr);
  statement = SqliteStatement(*sqlite_, prepared);
  return code;
}

// The first column of the first row of `sql`: an integer, or the text as `text`.
int AnswerHistory::QueryOne(const char* sql, std::int64_t& value, std::string* text) {
  SqliteStatement statement;
  int code = Prepare(sql, statement);
  if (code != SQLITE_OK) return code;
  code = sqlite_->step(statement.get());
  if (code == SQLITE_ROW) {
    value = sqlite_->column_int64(statement.get(), 0);
    if (text != nullptr) *text = Text(*sqlite_, statement.get(), 0);
    return SQLITE_OK;
  }
  return code == SQLITE_DONE ? SQLITE_OK : code;
}

int AnswerHistory::Connect(const std::string& name, int flags, int busyTimeoutMs) {
  const int code = sqlite_->open_v2(name.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (code != SQLITE_OK) return code;
  sqlite_->extended_result_codes(db_, 1);
  sqlite_->busy_timeout(db_, busyTimeoutMs);
  sqlite_->progress_handler(db_, 1000, &AnswerHistory::Overran, this);
  sqlite_->hard_heap_limit64(kHeapLimitBytes);
  return sqlite_->exec(db_, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
}

FileStatus AnswerHistory::Open(const std::string& path, Access access) {
  Close();
  path_ = path;
  AllowForSize(path);
  Arm();
  FileStatus opened = OpenDatabase(path, access);
  if (!opened.ok()) Close();
  return opened;
}

FileStatus AnswerHistory::OpenDatabase(const std::string& path, Access access) {
  FileInfo file;
  const FileStatus found = files_.Stat(path, file);
  if (!found.ok() && (found.code() != FileStatus::Code::kNotFound || access == Access::kReadOnly)) {
    return found;
  }
  // SQLite would wait on a FIFO for ever, and take a device for a database.
  if (found.ok() && !file.regular) return FileStatus::NotRegularFile(path);
  sqlite_ = LoadSqlite();
  if (sqlite_ == nullptr) return FileStatus::IoError(path);
  if (access == Access::kReadOnly) return OpenForReading(path, file);
  FileStatus opened = OpenForWriting(path);
  // A database this call made and could not finish is taken away again: a full disk or a
  // folder that cannot take the log must not keep an empty file.
  if (!opened.ok() && !found.ok()) {
    Disconnect();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
      static_cast<void>(files_.Remove(path + suffix));
    }
  }
  return opened;
}

// A writer at work keeps a log beside the file, and the file is read through SQLite's locks,
// beside it. Without one the file alone is the whole database: it is read without locks, which
// leaves no log or shared-memory file behind and works in a read-only folder; a writer that
// starts meanwhile is noticed after each read (CheckUnchanged).
FileStatus AnswerHistory::OpenForReading(const std::string& path, const FileInfo& file) {
  bool empty = false;
  if (Exists(files_, path + "-wal") || Exists(files_, path + "-journal")) {
    const int code = Connect(path, SQLITE_OPEN_READONLY, kBusyTimeoutMs);
    FileStatus checked = code == SQLITE_OK ? CheckDatabase(empty) : Failure(code);
    // A log this folder does not let the reader use is read past, as if no writer were there.
    if (checked.code() != FileStatus::Code::kIoError) {
      return empty && checked.ok() ? FileStatus::NotFound(path) : checked;
    }
    Disconnect();
  }
  unlockedRead_ = file;
  const int code = Connect(UnlockedUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, 0);
  FileStatus checked = code == SQLITE_OK ? CheckDatabase(empty) : Failure(code);
  if (checked.ok()) checked = CheckUnchanged();
  return empty && checked.ok() ? FileStatus::NotFound(path) : checked;
}

FileStatus AnswerHistory::OpenForWriting(const std::string& path) {
  const int code = Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, kOpenBusyTimeoutMs);
  if (code != SQLITE_OK) return Failure(code);
  bool empty = false;
  if (FileStatus checked = CheckDatabase(empty); !checked.ok()) return checked;
  // Each answer is one transaction whose commit reaches the disk (synchronous FULL syncs the
  // write-ahead log on every commit). The empty transaction finds out at once whether the file
  // can be written and whether another program holds its lock.
  for (const char* step : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL",
                           "BEGIN IMMEDIATE", "COMMIT"}) {
    if (FileStatus done = Execute(step); !done.ok()) return done;
  }
  sqlite_->busy_timeout(db_, kBusyTimeoutMs);
  if (empty) {
    const std::string create = std::string("BEGIN IMMEDIATE;") + kAnswersTable + ";" +
                               kAnswersIndex + ";" + kRunsTable + ";PRAGMA user_version = " +
                               std::to_string(kHistorySchemaVersion) + "; COMMIT;";
    if (FileStatus created = Execute(create.c_str()); !created.ok()) return created;
  }
  int prepared = Prepare(
      "INSERT INTO answers (poem, mode, correct, milliseconds, points, answered_at, local_time) "
      "VALUES (?, ?, ?, ?, ?, ?, ?)",
      insertAnswer_, SQLITE_PREPARE_PERSISTENT);
  if (prepared == SQLITE_OK) {
    prepared = Prepare(
        "INSERT INTO runs (finished_at, local_time, mode, questions, answers, correct, score, "
        "clear_seconds) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
        insertRun_, SQLITE_PREPARE_PERSISTENT);
  }
  return prepared == SQLITE_OK ? FileStatus::Ok(path) : Failure(prepared);
}

// Reading the version reads the header (a file that is no database fails here); then the whole
// file is checked (a broken page would otherwise surface in the middle of a run), then its
// tables, then its rows. `empty`: a database with nothing in it yet.
FileStatus AnswerHistory::CheckDatabase(bool& empty) {
  std::int64_t version = 0;
  int code = QueryOne("PRAGMA user_version", version);
  if (code != SQLITE_OK) return Failure(code);
  if (version > kHistorySchemaVersion) return FileStatus::NewerFormat(path_);
  std::string verdict;
  std::int64_t ignored = 0;
  code = QueryOne("PRAGMA quick_check(1)", ignored, &verdict);
  if (code != SQLITE_OK) return Failure(code);
  if (verdict != "ok") return FileStatus::Corrupt(path_);
  std::int64_t objects = 0;
  code = QueryOne("SELECT count(*) FROM sqlite_master", objects);
  if (code != SQLITE_OK) return Failure(code);
  empty = version == 0 && objects == 0;
  if (empty) return FileStatus::Ok(path_);
  if (version != kHistorySchemaVersion) return FileStatus::ForeignContent(path_);
  if (FileStatus layout = CheckLayout(); !layout.ok()) return layout;
  std::int64_t insane = 0;
  const std::string sql = std::string("SELECT EXISTS (SELECT 1 FROM answers WHERE NOT (") +
                          kSaneAnswer + ")) OR EXISTS (SELECT 1 FROM runs WHERE NOT (" +
                          kSaneRun + "))";
  code = QueryOne(sql.c_str(), insane);
  if (code != SQLITE_OK) return Failure(code);
  if (insane != 0) return FileStatus::Corrupt(path_);
  std::int64_t dataVersion = 0;
  if (QueryOne("PRAGMA data_version", dataVersion) == SQLITE_OK) checkedVersion_ = dataVersion;
  return FileStatus::Ok(path_);
}

// Exactly the program's tables and index, and nothing else but SQLite's own statistics.
FileStatus AnswerHistory::CheckLayout() {
  SqliteStatement statement;
  int code = Prepare("SELECT type, name, sql FROM sqlite_master ORDER BY name", statement);
  if (code != SQLITE_OK) return Failure(code);
  std::vector<std::string> ours;
  while ((code = sqlite_->step(statement.get())) == SQLITE_ROW) {
    const std::string type = Text(*sqlite_, statement.get(), 0);
    const std::string name = Text(*sqlite_, statement.get(), 1);
    if (type == "table" && name.starts_with("sqlite_stat")) continue;
    ours.push_back(type + " " + Text(*sqlite_, statement.get(), 2));
  }
  if (code != SQLITE_DONE) return Failure(code);
  const std::vector<std::string> expected = {std::string("table ") + kAnswersTable,
                                             std::string("index ") + kAnswersIndex,
                                             std::string("table ") + kRunsTable};
  return ours == expected ? FileStatus::Ok(path_) : FileStatus::ForeignContent(path_);
}

// After a read without locks: the file is still the one opened, unchanged, and no writer has
// started a log beside it.
FileStatus AnswerHistory::CheckUnchanged() {
  if (!unlockedRead_) return FileStatus::Ok(path_);
  FileInfo now;
  const bool same = files_.Stat(path_, now).ok() && now == *unlockedRead_ &&
                    !Exists(files_, path_ + "-wal");
  return same ? FileStatus::Ok(path_) : FileStatus::Locked(path_);
}

FileStatus AnswerHistory::Record(const AnswerRecord& answer) {
  if (!insertAnswer_) return FileStatus::InvalidCall(path_);
  Arm();
  sqlite3_stmt* s = insertAnswer_.get();
  sqlite_->bind_int(s, 1, answer.poem + 1);
  sqlite_->bind_text(s, 2, ModeName(answer.mode), -1, SQLITE_STATIC);
  sqlite_->bind_int(s, 3, answer.correct ? 1 : 0);
  sqlite_->bind_int(s, 4, answer.milliseconds);
  sqlite_->bind_int(s, 5, answer.points);
  sqlite_->bind_int64(s, 6, answer.answeredAt);
  sqlite_->bind_text(s, 7, answer.localTime.c_str(), -1, SQLITE_TRANSIENT);
  const int code = sqlite_->step(s);
  sqlite_->reset(s);
  return code == SQLITE_DONE ? FileStatus::Ok(path_) : Failure(code);
}

FileStatus AnswerHistory::RecordRun(const RunRecord& run) {
  if (!insertRun_) return FileStatus::InvalidCall(path_);
  Arm();
  sqlite3_stmt* s = insertRun_.get();
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
  return code == SQLITE_DONE ? FileStatus::Ok(path_) : Failure(code);
}

bool AnswerHistory::HasAnswers() {
  if (db_ == nullptr) return false;
  Arm();
  std::int64_t any = 0;
  return QueryOne("SELECT EXISTS (SELECT 1 FROM answers)", any) == SQLITE_OK && any != 0;
}

// Every row of `sql`, whose last column says whether the row is sane, through `read` to `each`.
// A read without locks that a writer overtook is made again, through the writer's locks this time,
// after `restart`.
template <typename Read, typename Each>
FileStatus AnswerHistory::ReadAll(const std::string& sql, const std::function<void()>& restart,
                                  Read read, Each each, int attempts) {
  if (db_ == nullptr) return FileStatus::InvalidCall(path_);
  Arm();
  SqliteStatement statement;
  int code = Prepare(sql.c_str(), statement);
  if (code != SQLITE_OK) return Failure(code);
  sqlite3_stmt* s = statement.get();
  const int saneColumn = sqlite_->column_count(s) - 1;
  bool sane = true;
  while (sane && (code = sqlite_->step(s)) == SQLITE_ROW) {
    sane = sqlite_->column_int(s, saneColumn) != 0;
    if (sane) {
      auto row = read(s);
      sane = IsLocalTimeText(row.localTime);
      if (sane) each(std::move(row));
    }
  }
  FileStatus status = !sane ? FileStatus::Corrupt(path_)
                      : code != SQLITE_DONE ? Failure(code)
                                            : CheckUnchanged();
  if (status.code() == FileStatus::Code::kLocked && unlockedRead_ && attempts > 1) {
    statement = {};
    status = Open(path_, Access::kReadOnly);
    if (status.ok()) {
      restart();
      return ReadAll(sql, restart, read, each, attempts - 1);
    }
  }
  return status;
}

// Every row was found sane when the database was opened; as long as no other connection has
// changed it since (SQLite's data_version says so), they need not be checked again as they are
// read. On a long history that check is a third of the read.
bool AnswerHistory::RowsStillChecked() {
  if (db_ == nullptr) return false;
  Arm();
  std::int64_t version = 0;
  return checkedVersion_ && QueryOne("PRAGMA data_version", version) == SQLITE_OK &&
         version == *checkedVersion_;
}

FileStatus AnswerHistory::ForEachAnswer(const std::function<void()>& restart,
                                        const std::function<void(const AnswerRecord&)>& each) {
  const std::string sql =
      std::string("SELECT poem, mode, correct, milliseconds, points, answered_at, local_time, (") +
      (RowsStillChecked() ? "1" : kSaneAnswer) + ") FROM answers ORDER BY id";
  return ReadAll(
      sql, restart,
      [this](sqlite3_stmt* s) {
        return AnswerRecord{sqlite_->column_int(s, 0) - 1,
                            ModeFromName(sqlite_->column_text(s, 1)),
                            sqlite_->column_int(s, 2) != 0,
                            sqlite_->column_int(s, 3),
                            sqlite_->column_int(s, 4),
                            sqlite_->column_int64(s, 5),
                            Text(*sqlite_, s, 6)};
      },
      each);
}

FileStatus AnswerHistory::ForEachRun(const std::function<void()>& restart,
                                     const std::function<void(const RunRecord&)>& each) {
  const std::string sql =
      std::string("SELECT finished_at, local_time, mode, questions, answers, correct, score, "
                  "clear_seconds, (") +
      (RowsStillChecked() ? "1" : kSaneRun) + ") FROM runs ORDER BY id";
  return ReadAll(
      sql, restart,
      [this](sqlite3_stmt* s) {
        return RunRecord{sqlite_->column_int64(s, 0), Text(*sqlite_, s, 1),
                         ModeFromName(sqlite_->column_text(s, 2)), sqlite_->column_int(s, 3),
                         sqlite_->column_int(s, 4), sqlite_->column_int(s, 5),
                         sqlite_->column_int(s, 6), sqlite_->column_int(s, 7)};
      },
      each);
}

namespace {

template <typename Row>
FileStatus Collect(std::vector<Row>& out,
                   const std::function<FileStatus(const std::function<void()>&,
                                                  const std::function<void(const Row&)>&)>& read) {
  out.clear();
  FileStatus status = read([&out] { out.clear(); }, [&out](const Row& row) { out.push_back(row); });
  if (!status.ok()) out.clear();
  return status;
}

}  // namespace

FileStatus AnswerHistory::Answers(std::vector<AnswerRecord>& out) {
  return Collect<AnswerRecord>(out, [this](const auto& restart, const auto& each) {
    return ForEachAnswer(restart, each);
  });
}

FileStatus AnswerHistory::Runs(std::vector<RunRecord>& out) {
  return Collect<RunRecord>(out, [this](const auto& restart, const auto& each) {
    return ForEachRun(restart, each);
  });
}

}  // namespace verselane
