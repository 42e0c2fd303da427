// Any env.ini loads without harm into settings the program can work with, and what it saves from
// them loads back to the same settings without a notice.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  verselane::EnterScratchFolder();
  // A question file the line may name; its absence is as good a case as its presence.
  verselane::WriteFile("set.vlq", "1-82-5");
  verselane::WriteFile("env.ini",
                       verselane::FileBytesFrom(std::string(reinterpret_cast<const char*>(data), size)));

  verselane::CountingNotices notices;
  verselane::SettingsController loader(notices, "env.ini");
  loader.LoadEnvironment();
  CheckInRange(loader);
  loader.MarkChanged();
  loader.SaveEnvironment();

  verselane::CountingNotices secondNotices;
  verselane::SettingsController reloader(secondNotices, "env.ini");
  reloader.LoadEnvironment();
  if (secondNotices.count != 0 || !SameSettings(loader.settings(), reloader.settings())) {
    std::abort();
  }
  return 0;
}
