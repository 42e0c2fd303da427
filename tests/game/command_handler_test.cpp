// The menu commands in every play state: what each does, what it asks, and the menu it leaves.
#include "game/command_handler.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "catalogue/poem_groups.h"
#include "engine_harness.h"
#include "game/results.h"

namespace verselane {
namespace {

class CommandHandlerTest : public ::testing::Test {
 protected:
  CommandHandlerTest() { engine.UseSource(kAllPoemsSource, 3); }

  void ExpectMenu(bool idle) {
    const FakeMainWindow& window = engine.desktop.window;
    EXPECT_EQ(window.Enabled(kCommandStart), idle);
    EXPECT_EQ(window.Enabled(kCommandPause), !idle);
    EXPECT_EQ(window.Enabled(kCommandRestart), !idle);
    for (int command :
         {kCommandSettings, kCommandRecords, kCommandMastery, kCommandHelp, kCommandVersion}) {
      EXPECT_EQ(window.Enabled(command), idle) << command;
    }
    EXPECT_TRUE(window.Enabled(kCommandRomajiInput)) << "romaji input at any time";
    EXPECT_EQ(window.menuEnabled.count(kCommandExit), 0u) << "exit is never greyed";
  }
  FakePrompts& prompts() { return engine.desktop.prompts; }
  FakeAnswerBox& answerBox() { return engine.desktop.answerBox; }

