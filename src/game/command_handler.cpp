#include "game/command_handler.h"

#include <algorithm>

#include "catalogue/poem_groups.h"
#include "base/shift_jis.h"
#include "game/desktop_ports.h"
#include "game/game_controller.h"
#include "game/menu_state.h"
#include "game/results.h"
#include "base/file_ports.h"
#include "settings/environment.h"

namespace verselane {
namespace {

bool Ask(PromptPort& prompts, const char* textUtf8, const char* captionUtf8) {
  return prompts.Confirm(SjisLiteral(textUtf8), SjisLiteral(captionUtf8));
}

}  // namespace

CommandHandler::CommandHandler(Environment& environment, GameController& game,
                               DesktopPorts& desktop)
    : environment_(environment), game_(game), desktop_(desktop) {}

void CommandHandler::Dispatch(int command) {
  switch (command) {
    case kCommandStart: Start(); break;
    case kCommandPause: Pause(); break;
    case kCommandRestart: Restart(); break;
    case kCommandSettings: OpenSettings(); break;
    case kCommandRecords: OpenRecords(); break;
    case kCommandHelp: ShowHelp(); break;
    case kCommandVersion: ShowVersion(); break;
    case kCommandExit: Exit(); break;
    default: break;
  }
}

void CommandHandler::Start() {
  switch (environment_.playState()) {
    case PlayState::Idle: StartRun(); break;
    case PlayState::Paused: ResumeRun(); break;
    default: break;
  }
}

void CommandHandler::Pause() {
  switch (environment_.playState()) {
    case PlayState::Running: PauseRun(); break;
    case PlayState::Paused: ResumeRun(); break;
    default: break;
  }
}

void CommandHandler::Restart() {
  const PlayState state = environment_.playState();
  if (state == PlayState::Idle) return;
  if (state == PlayState::Running) PauseRun();
  if (!Ask(desktop_.prompts, "ゲームをリセットします。\nよろしいですか？", " リセットの確認")) {
    return;  // the run stays paused
  }
  environment_.settings().RestoreSavedSource();
  game_.ResetGame();
}

void CommandHandler::Exit() {
  if (environment_.playState() == PlayState::Running) PauseRun();
  if (Ask(desktop_.prompts, "「Verselane」を終了します。\nよろしいですか？", " 終了の確認")) {
    desktop_.window.Destroy();
  }
}

void CommandHandler::OpenSettings() {
  if (environment_.playState() == PlayState::Idle) desktop_.dialogs.OpenSettings();
}

void CommandHandler::OpenRecords() {
  if (environment_.playState() == PlayState::Idle) desktop_.dialogs.OpenRecordList();
}

void CommandHandler::ShowVersion() {
  if (environment_.playState() == PlayState::Idle) desktop_.dialogs.OpenAbout();
}

void CommandHandler::ShowHelp() { desktop_.dialogs.ShowHelp(); }

void CommandHandler::CloseResults(bool retryWrongAnswers) {
  if (retryWrongAnswers && environment_.retryList().count() > 0) BuildRetryRun(environment_);
  game_.ResetGame();
  if (environment_.settings().source() == kRetrySource) Start();
}

// An empty question file leaves a source with nothing to draw from.
bool CommandHandler::HasPoemsToAsk() const {
  const Settings& settings = environment_.settings();
  const int poems = environment_.sources().GetGroupSize(settings.source());
  return std::min(poems, settings.questionCount()) > 0;
}

void CommandHandler::StartRun() {
  if (!HasPoemsToAsk()) {
    desktop_.notices.ShowNotice(
        SjisLiteral("NOTICE(StartGame):\n選ばれている出題元に歌が1首もありません\n"
                    "環境設定で出題元を選び直してください"),
        "Notice", NoticeIcon::kExclamation);
    return;
  }
  game_.ResetGame();
  answerBoxWasVisible_ = desktop_.answerBox.IsVisible();
  desktop_.answerBox.Hide();
  environment_.SetPlayState(PlayState::Running);
  ApplyMenuState(desktop_.window, MenuState::kRunning);
}

void CommandHandler::PauseRun() {
  answerBoxWasVisible_ = desktop_.answerBox.IsVisible();
  desktop_.answerBox.Hide();
  game_.PauseClocks();
  environment_.SetPlayState(PlayState::Paused);
}

void CommandHandler::ResumeRun() {
  if (answerBoxWasVisible_) desktop_.answerBox.Show();
  desktop_.answerBox.Focus();
  game_.ResumeClocks();
  environment_.SetPlayState(PlayState::Running);
}

}  // namespace verselane
