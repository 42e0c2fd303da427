#include "settings/settings_controller.h"

#include <algorithm>

#include "catalogue/poem_groups.h"
#include "base/shift_jis.h"
#include "base/file_ports.h"
#include "settings/question_file.h"
#include "settings/environment_line.h"

namespace verselane {
namespace {

constexpr int kLineBufferSize = static_cast<int>(kEnvironmentLineMaxBytes) + 1;

constexpr const char* kMissingNotice =
    "NOTICE(LoadEnvironment):\n環境設定ファイルが見つかりません\n初期値を設定してファイルを新規生成します";
constexpr const char* kCorruptNotice =
    "NOTICE(LoadEnvironment):\n環境設定ファイルが破損しています\n初期値を設定してファイルを新規生成します";
constexpr const char* kQuestionFileNotice =
    "NOTICE(LoadEnvironment):\n出題元に指定されているファイルが見つかりません\n初期値を設定しておきます";
constexpr const char* kNotSavedNotice =
    "NOTICE(SaveEnvironment):\n環境設定ファイルを保存できませんでした\n今回の設定の変更は保存されません";

}  // namespace

SettingsController::SettingsController(NoticePort& notices, std::string settingsPath)
    : notices_(notices), settingsFile_(std::move(settingsPath)) {}

void SettingsController::LoadEnvironment() {
  if (!settingsFile_.Open('r')) {
    Notify(kMissingNotice);
    settingsFile_.Close();
    ResetEnvironment();
  } else {
    settingsFile_.SetLineBufferSize(kLineBufferSize);
    std::string line;
    const bool read = settingsFile_.ReadLine(line, true);
    settingsFile_.Close();
    if (!read || !ParseEnvironmentLine(line, settings_)) {
      Notify(kCorruptNotice);
      ResetEnvironment();
    }
  }
  LoadRememberedQuestionFile();
  BringIntoRange();
}

void SettingsController::LoadRememberedQuestionFile() {
  Settings& settings = settings_;
  if (settings.source() != kFileSource) return;
  if (!LoadQuestionFile(settings.questionFilePath(), sources_)) {
    Notify(kQuestionFileNotice);
    settings.SetSource(kAllPoemsSource);
    settings.SetQuestionFilePath("");
    MarkChanged();
  }
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

// The defaults are those of a new Settings, with the player named; the file written is their
// line ("0/0/100/28/1/0/1/noname").
void SettingsController::ResetEnvironment() {
  settings_ = Settings{};
  settings_.SetPlayerName(kDefaultPlayerName);
  if (settingsFile_.Open('w')) {
    settingsFile_.WriteLine(ComposeEnvironmentLine(settings_), true);
    settingsFile_.Close();
  }
  MarkChanged();
}

// The settings the player changed are lost when this fails, as the program is ending: say so
// while they can still be noted down.
void SettingsController::SaveEnvironment() {
  if (!settingsChanged_) return;
  if (!settingsFile_.Open('w')) {
    Notify(kNotSavedNotice);
    return;
  }
  settingsFile_.WriteLine(ComposeEnvironmentLine(settings_), true);
  if (settingsFile_.Close() != 0) Notify(kNotSavedNotice);
}

void SettingsController::Notify(const char* utf8) {
  notices_.ShowNotice(SjisLiteral(utf8), "Notice", NoticeIcon::kExclamation);
}

}  // namespace verselane