  ScriptedRandom random{{0}};
  EngineHarness engine{random};
};

// Romaji input is switched at any time, in the middle of a question too: the answer line follows
// at once, and the choice is kept at once. With it on, no input method is opened.
TEST_F(CommandHandlerTest, RomajiInputIsSwitchedAtAnyTimeAndKept) {
  engine.commands.Dispatch(kCommandRomajiInput);
  EXPECT_TRUE(engine.preferences.romajiInput);
  EXPECT_TRUE(engine.desktop.window.menuChecked.at(kCommandRomajiInput));
  EXPECT_TRUE(answerBox().romaji);
  ASSERT_EQ(engine.desktop.preferences.saved.size(), 1u);
  EXPECT_TRUE(engine.desktop.preferences.saved[0].romajiInput);
  EXPECT_TRUE(engine.desktop.preferences.saved[0].romajiChosen);

  engine.StartAndReachFirstQuestion();
  EXPECT_EQ(engine.desktop.inputMethod.openRequests, 0);
  engine.commands.Dispatch(kCommandRomajiInput);
  EXPECT_FALSE(engine.preferences.romajiInput);
  EXPECT_FALSE(engine.desktop.window.menuChecked.at(kCommandRomajiInput));
  EXPECT_FALSE(answerBox().romaji);
  ASSERT_EQ(engine.desktop.preferences.saved.size(), 2u);
  EXPECT_FALSE(engine.desktop.preferences.saved[1].romajiInput);
  EXPECT_EQ(engine.game.playState(), PlayState::Running) << "the run goes on";
  EXPECT_EQ(engine.game.phase(), Phase::kAnswering);
  EXPECT_TRUE(answerBox().visible);

  engine.commands.Dispatch(kCommandPause);
  engine.commands.Dispatch(kCommandRomajiInput);
  EXPECT_TRUE(answerBox().romaji) << "paused too";
  EXPECT_EQ(engine.game.playState(), PlayState::Paused);
}

// The voice's options change while Idle only, and only with the voice installed; listening only
// and the opening poem need the voice on. Each is kept at once.
TEST_F(CommandHandlerTest, TheVoicesOptionsAreChosenWhileIdleWithTheVoiceInstalled) {
  FakeMainWindow& window = engine.desktop.window;
  engine.desktop.voice.installed = false;
  engine.game.ResetGame();
  for (int command : {kCommandRecite, kCommandListenOnly, kCommandOpening}) {
    EXPECT_FALSE(window.Enabled(command)) << command;
  }
  engine.commands.Dispatch(kCommandRecite);
  EXPECT_FALSE(engine.preferences.recite) << "not without the voice";

  engine.desktop.voice.installed = true;
  engine.game.ResetGame();
  EXPECT_TRUE(window.Enabled(kCommandRecite));
  EXPECT_FALSE(window.Enabled(kCommandListenOnly)) << "the voice is off";
  engine.commands.Dispatch(kCommandRecite);
  EXPECT_TRUE(engine.preferences.recite);
  EXPECT_TRUE(window.menuChecked.at(kCommandRecite));
  EXPECT_TRUE(window.Enabled(kCommandListenOnly));
  EXPECT_TRUE(window.Enabled(kCommandOpening));
  engine.commands.Dispatch(kCommandOpening);
  EXPECT_TRUE(engine.preferences.opening);
  ASSERT_EQ(engine.desktop.preferences.saved.size(), 2u);
  const Preferences& kept = engine.desktop.preferences.saved[1];
  EXPECT_TRUE(kept.recite && kept.opening);

  engine.StartAndReachFirstQuestion();
  for (int command : {kCommandRecite, kCommandListenOnly, kCommandOpening}) {
    EXPECT_FALSE(window.Enabled(command)) << "greyed during a run: " << command;
  }
  engine.commands.Dispatch(kCommandListenOnly);
  EXPECT_FALSE(engine.preferences.listenOnly);
  EXPECT_EQ(engine.desktop.preferences.saved.size(), 2u);
}

// The zoom changes nothing of the game, so it is taken at any time, a run going on: the screen
// as it is is drawn again at once (the view was made anew), and the choice is kept.
TEST_F(CommandHandlerTest, ZoomIsTakenAtAnyTimeDrawnAtOnceAndKept) {
  engine.StartAndReachFirstQuestion();
  const int draws = engine.desktop.screen.draws;
  const GameFrame before = engine.lastFrame();
  engine.commands.Dispatch(kCommandZoom150);
  EXPECT_EQ(engine.desktop.window.zoomPercent, 150);
  EXPECT_TRUE(engine.desktop.window.menuChecked.at(kCommandZoom150));
  EXPECT_EQ(engine.desktop.screen.draws, draws + 1);
  EXPECT_EQ(engine.lastFrame().prompt, before.prompt);
  EXPECT_EQ(engine.lastFrame().markerFrame, before.markerFrame) << "nothing stepped";
  EXPECT_EQ(engine.game.playState(), PlayState::Running);
  EXPECT_EQ(engine.preferences.zoomPercent, 150);
  ASSERT_EQ(engine.desktop.preferences.saved.size(), 1u);
  EXPECT_EQ(engine.desktop.preferences.saved[0].zoomPercent, 150);
}

// The zoom keys step through the menu's zooms and stop at either end without saving again.
TEST_F(CommandHandlerTest, ZoomKeysStepThroughTheZoomsAndStopAtTheEnds) {
  engine.StartAndReachFirstQuestion();
  const std::pair<int, int> steps[] = {
      {kCommandZoomIn, 150},  {kCommandZoomIn, 200},    {kCommandZoomIn, 200},
      {kCommandZoomOut, 150}, {kCommandZoomReset, 100}, {kCommandZoomOut, 100},
      {kCommandZoomIn, 150},  {kCommandZoomIn, 200},    {kCommandZoomReset, 100},
  };
  std::vector<int> saved;
  for (const auto& [command, percent] : steps) {
    engine.commands.Dispatch(command);
    EXPECT_EQ(engine.desktop.window.zoomPercent, percent) << command;
    EXPECT_TRUE(engine.desktop.window.menuChecked.at(ZoomCommand(percent))) << command;
  }
  for (const Preferences& kept : engine.desktop.preferences.saved) {
    saved.push_back(kept.zoomPercent);
  }
  EXPECT_EQ(saved, (std::vector<int>{150, 200, 150, 100, 150, 200, 100}));
  EXPECT_EQ(engine.game.playState(), PlayState::Running);
}

// A player with no Japanese input method learns at the first question, once, the key of romaji
// input; the key works there and then. One with a Japanese input method is not disturbed.
TEST_F(CommandHandlerTest, TheFirstQuestionWithoutJapaneseInputNamesTheRomajiKey) {
  engine.desktop.inputMethod.japanese = false;
  engine.StartAndReachFirstQuestion();
  EXPECT_EQ(answerBox().hint, SjisLiteral("ローマ字入力: Ctrl+J"));
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kAnswering);
  EXPECT_EQ(answerBox().hint, "") << "the next question has none";
  prompts().answer = true;
  engine.commands.Dispatch(kCommandRestart);
  engine.StartAndReachFirstQuestion();
  EXPECT_EQ(answerBox().hint, "") << "once in the program's life";
  EXPECT_EQ(engine.desktop.inputMethod.japaneseAsked, 1);

  ScriptedRandom otherRandom{{0}};
  EngineHarness withRomaji{otherRandom};
  withRomaji.desktop.inputMethod.japanese = false;
  withRomaji.preferences.romajiInput = true;
  withRomaji.StartAndReachFirstQuestion();
  EXPECT_EQ(withRomaji.desktop.answerBox.hint, "") << "romaji input is on already";

