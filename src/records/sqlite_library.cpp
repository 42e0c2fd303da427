#include "records/sqlite_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

#include "base/native_symbols.h"

namespace verselane {
namespace {

constexpr const char* kSqliteLibrary = "libsqlite3.so.0";

struct LoadedSqlite : SqliteApi {
  explicit LoadedSqlite(void* library) : handle(library) {}
  ~LoadedSqlite() { dlclose(handle); }
  LoadedSqlite(const LoadedSqlite&) = delete;
  LoadedSqlite& operator=(const LoadedSqlite&) = delete;
  void* handle;
};

bool FindAll(void* library, SqliteApi& api) {
#define VERSELANE_FIND(name) FindSymbol(library, "sqlite3_" #name, api.name)
  return VERSELANE_FIND(open_v2) && VERSELANE_FIND(close) &&
         VERSELANE_FIND(extended_result_codes) && VERSELANE_FIND(busy_timeout) &&
         VERSELANE_FIND(exec) && VERSELANE_FIND(prepare_v2) && VERSELANE_FIND(prepare_v3) &&
         VERSELANE_FIND(step) && VERSELANE_FIND(reset) && VERSELANE_FIND(finalize) &&
         VERSELANE_FIND(errcode) && VERSELANE_FIND(bind_int) && VERSELANE_FIND(bind_int64) &&
         VERSELANE_FIND(bind_text) && VERSELANE_FIND(column_count) && VERSELANE_FIND(column_int) &&
         VERSELANE_FIND(column_int64) && VERSELANE_FIND(column_text) &&
         VERSELANE_FIND(progress_handler) && VERSELANE_FIND(hard_heap_limit64);
#undef VERSELANE_FIND
}

}  // namespace

std::shared_ptr<const SqliteApi> LoadSqlite() {
  static std::mutex mutex;
  static std::weak_ptr<const SqliteApi> loaded;
  std::lock_guard lock(mutex);
  if (std::shared_ptr<const SqliteApi> api = loaded.lock()) return api;
  void* library = dlopen(kSqliteLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "verselane: %s\n", dlerror());
    return nullptr;
  }
  auto api = std::make_shared<LoadedSqlite>(library);
  if (!FindAll(library, *api)) {
    std::fprintf(stderr, "verselane: %s lacks a function the history uses\n", kSqliteLibrary);
    return nullptr;
  }
  loaded = api;
  return api;
}

}  // namespace verselane
