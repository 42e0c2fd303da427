#include "ui/command_line.h"

#include <string_view>

namespace verselane {
namespace {

constexpr const char* kUsage =
    "Usage: verselane [--version] [--help] [--history]\n"
    "\n"
    "Verselane is a typing drill for the Hyakunin Isshu, the hundred classical Japanese poems\n"
    "of the karuta game: one half of a poem is shown kana by kana, and you type the other half.\n"
    "\n"
    "  --version   print the version and exit\n"
    "  --help      print this help and exit\n"
    "  --history   print the history of answers, one line per poem, and exit\n"
    "\n"
    "Settings and records live in $XDG_DATA_HOME/verselane (~/.local/share/verselane), or beside\n"
    "the program when an env.ini lies there; preferences in\n"
    "$XDG_CONFIG_HOME/verselane/verselane.conf. See verselane(6) and the help in the program.\n";

}  // namespace

std::optional<int> AnswerCommandLine(int argc, char** argv, std::ostream& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--version") {
      out << "Verselane " << kVersion << '\n';
      return 0;
    }
    if (argument == "--help" || argument == "-h") {
      out << kUsage;
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace verselane
