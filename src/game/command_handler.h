// The menu commands: starting, pausing, resetting and leaving a run, and the dialogs, each
// allowed only in the play states where it makes sense.
#pragma once

namespace verselane {

class AnswerBoxControlPort;
class DialogPort;
class GameController;
class MainWindowPort;
class NoticePort;
class PreferencesPort;
class PromptPort;
struct Preferences;

class CommandHandler {
 public:
  // Changes to `preferences` are kept at once in `preferencesStore`; the player is asked in
  // `prompts` and told in `notices`.
  CommandHandler(GameController& game, Preferences& preferences, PreferencesPort& preferencesStore,
                 AnswerBoxControlPort& answerBox, MainWindowPort& window, PromptPort& prompts,
                 NoticePort& notices, DialogPort& dialogs);
  CommandHandler(const CommandHandler&) = delete;
  CommandHandler& operator=(const CommandHandler&) = delete;

  // Carries out menu or accelerator command `command` (menu_state.h); unknown ids do nothing.
  void Dispatch(int command);

  // Idle: a new run (refused with a notice when the source has no poems). Paused: resume.
  void Start();
  // Running: pause. Paused: resume.
  void Pause();
  // Any state but Idle: pauses a running game, then asks; Yes resets to Idle (a retry run ends
  // with it).
  void Restart();
  // Always: pauses a running game, then asks; Yes closes the main window.
  void Exit();
  // Idle only.
  void OpenSettings();
  // Idle, with history: a run of the weakest poems of the history, put in like the retry run.
  void StartWeakPoems();
  // Idle, with a plan for today: a run of its poems in its order, put in like the retry run.
  void StartPlan();
  // Idle only: the settings of the daily plan, kept at once when changed; the plan follows them.
  void OpenPlanSettings();
  // Romaji input on or off, at any time (the answer line follows at once), kept at once in the
  // preferences.
  void ToggleRomajiInput();
  // Idle, with the voice installed: one of the voice's options (the voice, listening only, the
  // opening poem) on or off by its command, kept at once in the preferences.
  void ToggleVoiceOption(int command);
  // The screen at `percent` % (one of kZoomPercents), kept at once in the preferences; at any
  // time, as it changes nothing of the game.
  void SetZoom(int percent);
  // One step of kZoomPercents up (`steps` 1) or down (-1); nothing past either end.
  void StepZoom(int steps);
  void OpenRecords();
  void OpenMastery();
  void ShowVersion();
  // Always; a running game is paused first, as the help takes the focus from the answer line
  // (the menu greys the help during a run, but F1 still reaches it).
  void ShowHelp();

 private:
  void StartRun();
  void PauseRun();
  void ResumeRun();

  GameController& game_;
  Preferences& preferences_;
  PreferencesPort& preferencesStore_;
  AnswerBoxControlPort& answerBox_;
  MainWindowPort& window_;
  PromptPort& prompts_;
  NoticePort& notices_;
  DialogPort& dialogs_;
  bool answerBoxWasVisible_ = false;
};

}  // namespace verselane
