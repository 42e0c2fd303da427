// Build tool: the texts the package installs beside the program, made from what the program and
// the repository already say, so that none of them can drift from the program:
//
//   package-texts manual TEMPLATE NEWS OUT     the manual page: the template's prose, with the
//                                              synopsis and options from the program's own option
//                                              list (the one --help prints) and the files, the
//                                              environment and the exit statuses from the tables
//                                              below
//   package-texts metainfo TEMPLATE NEWS OUT   the AppStream metainfo, its releases from NEWS
//   package-texts changelog NEWS MAINTAINER OUT  the Debian changelog, from NEWS
//   package-texts notes NEWS HELP_FOLDER OUT     checks that the release notes are no older
//                                              than the help, and writes OUT as a mark of it
//
// Each fails, naming the line, when NEWS cannot be read or its newest release is not the
// program's version. NEWS may open with the notes of the next release, headed
// "Verselane 2.09 (unreleased)": they are kept out of the package's texts until it is dated. A file the program reads or writes, or a variable it heeds, is one entry of
// kFiles or kEnvironment here; an option is one entry of the program's CommandLineOptions().
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ui/command_line.h"

namespace {

struct Entry {
  std::string_view name;  // a path or variable names, as the manual page heads its paragraph
  std::string_view text;
};

// The player's files, and the folders the program keeps its own in.
constexpr Entry kFiles[] = {
    {"$XDG_DATA_HOME/verselane/",
     "The data folder (by default ~/.local/share/verselane/), made at the first start. A portable "
     "copy keeps the files of this folder beside the program instead, when an env.ini lies "
     "there."},
    {"env.ini", "The settings: the question source, the number of questions, the mode, the "
                "favourite poem and the player's name, scrambled."},
    {"record.dat", "The five best runs, scrambled."},
    {"history.sqlite3",
     "The history of answers: every answer judged and every run finished (SQLite), from which "
     "the memory of each poem and today's plan are worked out. verselane --history and verselane "
     "--plan print them; a damaged one is told and left as it is."},
    {"*.vlq", "Question files: the poems missed in a run, saved from the results (by default into "
              "the data folder) and chosen as a question source in the settings."},
    {"*.txt", "Result files: a run's figures and the poems it missed, saved from the results where "
              "the player chooses, as plain Shift-JIS text; the program never reads them back."},
    {"$XDG_CONFIG_HOME/verselane/verselane.conf",
     "Preferences that env.ini has no place for, such as romaji input, the zoom, the daily "
     "plan ([plan]) and the reader's voice ([voice]) (by default "
     "~/.config/verselane/verselane.conf). One the program cannot read is set aside under a new "
     "name and told, never overwritten."},
    {"$XDG_CACHE_HOME/verselane/",
     "What the program can make again, such as the reader's recitations "
     "(by default ~/.cache/verselane/); it may be removed at any time."},
    {"$XDG_RUNTIME_DIR/verselane/",
     "The lock and the socket that keep one copy running per user and bring it forward when it "
     "is started again (/tmp/verselane-UID/ without XDG_RUNTIME_DIR). A folder that is not the "
     "user's own alone is not trusted: the program then runs without the lock and says so on "
     "standard error."},
};

constexpr Entry kEnvironment[] = {
    {"XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME, XDG_RUNTIME_DIR, HOME",
     "Where the files above live."},
    {"DISPLAY, WAYLAND_DISPLAY", "The display to open, as for other GTK programs."},
    {"GTK_IM_MODULE, XMODIFIERS, IBUS_ADDRESS",
     "Which input method the answer line opens at each question, and whether a Japanese one is "
     "there at the first start (without one, romaji input is on)."},
    {"LANGUAGE, LC_ALL, LC_MESSAGES, LANG",
     "The language of the toolkit's own texts in file dialogs and the help window; the game's "
     "texts are Japanese. The files' numbers are read and written with a decimal point whatever "
     "the locale."},
    {"XDG_ACTIVATION_TOKEN, DESKTOP_STARTUP_ID",
     "The launcher's token, which a second copy hands to the running one so that the desktop "
     "lets it come forward."},
    {"GDK_SCALE", "The desktop's scale; the game screen is drawn at it."},
    {"GDK_GL", "Set to disable unless given, as the game draws without OpenGL."},
    {"SDL_AUDIODRIVER", "The sound output, as for other SDL programs."},
};

struct Release {
  std::string version;
  std::string date;  // YYYY-MM-DD; empty for the next release, not made yet
  std::vector<std::string> notes;
};

constexpr std::string_view kUnreleased = "unreleased";

[[noreturn]] void Fail(const std::string& why) {
  std::cerr << "package-texts: " << why << '\n';
  std::exit(1);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) Fail("cannot write " + path);
}

