// SQLite, loaded while a history database is open and let go when the last one closes. The
// program only looks at its history when it starts and opens it again for the first answer: an
// idle program then holds none of the library's megabyte and a half of code and pages.
#pragma once

#include <sqlite3.h>

#include <memory>

namespace verselane {

// The functions of libsqlite3 the history uses, under their names without "sqlite3_".
struct SqliteApi {
  decltype(&::sqlite3_open_v2) open_v2 = nullptr;
  decltype(&::sqlite3_close) close = nullptr;
  decltype(&::sqlite3_extended_result_codes) extended_result_codes = nullptr;
  decltype(&::sqlite3_busy_timeout) busy_timeout = nullptr;
  decltype(&::sqlite3_exec) exec = nullptr;
  decltype(&::sqlite3_prepare_v2) prepare_v2 = nullptr;
  decltype(&::sqlite3_prepare_v3) prepare_v3 = nullptr;
  decltype(&::sqlite3_step) step = nullptr;
  decltype(&::sqlite3_reset) reset = nullptr;
  decltype(&::sqlite3_finalize) finalize = nullptr;
  decltype(&::sqlite3_errcode) errcode = nullptr;
  decltype(&::sqlite3_bind_int) bind_int = nullptr;
  decltype(&::sqlite3_bind_int64) bind_int64 = nullptr;
  decltype(&::sqlite3_bind_text) bind_text = nullptr;
  decltype(&::sqlite3_column_count) column_count = nullptr;
  decltype(&::sqlite3_column_int) column_int = nullptr;
  decltype(&::sqlite3_column_int64) column_int64 = nullptr;
  decltype(&::sqlite3_column_text) column_text = nullptr;
  decltype(&::sqlite3_progress_handler) progress_handler = nullptr;
  decltype(&::sqlite3_hard_heap_limit64) hard_heap_limit64 = nullptr;
};

// The library, loaded by the first holder and unloaded when the last lets go (from any thread);
// null, after a line on stderr, when it cannot be loaded.
std::shared_ptr<const SqliteApi> LoadSqlite();

}  // namespace verselane
