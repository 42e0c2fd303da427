// The settings file env.ini: loading the player's settings at start-up, with its notices and
// re-creation, and saving them at shut-down when they changed.
#pragma once

#include <string>

#include "base/text_file.h"

namespace verselane {

class Environment;
class NoticePort;

class SettingsController {
 public:
  // `settingsPath` is "env.ini" in the program, resolved in the data folder (the current one).
  SettingsController(Environment& environment, NoticePort& notices,
                     std::string settingsPath = "env.ini");

  // Reads env.ini into the settings, or puts the defaults in place (and writes them) when it is
  // missing or corrupt; then loads the remembered question file.
  void LoadEnvironment();
  // Writes the settings back, only when something changed since start-up; tells the player when
  // they could not be written.
  void SaveEnvironment();

  bool settingsChanged() const { return settingsChanged_; }
  // Every change that must reach env.ini calls this; it is never cleared.
  void MarkChanged() { settingsChanged_ = true; }

 private:
  void ResetEnvironment();
  void LoadRememberedQuestionFile();
  void BringIntoRange();
  void Notify(const char* utf8);

  Environment& environment_;
  NoticePort& notices_;
  TextFile settingsFile_;
  bool settingsChanged_ = false;
};

}  // namespace verselane