bool IsDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

// "Verselane 2.08 (2026-12-08)"
std::optional<Release> ReleaseHeading(std::string_view line) {
  constexpr std::string_view kName = "Verselane ";
  const std::size_t open = line.find(" (");
  if (!line.starts_with(kName) || open == std::string_view::npos || !line.ends_with(")")) {
    return std::nullopt;
  }
  Release release{std::string(line.substr(kName.size(), open - kName.size())),
                  std::string(line.substr(open + 2, line.size() - open - 3)), {}};
  if (release.date == kUnreleased) release.date.clear();
  if (release.version.empty() || !(release.date.empty() || IsDate(release.date))) {
    return std::nullopt;
  }
  return release;
}

// NEWS: releases newest first, each a heading and its notes, a note "  * " and its further lines
// "    ", blank lines between; the first may be the next release, undated. All of them.
std::vector<Release> ReadAllNews(const std::string& path) {
  std::istringstream text(ReadFile(path));
  std::vector<Release> releases;
  std::string line;
  for (int number = 1; std::getline(text, line); ++number) {
    const std::string where = path + ":" + std::to_string(number) + ": ";
    if (line.empty()) continue;
    if (std::optional<Release> release = ReleaseHeading(line)) {
      if (release->date.empty() && !releases.empty()) {
        Fail(where + "only the newest entry may be \"(" + std::string(kUnreleased) + ")\"");
      }
      releases.push_back(std::move(*release));
    } else if (releases.empty()) {
      Fail(where + "expected a release heading such as \"Verselane 2.08 (2026-12-08)\"");
    } else if (line.starts_with("  * ")) {
      releases.back().notes.push_back(line.substr(4));
    } else if (line.starts_with("    ") && !releases.back().notes.empty()) {
      releases.back().notes.back() += " " + line.substr(4);
    } else {
      Fail(where + "expected a note (\"  * \") or its next line (\"    \")");
    }
  }
  for (const Release& release : releases) {
    if (release.notes.empty()) Fail(path + ": release " + release.version + " has no notes");
  }
  const std::size_t made = !releases.empty() && releases.front().date.empty() ? 1 : 0;
  if (releases.size() == made) Fail(path + ": no release");
  if (releases[made].version != verselane::kVersion) {
    Fail(path + ": the newest release is " + releases[made].version +
         ", the program's version is " + verselane::kVersion);
  }
  return releases;
}

// The releases made, newest first: the program's version and those before it.
std::vector<Release> ReadNews(const std::string& path) {
  std::vector<Release> releases = ReadAllNews(path);
  if (releases.front().date.empty()) releases.erase(releases.begin());
  return releases;
}

std::string Replaced(std::string text, std::string_view marker, const std::string& with) {
  const std::size_t at = text.find(marker);
  if (at == std::string::npos) Fail("the template has no " + std::string(marker));
  return text.replace(at, marker.size(), with);
}

// --- the manual page ---------------------------------------------------------------------------

std::string Roff(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\') escaped += "\\e";
    else if (c == '-') escaped += "\\-";
    else escaped += c;
  }
  if (escaped.starts_with(".") || escaped.starts_with("'")) escaped.insert(0, "\\&");
  return escaped;
}

// Options bold, their arguments italic, brackets and commas plain: "[--date YYYY-MM-DD]".
std::string RoffOptionText(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = text.find_first_of(" ,[]", i);
    if (end == i) {
      out += text[i++];
      continue;
    }
    const std::string_view word = text.substr(i, end - i);
    out += (word.starts_with("-") ? "\\fB" : "\\fI") + Roff(word) + "\\fR";
    i = end == std::string_view::npos ? text.size() : end;
  }
  return out;
}

