#include "ui/input_method.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <sstream>
#include <string_view>
#include <thread>

#include <wx/log.h>
#include <wx/utils.h>

#include "ui/japanese_input_probe.h"

namespace verselane {
namespace {

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

InputMethodKind KindOfName(std::string_view name) {
  if (name.starts_with("ibus")) return InputMethodKind::kIBus;
  if (name.starts_with("fcitx")) return InputMethodKind::kFcitx;
  return InputMethodKind::kNone;
}

// IBus: only a keyboard-layout engine ("xkb:...") counts as closed; switch to the first other
// engine among those the player preloads.
constexpr const char* kIBusOpenScript =
    "engine=$(\"$0\" engine 2>/dev/null) || exit 0\n"
    "case \"$engine\" in xkb:*) ;; *) exit 0 ;; esac\n"
    "for e in $(\"$0\" read-config 2>/dev/null | sed -n 's/^preload-engines: *//p' |"
    " tr -d \"[]',\"); do\n"
    "  case \"$e\" in xkb:*) ;; *) exec \"$0\" engine \"$e\" ;; esac\n"
    "done\n";

// Fcitx: its remote opens the field that has Fcitx's focus. Fcitx learns of a field focused for
// the first time only once the toolkit has made the field's input context, a moment later; asked
// before, it opens the field focused last. So it is asked at once and twice more within a second.
constexpr const char* kFcitxOpenScript =
    "\"$0\" -o; sleep 0.2; \"$0\" -o; sleep 0.8; exec \"$0\" -o\n";

}  // namespace

InputMethodKind DetectInputMethod(const char* gtkImModule, const char* xmodifiers) {
  if (gtkImModule != nullptr && *gtkImModule != '\0') return KindOfName(gtkImModule);
  if (xmodifiers == nullptr) return InputMethodKind::kNone;
  const std::string_view modifiers = xmodifiers;
  if (Contains(modifiers, "@im=ibus")) return InputMethodKind::kIBus;
  if (Contains(modifiers, "@im=fcitx")) return InputMethodKind::kFcitx;
  return InputMethodKind::kNone;
}

std::vector<std::string> OpenInputMethodCommand(
    InputMethodKind kind, std::string (*findProgram)(const std::string& name)) {
  switch (kind) {
    case InputMethodKind::kFcitx: {
      const std::string shell = findProgram("sh");
      for (const char* remote : {"fcitx5-remote", "fcitx-remote"}) {
        const std::string path = findProgram(remote);
        if (!path.empty() && !shell.empty()) return {shell, "-c", kFcitxOpenScript, path};
      }
      return {};
    }
    case InputMethodKind::kIBus: {
      const std::string ibus = findProgram("ibus");
      const std::string shell = findProgram("sh");
      if (ibus.empty() || shell.empty()) return {};
      return {shell, "-c", kIBusOpenScript, ibus};
    }
    case InputMethodKind::kNone: break;
  }
  return {};
}

std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty()) continue;
    const std::string candidate = folder + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

bool ProcessRuns(const std::string& procFolder, const std::vector<std::string>& names,
                 unsigned uid) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(procFolder, error)) {
    const std::string pid = entry.path().filename().string();
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    struct stat info;
    if (::stat(entry.path().c_str(), &info) != 0 || info.st_uid != uid) continue;
    std::ifstream comm(entry.path() / "comm");
    std::string name;
    if (std::getline(comm, name) &&
        std::find(names.begin(), names.end(), name) != names.end()) {
      return true;
    }
  }
  return false;
}

InputMethodSwitch::InputMethodSwitch()
    : command_(OpenInputMethodCommand(
          DetectInputMethod(std::getenv("GTK_IM_MODULE"), std::getenv("XMODIFIERS")),
          FindOnPath)) {}

bool InputMethodSwitch::OffersJapanese() {
  if (offersJapanese_) return *offersJapanese_;
  // Only an input method that runs is asked: asking the session bus for Fcitx or IBus for its
  // address would otherwise start a bus or an input method of their own.
  const bool ibus = ProcessRuns("/proc", {"ibus-daemon"}, ::getuid());
  const bool fcitx = ProcessRuns("/proc", {"fcitx5"}, ::getuid());
  auto answer = std::make_shared<std::promise<bool>>();
  std::future<bool> answered = answer->get_future();
  // Detached: a hung input method keeps only this thread, which holds nothing of the program.
  std::thread([answer, ibus, fcitx] {
    answer->set_value((ibus && IBusOffersJapanese(kJapaneseProbeWaitMs)) ||
                      (fcitx && FcitxOffersJapanese(kJapaneseProbeWaitMs)));
  }).detach();
  offersJapanese_ =
      answered.wait_for(std::chrono::milliseconds(kJapaneseProbeWaitMs)) ==
          std::future_status::ready &&
      answered.get();
  return *offersJapanese_;
}

void InputMethodSwitch::RequestOpen() {
  if (command_.empty()) return;
  std::vector<wxString> arguments;
  for (const std::string& argument : command_) arguments.push_back(wxString::FromUTF8(argument));
  std::vector<const wchar_t*> argv;
  for (const wxString& argument : arguments) argv.push_back(argument.wc_str());
  argv.push_back(nullptr);
  // Fire and forget: the answer line must not wait for the input method.
  wxLogNull quiet;
  wxExecute(argv.data(), wxEXEC_ASYNC | wxEXEC_HIDE_CONSOLE);
}

}  // namespace verselane
