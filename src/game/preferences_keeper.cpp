#include "game/preferences_keeper.h"

#include "base/notices.h"

namespace verselane {

Preferences PreferencesKeeper::Load() {
  Preferences preferences;
  const FileStatus loaded = file_.Load(preferences);
  fileUsable_ = loaded.ok() || loaded.code() == FileStatus::Code::kNotFound;
  TellPreferencesLoad(notices_, loaded, file_.setAsideAs());
  return preferences;
}

void PreferencesKeeper::ChooseRomajiAtFirstStart(Preferences& preferences,
                                                 InputMethodPort& inputMethod) {
  if (preferences.romajiChosen || !fileUsable_) return;
  preferences.romajiInput = !inputMethod.OffersJapanese();
  preferences.romajiChosen = true;
  Save(preferences);
}

void PreferencesKeeper::Save(const Preferences& preferences) {
  TellIfFailed(notices_, FileTask::kSavePreferences, file_.Save(preferences));
}

}  // namespace verselane