std::string Sentence(std::string_view summary) {
  std::string text(summary);
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return Roff(text) + ".";
}

std::string ManualSynopsis() {
  std::string synopsis = ".B verselane\n";
  for (const verselane::OptionHelp& option : verselane::CommandLineOptions()) {
    if (!option.usage.empty()) synopsis += RoffOptionText(option.usage) + "\n";
  }
  return synopsis;
}

std::string ManualOptions() {
  std::string options;
  for (const verselane::OptionHelp& option : verselane::CommandLineOptions()) {
    options += ".TP\n" + RoffOptionText(option.name) + "\n" + Sentence(option.summary) + "\n";
  }
  return options;
}

std::string ManualParagraphs(const auto& entries, std::string_view font) {
  std::string text;
  for (const Entry& entry : entries) {
    text += ".TP\n" + std::string(font) + " " + Roff(entry.name) + "\n" + Roff(entry.text) + "\n";
  }
  return text;
}

std::string ManualExitStatus() {
  const std::string history = RoffOptionText("--history");
  const std::string plan = RoffOptionText("--plan");
  return ".TP\n.B 0\nThe program ran and was closed, or an option was answered.\n"
         ".TP\n.B 1\n" + history + " or " + plan + " could not read the history, or what an option "
         "prints could "
         "not be written (a full disk, a closed standard output); the reason goes to standard "
         "error.\n"
         ".TP\n.B " + std::to_string(verselane::kUsageErrorStatus) + "\nAn option or argument "
         "the program does not know; the reason and the usage line go to standard error.\n";
}

// "December 2026" from "2026-12-08".
std::string MonthAndYear(const std::string& date) {
  static constexpr const char* kMonths[] = {"January", "February", "March",     "April",
                                            "May",     "June",     "July",      "August",
                                            "September", "October", "November", "December"};
  const int month = std::stoi(date.substr(5, 2));
  if (month < 1 || month > 12) Fail("no such month in " + date);
  return std::string(kMonths[month - 1]) + " " + date.substr(0, 4);
}

std::string ManualPage(const std::string& templatePath, const std::string& newsPath) {
  const Release newest = ReadNews(newsPath).front();
  std::string page = ReadFile(templatePath);
  page = Replaced(page, "@DATE@", MonthAndYear(newest.date));
  page = Replaced(page, "@VERSION@", newest.version);
  page = Replaced(page, "@SYNOPSIS@\n", ManualSynopsis());
  page = Replaced(page, "@OPTIONS@\n", ManualOptions());
  page = Replaced(page, "@EXIT_STATUS@\n", ManualExitStatus());
  page = Replaced(page, "@FILES@\n", ManualParagraphs(kFiles, ".I"));
  return Replaced(page, "@ENVIRONMENT@\n", ManualParagraphs(kEnvironment, ".B"));
}

// --- the metainfo ------------------------------------------------------------------------------

std::string Xml(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '&') escaped += "&amp;";
    else if (c == '<') escaped += "&lt;";
    else if (c == '>') escaped += "&gt;";
    else escaped += c;
  }
  return escaped;
}

std::string MetainfoReleases(const std::vector<Release>& releases) {
  std::string xml = "<releases>\n";
  for (const Release& release : releases) {
    xml += "    <release version=\"" + Xml(release.version) + "\" date=\"" + release.date +
           "\">\n      <description>\n        <ul>\n";
    for (const std::string& note : release.notes) xml += "          <li>" + Xml(note) + "</li>\n";
    xml += "        </ul>\n      </description>\n    </release>\n";
  }
  return xml + "  </releases>";
}

// --- the Debian changelog ----------------------------------------------------------------------

// `text` broken into lines of at most 80 columns, the first after `first`, the rest after `next`.
std::string Wrapped(const std::string& text, std::string_view first, std::string_view next) {
  std::istringstream words(text);
  std::string wrapped(first), word;
  std::size_t column = first.size();
  bool lineEmpty = true;
  while (words >> word) {
    if (!lineEmpty && column + 1 + word.size() > 80) {
      wrapped.append("\n").append(next);
      column = next.size();
      lineEmpty = true;
    }
    if (!lineEmpty) {
      wrapped += ' ';
      ++column;
    }
    wrapped += word;
    column += word.size();
    lineEmpty = false;
  }
  return wrapped + "\n";
}

