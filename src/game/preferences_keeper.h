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
  void Save(const Preferences& preferences) override;

 private:
  PreferencesFile file_;
  NoticePort& notices_;
};

}  // namespace verselane