  ScriptedRandom thirdRandom{{0}};
  EngineHarness withJapanese{thirdRandom};
  withJapanese.StartAndReachFirstQuestion();
  EXPECT_EQ(withJapanese.desktop.answerBox.hint, "") << "a Japanese input method is there";
}

TEST_F(CommandHandlerTest, MenuFollowsResetAndStartOnly) {
  ExpectMenu(true);
  engine.StartAndReachFirstQuestion();
  ExpectMenu(false);
  engine.commands.Dispatch(kCommandPause);
  engine.commands.Dispatch(kCommandPause);
  ExpectMenu(false);
  prompts().answer = true;
  engine.commands.Dispatch(kCommandRestart);
  ExpectMenu(true);
}

TEST_F(CommandHandlerTest, StartWhileRunningDoesNothing) {
  engine.StartAndReachFirstQuestion();
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kAnswering);
  const int focus = answerBox().focusCount;
  engine.commands.Dispatch(kCommandStart);
  EXPECT_EQ(engine.state(), PlayState::Running);
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
  EXPECT_EQ(engine.tallies().asked, 1);
  EXPECT_TRUE(answerBox().visible);
  EXPECT_EQ(answerBox().focusCount, focus);
}

TEST_F(CommandHandlerTest, PauseTwiceResumesAndShowsTheBoxOnlyIfItWasVisible) {
  engine.StartAndReachFirstQuestion();
  int focus = answerBox().focusCount;
  engine.commands.Dispatch(kCommandPause);
  EXPECT_EQ(engine.state(), PlayState::Paused);
  EXPECT_FALSE(answerBox().visible);
  engine.commands.Dispatch(kCommandPause);
  EXPECT_EQ(engine.state(), PlayState::Running);
  EXPECT_TRUE(answerBox().visible);
  EXPECT_EQ(answerBox().focusCount, focus + 1);

  engine.Answer(true);
  engine.TickUntilPhase(Phase::kBetween);  // the box is hidden between questions
  focus = answerBox().focusCount;
  engine.commands.Dispatch(kCommandPause);
  engine.commands.Dispatch(kCommandPause);
  EXPECT_FALSE(answerBox().visible);
  EXPECT_EQ(answerBox().focusCount, focus + 1) << "focused in either case";
}

TEST_F(CommandHandlerTest, RestartWhileRunningAnsweredNoLeavesTheRunPaused) {
  engine.StartAndReachFirstQuestion();
  engine.commands.Dispatch(kCommandRestart);
  ASSERT_EQ(prompts().asked.size(), 1u);
  EXPECT_EQ(prompts().asked[0].text, SjisLiteral("ゲームをリセットします。\nよろしいですか？"));
  EXPECT_EQ(prompts().asked[0].caption, SjisLiteral(" リセットの確認"));
  EXPECT_EQ(engine.state(), PlayState::Paused);
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
  engine.commands.Dispatch(kCommandPause);
  EXPECT_EQ(engine.state(), PlayState::Running);
  EXPECT_TRUE(answerBox().visible);
}

TEST_F(CommandHandlerTest, RestartWhilePausedAsksWithoutPausingAgain) {
  engine.StartAndReachFirstQuestion();
  engine.Tick(25);
  const int seconds = engine.game.seconds(GameClock::kQuestion);
  engine.commands.Dispatch(kCommandPause);
  engine.commands.Dispatch(kCommandRestart);
  EXPECT_EQ(prompts().asked.size(), 1u);
  // A second pause would have forgotten that the box was shown and the clocks were running.
  engine.commands.Dispatch(kCommandStart);
  EXPECT_TRUE(answerBox().visible);
  engine.Tick(kTicksPerSecond);
  EXPECT_EQ(engine.game.seconds(GameClock::kQuestion), seconds + 1);
}

TEST_F(CommandHandlerTest, RestartAnsweredYesReturnsToIdle) {
  engine.StartAndReachFirstQuestion();
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kAnswering);
  prompts().answer = true;
  engine.commands.Dispatch(kCommandRestart);
  EXPECT_EQ(engine.state(), PlayState::Idle);
  EXPECT_EQ(engine.phase(), Phase::kStart);
  EXPECT_EQ(engine.tallies().asked, 0);
  EXPECT_EQ(engine.tallies().score, 0);
  EXPECT_EQ(engine.game.seconds(GameClock::kGame), 0);
  engine.Tick();
  EXPECT_EQ(engine.lastFrame().askedCount, 0);
  EXPECT_FALSE(engine.lastFrame().promptShown);
}

TEST_F(CommandHandlerTest, RestartWhileIdleAsksNothing) {
  engine.commands.Dispatch(kCommandRestart);
  EXPECT_TRUE(prompts().asked.empty());
  EXPECT_EQ(engine.state(), PlayState::Idle);
}

TEST_F(CommandHandlerTest, NothingMovesWhileAConfirmationIsOpen) {
  engine.StartAndReachFirstQuestion();
  const int seconds = engine.game.seconds(GameClock::kGame);
  prompts().whileAsking = [&] { engine.Tick(10 * kTicksPerSecond); };
  engine.commands.Dispatch(kCommandRestart);
  engine.commands.Dispatch(kCommandStart);
  engine.commands.Dispatch(kCommandExit);
  EXPECT_EQ(engine.game.seconds(GameClock::kGame), seconds);
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
}

