// The player's saved settings and the question sources they choose from: their one owner. Loads
// env.ini at start-up, falling back to the defaults, and saves it at shut-down when something
// changed. Each load and save returns its FileStatus; the caller tells the player
// (LoadEnvironmentAtStartUp and SaveEnvironmentAtShutDown below are the program's callers).
#pragma once

#include <string>

#include "base/file_status.h"
#include "catalogue/poem_groups.h"
#include "settings/settings.h"

namespace verselane {

class NoticePort;

class SettingsController {
 public:
  // `settingsPath` names env.ini with its folder, the data folder in the program.
  explicit SettingsController(std::string settingsPath);
  SettingsController(const SettingsController&) = delete;
  SettingsController& operator=(const SettingsController&) = delete;

  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }
  // The built-in groups and the loaded question file's poems.
  QuestionSources& sources() { return sources_; }
  const QuestionSources& sources() const { return sources_; }

  // Reads env.ini into the settings. When it cannot be read or is corrupt, the settings are the
  // defaults instead, marked changed, and the status says why; the file stays as it is until
  // WriteEnvironment.
  [[nodiscard]] FileStatus LoadEnvironment();
  // Writes the settings as they stand: after a failed load, the defaults.
  [[nodiscard]] FileStatus WriteEnvironment();
  // After LoadEnvironment: loads the question file the settings name when it is the source, and
  // brings the numbers into range. Fails when that file is missing or invalid; the source is
  // then all poems.
  [[nodiscard]] FileStatus LoadQuestionSource();
  // Writes the settings back, only when something changed since start-up (done when nothing
  // did).
  [[nodiscard]] FileStatus SaveEnvironment();

  // env.ini, as the file system names it.
  const std::string& path() const { return path_; }
  bool settingsChanged() const { return settingsChanged_; }
  // Every change that must reach env.ini calls this; it is never cleared.
  void MarkChanged() { settingsChanged_ = true; }

 private:
  void PutDefaults();
  void BringIntoRange();

  Settings settings_;
  QuestionSources sources_;
  std::string path_;
  bool settingsChanged_ = false;
};

// The start-up's settings: env.ini, then the question file it names, each told through
// `notices` when it failed. A failed env.ini is written anew with the defaults after its notice,
// as the notice says.
void LoadEnvironmentAtStartUp(SettingsController& controller, NoticePort& notices);
// The shut-down's save, told through `notices` when it failed.
void SaveEnvironmentAtShutDown(SettingsController& controller, NoticePort& notices);

}  // namespace verselane
