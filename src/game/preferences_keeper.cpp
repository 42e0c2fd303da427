#include "game/preferences_keeper.h"

#include "base/notices.h"

namespace verselane {

Preferences PreferencesKeeper::Load() {
  Preferences preferences;
  const FileStatus loaded = file_.Load(preferences);
  TellPreferencesLoad(notices_, loaded, file_.setAsideAs());
  return preferences;
}

void PreferencesKeeper::Save(const Preferences& preferences) {
  TellIfFailed(notices_, FileTask::kSavePreferences, file_.Save(preferences));
}

}  // namespace verselane