TEST_F(CommandHandlerTest, RestartDuringARetryRunEndsIt) {
  engine.UseSource(kAllPoemsSource, 3);
  engine.StartAndReachFirstQuestion();
  engine.Answer(false);
  engine.TickUntilPhase(Phase::kReview);
  engine.PressEnter();
  engine.TickUntilPhase(Phase::kAnswering);
  engine.commands.Dispatch(kCommandRestart);  // No: the run goes on
  engine.commands.Dispatch(kCommandStart);
  while (engine.state() == PlayState::Running) {
    engine.Answer(true);
    engine.TickUntilPhase(Phase::kAnswering);
  }
  engine.CloseResults(true);
  engine.StartAndReachFirstQuestion();
  ASSERT_TRUE(engine.game.run().retry);
  prompts().answer = true;
  engine.commands.Dispatch(kCommandRestart);
  EXPECT_FALSE(engine.game.run().retry);
  EXPECT_EQ(engine.game.run().questionCount, 3);
  EXPECT_EQ(engine.settings().source(), kAllPoemsSource);
  EXPECT_EQ(engine.settings().questionCount(), 3);
}

TEST_F(CommandHandlerTest, ExitAsksFirstAndClosesOnlyOnYes) {
  engine.StartAndReachFirstQuestion();
  engine.commands.Dispatch(kCommandExit);
  ASSERT_EQ(prompts().asked.size(), 1u);
  EXPECT_EQ(prompts().asked[0].text,
            SjisLiteral("「Verselane」を終了します。\nよろしいですか？"));
  EXPECT_EQ(prompts().asked[0].caption, SjisLiteral(" 終了の確認"));
  EXPECT_FALSE(engine.desktop.window.destroyed);
  EXPECT_EQ(engine.state(), PlayState::Paused);

  engine.commands.Dispatch(kCommandExit);  // already paused: not paused again
  engine.commands.Dispatch(kCommandStart);
  EXPECT_TRUE(answerBox().visible);

  prompts().answer = true;
  engine.commands.Dispatch(kCommandExit);
  EXPECT_TRUE(engine.desktop.window.destroyed);
}

TEST_F(CommandHandlerTest, ExitWhileIdleAlsoAsks) {
  prompts().answer = true;
  engine.commands.Dispatch(kCommandExit);
  EXPECT_EQ(prompts().asked.size(), 1u);
  EXPECT_TRUE(engine.desktop.window.destroyed);
}

TEST_F(CommandHandlerTest, DialogsOpenOnlyWhileIdleAndHelpAlways) {
  const FakeDialogs& dialogs = engine.desktop.dialogs;
  engine.StartAndReachFirstQuestion();
  for (int command :
       {kCommandSettings, kCommandRecords, kCommandMastery, kCommandVersion, kCommandHelp}) {
    engine.commands.Dispatch(command);
  }
  EXPECT_EQ(dialogs.settings + dialogs.recordList + dialogs.mastery + dialogs.about, 0);
  EXPECT_EQ(dialogs.help, 1);
  EXPECT_EQ(engine.state(), PlayState::Paused) << "the question's clock waits for the player";
  EXPECT_FALSE(engine.desktop.answerBox.visible);

  prompts().answer = true;
  engine.commands.Dispatch(kCommandRestart);
  for (int command :
       {kCommandSettings, kCommandRecords, kCommandMastery, kCommandVersion, kCommandHelp}) {
    engine.commands.Dispatch(command);
  }
  EXPECT_EQ(dialogs.settings, 1);
  EXPECT_EQ(dialogs.recordList, 1);
  EXPECT_EQ(dialogs.mastery, 1);
  EXPECT_EQ(dialogs.about, 1);
  EXPECT_EQ(dialogs.help, 2);
}

TEST_F(CommandHandlerTest, UnknownCommandsAreIgnored) {
  engine.StartAndReachFirstQuestion();
  for (int command : {0, 112, 113, 40001, 2000}) engine.commands.Dispatch(command);
  EXPECT_EQ(engine.state(), PlayState::Running);
  EXPECT_TRUE(prompts().asked.empty());
  EXPECT_EQ(engine.desktop.dialogs.help, 0);
}

TEST_F(CommandHandlerTest, ResultsWithoutWrongAnswersCannotStartARetryRun) {
  engine.UseSource(kAllPoemsSource, 1);
  engine.StartAndReachFirstQuestion();
  engine.Answer(true);
  while (engine.state() == PlayState::Running) engine.Tick();
  engine.CloseResults(true);
  EXPECT_EQ(engine.state(), PlayState::Idle);
  EXPECT_FALSE(engine.game.run().retry);
}

}  // namespace
}  // namespace verselane
