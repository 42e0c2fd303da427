// What the program answers on the command line without a display: --version, --help, --history
// and --plan, and a command line it does not understand. The only toolkit option taken is
// --display (the X display to open), which GTK reads itself; any other argument is a usage error,
// told before any toolkit starts.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "game/memory_model.h"

namespace verselane {

// The program's version, as the About box and `verselane --version` show it.
inline constexpr const char* kVersion = VERSELANE_VERSION;

// The exit status of a command line the program does not understand, as is usual.
inline constexpr int kUsageErrorStatus = 2;

struct CommandLine {
  enum class Request { kStart, kVersion, kHelp, kHistory, kPlan, kUsageError };
  Request request = Request::kStart;
  std::string misuse;  // for kUsageError: what was wrong
  std::optional<Day> planDay;  // for kPlan: the day of --date; nothing: today
};

// One option as the usage line, --help and the manual page show it. A new option is one more
// entry of CommandLineOptions(); the manual page is made from the same list at build.
struct OptionHelp {
  std::string_view usage;    // its part of the usage line, as "[--history]"; empty for none
  std::string_view name;     // as listed: "--help, -h", "--display DISPLAY"
  std::string_view summary;  // what it does, one line starting in lower case
};

// The options the program takes, in the order they are listed.
std::span<const OptionHelp> CommandLineOptions();

// Reads the arguments in order: the first --version or --help (-h) is answered whatever follows,
// as is usual; --history and --plan want no argument beside them but --display (and --plan its
// --date YYYY-MM-DD, a real date).
CommandLine ReadCommandLine(int argc, char** argv);

// Answers kVersion and kHelp on `out`, kUsageError on `errors`; the exit status.
int AnswerCommandLine(const CommandLine& command, std::ostream& out, std::ostream& errors);

// Standard output flushed: `status`, or 1 with a message on stderr when what was written to it
// could not be (a full disk, a closed stdout).
int StatusAfterOutput(int status);

// Fills the standard descriptors 0 to 2 that the caller left closed with /dev/null, opened the
// wrong way round so that using them fails: a file the program opens then never becomes its
// stdout or stderr, which would write the report or a toolkit warning into it.
void FillClosedStandardDescriptors();

}  // namespace verselane
