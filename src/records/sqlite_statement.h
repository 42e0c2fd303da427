// One prepared SQLite statement, finalised when its holder lets go of it. The library it came
// from must outlive it: the history holds both and lets go of its statements first.
#pragma once

#include <utility>

struct sqlite3_stmt;

namespace verselane {

struct SqliteApi;

class SqliteStatement {
 public:
  SqliteStatement() = default;
  SqliteStatement(const SqliteApi& sqlite, sqlite3_stmt* statement)
      : sqlite_(&sqlite), statement_(statement) {}
  ~SqliteStatement() { Finalize(); }
  SqliteStatement(SqliteStatement&& other) noexcept
      : sqlite_(other.sqlite_), statement_(std::exchange(other.statement_, nullptr)) {}
  SqliteStatement& operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
      Finalize();
      sqlite_ = other.sqlite_;
      statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
  }

  explicit operator bool() const { return statement_ != nullptr; }
  sqlite3_stmt* get() const { return statement_; }

 private:
  void Finalize();

  const SqliteApi* sqlite_ = nullptr;
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace verselane
