// Functions of libraries found by name while the program runs: the program links only wx, which
// brings GTK, Pango and cairo in, loads SDL when a run first needs sound, and SQLite while the
// history is open.
#pragma once

#include <dlfcn.h>

namespace verselane {

// Sets `function` to `name` in `library` (RTLD_DEFAULT: anywhere in the process); false when it
// is not there.
template <typename Function>
bool FindSymbol(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

}  // namespace verselane
