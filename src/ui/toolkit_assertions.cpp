#include "ui/toolkit_assertions.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include <wx/debug.h>
#include <wx/string.h>

namespace verselane {
namespace {

void LogFirstAtEachPlace(const wxString& file, int line, const wxString& function,
                         const wxString& condition, const wxString& message) {
  // Any thread may fail one.
  static std::mutex mutex;
  static std::set<std::pair<std::string, int>> reported;
  const std::lock_guard lock(mutex);
  if (!reported.emplace(file.utf8_string(), line).second) return;
  std::fprintf(stderr, "verselane: %s(%d): assert \"%s\" failed in %s(): %s\n",
               file.utf8_str().data(), line, condition.utf8_str().data(),
               function.utf8_str().data(), message.utf8_str().data());
  std::fflush(stderr);
}

}  // namespace

void LogToolkitAssertionsOnce() { wxSetAssertHandler(LogFirstAtEachPlace); }

}  // namespace verselane
