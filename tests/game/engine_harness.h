// The whole engine on fake desktop parts, driven tick by tick without a display.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "game/command_handler.h"
#include "game/frame.h"
#include "game/game_controller.h"
#include "game/key_latch.h"
#include "game/menu_state.h"
#include "settings/settings_controller.h"

namespace verselane {

// The engine works on the settings in memory and never loads or saves them: env.ini's path is
// one where nothing can be written, so a save by mistake fails rather than land somewhere.
inline constexpr const char* kUnwrittenSettingsPath = "/dev/null/env.ini";

class EngineHarness {
 public:
  // Starts Idle with the first frame drawn, as the program does at start-up; without `history`
  // nothing is kept.
  explicit EngineHarness(RandomSource& random) : EngineHarness(random, noHistory) {}
  EngineHarness(RandomSource& random, HistoryPort& history)
      : game(catalogue, saved.settings(), saved.sources(), preferences, keys, random, history,
             desktop.answerBox, desktop.sound, desktop.voice, desktop.inputMethod,
             desktop.window, desktop.screen, desktop.dialogs) {
    game.ResetGame();
    game.UpdateFrame();
  }

  Settings& settings() { return saved.settings(); }
  QuestionSources& sources() { return saved.sources(); }
  const Tallies& tallies() const { return game.run().tallies; }
  PlayState state() const { return game.playState(); }
  Phase phase() const { return game.phase(); }
  const GameAnimation& animation() const { return game.animation(); }
  const GameFrame& lastFrame() const { return desktop.screen.last; }

  void UseSource(int source, int questionCount) {
    settings().SetSource(source);
    settings().SetQuestionCount(questionCount);
  }

  void Tick(int count = 1) {
    for (int i = 0; i < count; ++i) game.Tick();
  }
  // Ticks until the game is in `phase` (or no longer running); returns the ticks taken, or -1
  // when it did not get there within `limit` ticks.
  int TickUntilPhase(Phase phase, int limit = 2000) {
    for (int ticks = 1; ticks <= limit; ++ticks) {
      game.Tick();
      if (game.phase() == phase || state() != PlayState::Running) return ticks;
    }
    return -1;
  }

  // START, then on to the first question; returns the ticks taken (-1: it never came).
  int StartAndReachFirstQuestion() {
    commands.Dispatch(kCommandStart);
    return TickUntilPhase(Phase::kAnswering);
  }

  void PressEnter() { keys.Store(kEnterKey); }
  // The open results close as the player closes them, with the retry run or without.
  void CloseResults(bool retry) { desktop.dialogs.lastClosed(retry); }
  void Type(std::string_view utf8) { desktop.answerBox.text = SjisLiteral(utf8); }
  // The reading the current question expects, as CP932.
  std::string_view ExpectedReading() {
    const int field = settings().mode() == QuestionMode::Reverse ? kUpperReading : kLowerReading;
    return catalogue.FieldView(game.run().question.poem, field);
  }
  // Types the answer to the current question and presses Enter; the next tick takes it.
  void Answer(bool correct) {
    desktop.answerBox.text = correct ? std::string(ExpectedReading()) : SjisLiteral("まちがい");
    PressEnter();
  }

  const PoemCatalogue catalogue;
  KeyLatch keys;
  FakeDesktop desktop;
  SettingsController saved{kUnwrittenSettingsPath};
  Preferences preferences;
  NoHistory noHistory;
  GameController game;
  CommandHandler commands{game,           preferences,     desktop.preferences, desktop.answerBox,
                          desktop.window, desktop.prompts, desktop.notices,     desktop.dialogs};
};

}  // namespace verselane
