// What the program answers on the command line without a display: --version and --help
// (--history is answered beside them, in app.cpp). Every other argument is left to the toolkit
// (GTK's --display=..., for instance).
#pragma once

#include <optional>
#include <ostream>

namespace verselane {

// The program's version, as the About box and `verselane --version` show it.
inline constexpr const char* kVersion = VERSELANE_VERSION;

// Answers --version or --help (or -h) on `out` and returns the exit status; nothing when the
// program is to start as usual.
std::optional<int> AnswerCommandLine(int argc, char** argv, std::ostream& out);

}  // namespace verselane