// "Tue, 08 Dec 2026 00:00:00 +0000", as the changelog's trailer wants it.
std::string Rfc2822(const std::string& date) {
  std::tm day{};
  day.tm_year = std::stoi(date.substr(0, 4)) - 1900;
  day.tm_mon = std::stoi(date.substr(5, 2)) - 1;
  day.tm_mday = std::stoi(date.substr(8, 2));
  day.tm_hour = 12;
  const std::time_t noon = timegm(&day);
  char text[64];
  std::strftime(text, sizeof text, "%a, %d %b %Y 12:00:00 +0000", gmtime_r(&noon, &day));
  return text;
}

std::string Changelog(const std::vector<Release>& releases, const std::string& maintainer) {
  std::string text;
  for (const Release& release : releases) {
    text += "verselane (" + release.version + ") unstable; urgency=medium\n\n";
    for (const std::string& note : release.notes) text += Wrapped(note, "  * ", "    ");
    text += "\n -- " + maintainer + "  " + Rfc2822(release.date) + "\n\n";
  }
  return text.substr(0, text.size() - 1);
}

// --- the notes against the help -----------------------------------------------------------------

// What `command` prints on its standard output; nothing when it fails.
std::optional<std::string> Output(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char buffer[256];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  return pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm day{};
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", gmtime_r(&now, &day));
  return text;
}

// The day the help last changed, as git knows it: today while it has changes not committed, else
// the day of the last commit that changed it. Nothing outside a git checkout (a source archive,
// whose notes were checked when it was made).
std::optional<std::string> HelpChanged(const std::string& folder) {
  const std::string git = "git --no-optional-locks -C " + ShellQuoted(folder);
  const std::optional<std::string> edited = Output(git + " status --porcelain -- . 2>/dev/null");
  if (!edited) return std::nullopt;
  if (!edited->empty()) return Today();
  const std::optional<std::string> committed =
      Output(git + " log -1 --format=%cs -- . 2>/dev/null");
  if (!committed || !IsDate(committed->substr(0, 10))) return std::nullopt;
  return committed->substr(0, 10);
}

// A release's notes must be no older than the help: a help page that changed after the newest
// release was dated describes something its notes do not, so the notes of the next release must
// be opened ("Verselane 2.09 (unreleased)") before the help may change, and dating them makes a
// release only when that is no earlier than the help's last change.
void CheckNotes(const std::string& newsPath, const std::string& helpFolder,
                const std::string& out) {
  const Release newest = ReadAllNews(newsPath).front();
  const std::optional<std::string> changed = newest.date.empty() ? std::nullopt
                                                                 : HelpChanged(helpFolder);
  if (changed && *changed > newest.date) {
    Fail(newsPath + ": the help changed on " + *changed + ", after the notes of " +
         newest.version + " (" + newest.date + "): say what changed in notes headed \"Verselane "
         "<next version> (" + std::string(kUnreleased) + ")\" above them");
  }
  WriteFile(out, "The notes of " + newest.version + " (" +
                     (newest.date.empty() ? std::string(kUnreleased) : newest.date) +
                     ") are no older than the help (changed " + changed.value_or("-") + ").\n");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "manual") {
    WriteFile(args[3], ManualPage(args[1], args[2]));
  } else if (args.size() == 4 && args[0] == "metainfo") {
    WriteFile(args[3], Replaced(ReadFile(args[1]), "@RELEASES@", MetainfoReleases(ReadNews(args[2]))));
  } else if (args.size() == 4 && args[0] == "changelog") {
    WriteFile(args[3], Changelog(ReadNews(args[1]), args[2]));
  } else if (args.size() == 4 && args[0] == "notes") {
    CheckNotes(args[1], args[2], args[3]);
  } else {
    std::cerr << "usage: package-texts manual|metainfo TEMPLATE NEWS OUT\n"
                 "       package-texts changelog NEWS MAINTAINER OUT\n"
                 "       package-texts notes NEWS HELP_FOLDER OUT\n";
    return 2;
  }
  return 0;
}
