// The player's saved settings and the question sources they choose from: their one owner. Loads
// env.ini at start-up, with its notices and re-creation, and saves it at shut-down when
// something changed.
#pragma once

#include <string>

#include "base/text_file.h"
#include "catalogue/poem_groups.h"
#include "settings/settings.h"

namespace verselane {

class NoticePort;

class SettingsController {
 public:
  // `settingsPath` is "env.ini" in the program, resolved in the data folder (the current one).
  SettingsController(NoticePort& notices, std::string settingsPath = "env.ini");
  SettingsController(const SettingsController&) = delete;
  SettingsController& operator=(const SettingsController&) = delete;

  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }
  // The built-in groups and the loaded question file's poems.
  QuestionSources& sources() { return sources_; }
  const QuestionSources& sources() const { return sources_; }

  // Reads env.ini into the settings, or puts the defaults in place (and writes them) when it is
  // missing or corrupt; then loads the remembered question file.
  void LoadEnvironment();
  // Writes the settings back, only when something changed since start-up; tells the player when
  // they could not be written.
  void SaveEnvironment();

  // env.ini, as the file system names it.
  const std::string& path() const { return settingsFile_.path(); }
  bool settingsChanged() const { return settingsChanged_; }
  // Every change that must reach env.ini calls this; it is never cleared.
  void MarkChanged() { settingsChanged_ = true; }

 private:
  void ResetEnvironment();
  void LoadRememberedQuestionFile();
  void BringIntoRange();
  void Notify(const char* utf8);

  Settings settings_;
  QuestionSources sources_;
  NoticePort& notices_;
  TextFile settingsFile_;
  bool settingsChanged_ = false;
};

}  // namespace verselane
