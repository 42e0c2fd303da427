#include "ui/command_line.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>

namespace verselane {
namespace {

constexpr OptionHelp kOptions[] = {
    {"[--version]", "--version", "print the version and exit"},
    {"[--help]", "--help, -h", "print this help and exit"},
    {"[--history]", "--history", "print the history of answers, one line per poem, and exit"},
    {"[--plan [--date YYYY-MM-DD]]", "--plan",
     "print today's plan, one line per poem in the order it asks them, and exit: poem number, "
     "due or new, chance of recall, next review after a right answer"},
    {"", "--date YYYY-MM-DD", "with --plan: the plan of that day instead, from the history as it stands"},
    {"", "--display DISPLAY", "the X display to open, as for other GTK programs"},
};

constexpr std::string_view kAbout =
    "Verselane is a typing drill for the Hyakunin Isshu, the hundred classical Japanese poems\n"
    "of the karuta game: one half of a poem is shown kana by kana, and you type the other half.\n";

constexpr std::string_view kWhereFilesLive =
    "Settings and records live in $XDG_DATA_HOME/verselane (~/.local/share/verselane), or beside\n"
    "the program when an env.ini lies there; preferences in\n"
    "$XDG_CONFIG_HOME/verselane/verselane.conf. See verselane(6) and the help in the program.\n";

std::string UsageLine() {
  std::string line = "Usage: verselane";
  for (const OptionHelp& option : kOptions) {
    if (!option.usage.empty()) line.append(" ").append(option.usage);
  }
  return line + '\n';
}

// The options in a column, their summaries lined up three spaces after the longest name.
std::string OptionList() {
  std::size_t width = 0;
  for (const OptionHelp& option : kOptions) width = std::max(width, option.name.size());
  std::string list;
  for (const OptionHelp& option : kOptions) {
    list.append("  ").append(option.name).append(width + 3 - option.name.size(), ' ');
    list.append(option.summary).append("\n");
  }
  return list;
}

CommandLine UsageError(std::string misuse) {
  return {CommandLine::Request::kUsageError, std::move(misuse), std::nullopt};
}

// The day of a "YYYY-MM-DD" text: exactly that, and a date of the calendar.
std::optional<Day> DayOfDate(std::string_view text) {
  if (text.size() != 10) return std::nullopt;
  return DayOf(text);
}

// The last day whose plan can be printed: its poems' next reviews, up to kMaxIntervalDays after
// it, must still be dates of four-digit years, as the plan's lines give them. A later day is
// refused rather than its reviews cut short at 9999-12-31, which would print dates that are
// not the model's.
constexpr Day kLastPlanDay = kLastDay - kMaxIntervalDays;

}  // namespace

std::span<const OptionHelp> CommandLineOptions() { return kOptions; }

CommandLine ReadCommandLine(int argc, char** argv) {
  bool history = false;
  bool plan = false;
  std::optional<std::string_view> date;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--version") return {CommandLine::Request::kVersion, {}, {}};
    if (argument == "--help" || argument == "-h") return {CommandLine::Request::kHelp, {}, {}};
    if (argument == "--history") {
      history = true;
    } else if (argument == "--plan") {
      plan = true;
    } else if (argument == "--date") {
      if (++i == argc) return UsageError("--date wants a date (YYYY-MM-DD)");
      date = argv[i];
    } else if (argument.starts_with("--date=")) {
      date = argument.substr(7);
    } else if (argument == "--display") {
      // GTK takes it, with its value, itself.
      if (++i == argc || argv[i][0] == '\0') return UsageError("--display wants a display name");
    } else if (!(argument.starts_with("--display=") && argument.size() > 10)) {
      return UsageError((argument.starts_with("-") ? "unknown option '" : "unexpected argument '") +
                        std::string(argument) + "'");
    }
  }
  if (history && plan) return UsageError("--history and --plan cannot go together");
  if (date && !plan) return UsageError("--date goes with --plan");
  if (plan) {
    const std::optional<Day> day = date ? DayOfDate(*date) : std::nullopt;
    if (date && !day) return UsageError("'" + std::string(*date) + "' is no date (YYYY-MM-DD)");
    if (day && *day > kLastPlanDay) {
      return UsageError("'" + std::string(*date) + "' is too late: the plan's next reviews would " +
                        "fall after " + DateText(kLastDay) + " (the last date is " +
                        DateText(kLastPlanDay) + ")");
    }
    return {CommandLine::Request::kPlan, {}, day};
  }
  return {history ? CommandLine::Request::kHistory : CommandLine::Request::kStart, {}, {}};
}

int AnswerCommandLine(const CommandLine& command, std::ostream& out, std::ostream& errors) {
  switch (command.request) {
    case CommandLine::Request::kVersion:
      out << "Verselane " << kVersion << '\n';
      return 0;
    case CommandLine::Request::kHelp:
      out << UsageLine() << '\n' << kAbout << '\n' << OptionList() << '\n' << kWhereFilesLive;
      return 0;
    case CommandLine::Request::kUsageError:
      errors << "verselane: " << command.misuse << '\n'
             << UsageLine()
             << "Try 'verselane --help' for more information.\n";
      errors.flush();
      return kUsageErrorStatus;
    default:
      return 0;
  }
}

int StatusAfterOutput(int status) {
  errno = 0;
  std::cout.flush();
  int error = errno;
  bool failed = !std::cout;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    if (error == 0) error = errno;
    failed = true;
  }
  if (!failed) return status;
  // A write that failed before the last one left no reason behind.
  std::fprintf(stderr, "verselane: cannot write the output%s%s\n", error != 0 ? ": " : "",
               error != 0 ? std::strerror(error) : "");
  return 1;
}

void FillClosedStandardDescriptors() {
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = open("/dev/null", descriptor == 0 ? O_WRONLY : O_RDONLY);
    if (opened >= 0 && opened != descriptor) {
      dup2(opened, descriptor);
      close(opened);
    }
  }
}

}  // namespace verselane
