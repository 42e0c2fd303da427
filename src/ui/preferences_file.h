// verselane.conf: the preferences env.ini has no place for, as a key file read and written with
// wxFileConfig. Groups and keys of other versions are kept as they are; the file is replaced in
// one step when saved, as the program's other files are.
#pragma once

#include <memory>
#include <string>

#include "game/desktop_ports.h"
#include "settings/preferences.h"

class wxFileConfig;

namespace verselane {

class NoticePort;

// $XDG_CONFIG_HOME/verselane/verselane.conf, or ~/.config/verselane/verselane.conf when
// XDG_CONFIG_HOME is unset or not absolute. `xdgConfigHome` and `home` may be null.
std::string PreferencesPath(const char* xdgConfigHome, const char* home);

class PreferencesFile : public PreferencesPort {
 public:
  PreferencesFile(std::string path, NoticePort& notices);
  ~PreferencesFile() override;
  PreferencesFile(const PreferencesFile&) = delete;
  PreferencesFile& operator=(const PreferencesFile&) = delete;

  // The preferences the file holds; the defaults for a missing file. A file that cannot be read
  // as a key file, or holds a value this program does not know, is told in one notice and set
  // aside as verselane.conf.broken: the defaults are used, and nothing of it is lost.
  Preferences Load();
  void Save(const Preferences& preferences) override;

  const std::string& path() const { return path_; }

 private:
  bool Write();

  std::string path_;
  NoticePort& notices_;
  std::unique_ptr<wxFileConfig> config_;
};

}  // namespace verselane
