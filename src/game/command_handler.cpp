#include "game/command_handler.h"

#include <algorithm>
#include <iterator>

#include "base/notices.h"
#include "base/shift_jis.h"
#include "game/desktop_ports.h"
#include "game/game_controller.h"
#include "game/menu_state.h"
#include "settings/preferences.h"

namespace verselane {
namespace {

bool Ask(PromptPort& prompts, const char* textUtf8, const char* captionUtf8) {
  return prompts.Confirm(SjisLiteral(textUtf8), SjisLiteral(captionUtf8));
}

}  // namespace

CommandHandler::CommandHandler(GameController& game, Preferences& preferences,
                               PreferencesPort& preferencesStore, AnswerBoxControlPort& answerBox,
                               MainWindowPort& window, PromptPort& prompts, NoticePort& notices,
                               DialogPort& dialogs)
    : game_(game),
      preferences_(preferences),
      preferencesStore_(preferencesStore),
      answerBox_(answerBox),
      window_(window),
      prompts_(prompts),
      notices_(notices),
      dialogs_(dialogs) {}

void CommandHandler::Dispatch(int command) {
  switch (command) {
    case kCommandStart: Start(); break;
    case kCommandPause: Pause(); break;
    case kCommandRestart: Restart(); break;
    case kCommandSettings: OpenSettings(); break;
    case kCommandRomajiInput: ToggleRomajiInput(); break;
    case kCommandRecite:
    case kCommandListenOnly:
    case kCommandOpening: ToggleVoiceOption(command); break;
    case kCommandZoom100: SetZoom(100); break;
    case kCommandZoom150: SetZoom(150); break;
    case kCommandZoom200: SetZoom(200); break;
    case kCommandZoomIn: StepZoom(1); break;
    case kCommandZoomOut: StepZoom(-1); break;
    case kCommandZoomReset: SetZoom(kZoomPercents[0]); break;
    case kCommandRecords: OpenRecords(); break;
    case kCommandWeakPoems: StartWeakPoems(); break;
    case kCommandPlan: StartPlan(); break;
    case kCommandPlanSettings: OpenPlanSettings(); break;
    case kCommandMastery: OpenMastery(); break;
    case kCommandHelp: ShowHelp(); break;
    case kCommandVersion: ShowVersion(); break;
    case kCommandExit: Exit(); break;
    default: break;
  }
}

void CommandHandler::Start() {
  switch (game_.playState()) {
    case PlayState::Idle: StartRun(); break;
    case PlayState::Paused: ResumeRun(); break;
    default: break;
  }
}

void CommandHandler::Pause() {
  switch (game_.playState()) {
    case PlayState::Running: PauseRun(); break;
    case PlayState::Paused: ResumeRun(); break;
    default: break;
  }
}

void CommandHandler::Restart() {
  const PlayState state = game_.playState();
  if (state == PlayState::Idle) return;
  if (state == PlayState::Running) PauseRun();
  if (!Ask(prompts_, "ゲームをリセットします。\nよろしいですか？", " リセットの確認")) {
    return;  // the run stays paused
  }
  game_.ResetGame();
}

void CommandHandler::Exit() {
  if (game_.playState() == PlayState::Running) PauseRun();
  if (Ask(prompts_, "「Verselane」を終了します。\nよろしいですか？", " 終了の確認")) {
    window_.Destroy();
  }
}

void CommandHandler::OpenSettings() {
  if (game_.playState() == PlayState::Idle) dialogs_.OpenSettings();
}

void CommandHandler::ToggleRomajiInput() {
  preferences_.romajiInput = !preferences_.romajiInput;
  preferences_.romajiChosen = true;
  window_.SetMenuItemChecked(kCommandRomajiInput, preferences_.romajiInput);
  answerBox_.SetRomajiInput(preferences_.romajiInput);
  preferencesStore_.Save(preferences_);
}

void CommandHandler::ToggleVoiceOption(int command) {
  if (game_.playState() != PlayState::Idle || !game_.VoiceInstalled()) return;
  bool& option = command == kCommandRecite       ? preferences_.recite
                 : command == kCommandListenOnly ? preferences_.listenOnly
                                                 : preferences_.opening;
  option = !option;
  window_.SetMenuItemChecked(command, option);
  ApplyVoiceMenuState(window_, MenuState::kIdle, true, preferences_.recite);
  preferencesStore_.Save(preferences_);
}

void CommandHandler::SetZoom(int percent) {
  preferences_.zoomPercent = percent;
  window_.SetMenuItemChecked(ZoomCommand(percent), true);
  window_.SetZoom(percent);
  // A failed redraw stays pending and is drawn again by the next tick.
  static_cast<void>(game_.Redraw());
  preferencesStore_.Save(preferences_);
}

void CommandHandler::StepZoom(int steps) {
  const int count = static_cast<int>(std::size(kZoomPercents));
  int index = 0;
  while (index < count - 1 && kZoomPercents[index] < preferences_.zoomPercent) ++index;
  const int next = std::clamp(index + steps, 0, count - 1);
  if (kZoomPercents[next] != preferences_.zoomPercent) SetZoom(kZoomPercents[next]);
}

void CommandHandler::OpenRecords() {
  if (game_.playState() == PlayState::Idle) dialogs_.OpenRecordList();
}

void CommandHandler::OpenMastery() {
  if (game_.playState() != PlayState::Idle) return;
  dialogs_.OpenMastery(game_.history().Outlook());
}

void CommandHandler::StartWeakPoems() {
  if (game_.playState() != PlayState::Idle || !game_.history().HasAnswers()) return;
  if (game_.ResetForWeakPoems()) StartRun();
}

void CommandHandler::StartPlan() {
  if (game_.playState() != PlayState::Idle) return;
  if (game_.ResetForPlan()) StartRun();
}

void CommandHandler::OpenPlanSettings() {
  if (game_.playState() != PlayState::Idle) return;
  if (!dialogs_.EditPlanSettings(preferences_.plan)) return;
  preferencesStore_.Save(preferences_);
  game_.RefreshPlan();
}

void CommandHandler::ShowVersion() {
  if (game_.playState() == PlayState::Idle) dialogs_.OpenAbout();
}

void CommandHandler::ShowHelp() {
  if (game_.playState() == PlayState::Running) PauseRun();
  dialogs_.ShowHelp();
}

void CommandHandler::StartRun() {
  game_.history().ReportWriteFailure();
  // An empty question file leaves a source with nothing to draw from.
  if (!game_.HasPoemsToAsk()) {
    Tell(notices_, Notice::kNoPoemsToAsk);
    return;
  }
  game_.StartRun();
  answerBoxWasVisible_ = answerBox_.IsVisible();
  answerBox_.Hide();
}

void CommandHandler::PauseRun() {
  answerBoxWasVisible_ = answerBox_.IsVisible();
  answerBox_.Hide();
  game_.Pause();
}

void CommandHandler::ResumeRun() {
  if (answerBoxWasVisible_) answerBox_.Show();
  answerBox_.Focus();
  game_.Resume();
}

}  // namespace verselane
