#include "settings/settings_controller.h"

#include <algorithm>

#include "base/notices.h"
#include "base/text_file.h"
#include "catalogue/poem_groups.h"
#include "settings/environment_line.h"
#include "settings/question_file.h"

namespace verselane {
namespace {

constexpr int kLineBufferSize = static_cast<int>(kEnvironmentLineMaxBytes) + 1;

}  // namespace

SettingsController::SettingsController(std::string settingsPath)
    : path_(std::move(settingsPath)) {}

FileStatus SettingsController::LoadEnvironment() {
  std::string line;
  FileStatus status = ReadFileLine(path_, kLineBufferSize, true, line);
  if (status.ok() && !ParseEnvironmentLine(line, settings_)) status = FileStatus::Corrupt(path_);
  if (!status.ok()) PutDefaults();
  return status;
}

// The defaults are those of a new Settings, with the player named; their line is
// "0/0/100/28/1/0/1/noname".
void SettingsController::PutDefaults() {
  settings_ = Settings{};
  settings_.SetPlayerName(kDefaultPlayerName);
  MarkChanged();
}

FileStatus SettingsController::WriteEnvironment() {
  return WriteFileLine(path_, ComposeEnvironmentLine(settings_), true);
}

FileStatus SettingsController::LoadQuestionSource() {
  FileStatus status;
  if (settings_.source() == kFileSource) {
    status = LoadQuestionFile(settings_.questionFilePath(), sources_);
    if (!status.ok()) {
      settings_.SetSource(kAllPoemsSource);
      settings_.SetQuestionFilePath("");
      MarkChanged();
    }
  }
  BringIntoRange();
  return status;
}

// A well-formed line may still hold numbers the rest of the program cannot work with (edited by
// hand, or from a damaged disk): they are brought into range rather than costing the player the
// whole file, and written back at shut-down.
void SettingsController::BringIntoRange() {
  Settings& settings = settings_;
  const Settings before = settings;
  if (settings.source() < 0 || settings.source() > kFileSource) settings.SetSource(kAllPoemsSource);
  if (settings.favouritePoem() < 0 || settings.favouritePoem() > 99) {
    settings.SetFavouritePoem(kDefaultFavouritePoem);
  }
  const int size = sources_.GetGroupSize(settings.source());
  settings.SetQuestionCount(std::clamp(settings.questionCount(), 1, std::max(size, 1)));
  if (settings.source() != before.source() || settings.favouritePoem() != before.favouritePoem() ||
      settings.questionCount() != before.questionCount()) {
    MarkChanged();
  }
}

FileStatus SettingsController::SaveEnvironment() {
  if (!settingsChanged_) return FileStatus();
  return WriteEnvironment();
}

void LoadEnvironmentAtStartUp(SettingsController& controller, NoticePort& notices) {
  const FileStatus loaded = controller.LoadEnvironment();
  TellIfFailed(notices, FileTask::kLoadSettings, loaded);
  if (!loaded.ok()) {
    // Not told when this fails: the defaults stay marked changed, so the save at shut-down
    // writes them again and tells the player if that fails too.
    static_cast<void>(controller.WriteEnvironment());
  }
  TellIfFailed(notices, FileTask::kLoadQuestionSource, controller.LoadQuestionSource());
}

// The settings the player changed are lost when this fails, as the program is ending: say so
// while they can still be noted down.
void SaveEnvironmentAtShutDown(SettingsController& controller, NoticePort& notices) {
  TellIfFailed(notices, FileTask::kSaveSettings, controller.SaveEnvironment());
}

}  // namespace verselane
