// Any env.ini loads without harm into settings the program can work with, and what it saves from
// them loads back to the same settings without a failure.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/poem_groups.h"
#include "fuzz_support.h"
#include "settings/settings_controller.h"

namespace {

using verselane::Settings;

bool SameSettings(const Settings& a, const Settings& b) {
  return a.mode() == b.mode() && a.source() == b.source() &&
         a.questionCount() == b.questionCount() && a.favouritePoem() == b.favouritePoem() &&
         a.showAfterKimariji() == b.showAfterKimariji() &&
         a.acceptOmission() == b.acceptOmission() && a.playSounds() == b.playSounds() &&
         a.playerName() == b.playerName() &&
         // The path only counts while the question file is the source (a corrupt line may
         // leave a stray one behind, which is never used or saved).
         (a.source() != verselane::kFileSource || a.questionFilePath() == b.questionFilePath());
}

void CheckInRange(const verselane::SettingsController& controller) {
  const Settings& s = controller.settings();
  const int size = controller.sources().GetGroupSize(s.source());
  if (s.source() < 0 || s.source() > verselane::kFileSource || s.favouritePoem() < 0 ||
      s.favouritePoem() > 99 || s.questionCount() < 1 || (size > 0 && s.questionCount() > size) ||
      s.playerName().empty()) {
    std::abort();
  }
}

// The corpus names its question file "set.vlq", as a bare name; the program only ever stores full
// paths, so that name stands for the one in the scratch folder.
void FindTheScratchQuestionFile(Settings& settings) {
  if (settings.questionFilePath() == "set.vlq") {
    settings.SetQuestionFilePath(verselane::ScratchFile("set.vlq"));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string envIni = verselane::ScratchFile("env.ini");
  // A question file the line may name; its absence is as good a case as its presence.
  verselane::WriteFile(verselane::ScratchFile("set.vlq"), "1-82-5");
  const std::string input(reinterpret_cast<const char*>(data), size);
  verselane::WriteFile(envIni, verselane::FileBytesFrom(input));

  // The start-up's steps, as LoadEnvironmentAtStartUp takes them.
  verselane::SettingsController loader(envIni);
  if (!loader.LoadEnvironment().ok() && !loader.WriteEnvironment().ok()) std::abort();
  FindTheScratchQuestionFile(loader.settings());
  // Found or not, the settings must come out in range.
  static_cast<void>(loader.LoadQuestionSource());
  CheckInRange(loader);
  loader.MarkChanged();
  if (!loader.SaveEnvironment().ok()) std::abort();

  verselane::SettingsController reloader(envIni);
  if (!reloader.LoadEnvironment().ok() || !reloader.LoadQuestionSource().ok() ||
      !SameSettings(loader.settings(), reloader.settings())) {
    std::abort();
  }
  return 0;
}
