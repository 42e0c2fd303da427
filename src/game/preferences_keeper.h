// The game's PreferencesPort: verselane.conf loaded at start-up and saved whenever a preference
// changes, with the notice each outcome calls for (base/notices.h).
#pragma once

#include <string>

#include "base/file_ports.h"
#include "game/desktop_ports.h"
#include "settings/preferences_file.h"

namespace verselane {

class PreferencesKeeper : public PreferencesPort {
 public:
  // `path` as PreferencesFile takes it.
  PreferencesKeeper(std::string path, NoticePort& notices)
      : file_(std::move(path)), notices_(notices) {}

  // What the file holds, the defaults for the rest; a file that could not be used is told.
  Preferences Load();
  // After Load: a start that finds no romaji choice kept (the first one) makes it. Romaji input
  // goes on when no Japanese input method answers, so a newcomer without one types kana from
  // the first question while one who has it is not disturbed; the choice is kept at once, so
  // later starts never ask again. A file that was broken or could not be used may hold a choice
  // of the player's: nothing is decided over it.
  void ChooseRomajiAtFirstStart(Preferences& preferences, InputMethodPort& inputMethod);
  void Save(const Preferences& preferences) override;

 private:
  PreferencesFile file_;
  NoticePort& notices_;
  bool fileUsable_ = false;  // the last Load read the file, or found none
};

}  // namespace verselane
