// Whole runs driven tick by tick: the waits, the countdown, questions, pop-ups and the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "catalogue/poem_groups.h"
#include "engine_harness.h"
#include "game/results.h"
#include "settings/environment_line.h"

namespace verselane {
namespace {

class GameFlowTest : public ::testing::Test {
 protected:
  GameFlowTest() { engine.UseSource(kAllPoemsSource, 1); }

  void StartAndReachFirstQuestion() { ASSERT_EQ(engine.StartAndReachFirstQuestion(), 33); }
  // Answers the current question and ticks until the next one is asked or the run is over.
  int PlayQuestion(bool correct) {
    const int poem = engine.game.run().question.poem;
    engine.Answer(correct);
    engine.TickUntilPhase(Phase::kReview);
    if (!correct) engine.PressEnter();
    engine.TickUntilPhase(Phase::kAnswering);
    return poem;
  }
  int Seconds(GameClock clock) const { return engine.game.seconds(clock); }

  ScriptedRandom random{{0}};
  EngineHarness engine{random};
};

TEST_F(GameFlowTest, OneQuestionRunFollowsItsWholeTimeline) {
  engine.desktop.answerBox.text = "left over";
  EXPECT_EQ(engine.desktop.sound.prepared, 0) << "no sound device while the game only waits";
  engine.commands.Start();
  EXPECT_EQ(engine.state(), PlayState::Running);
  EXPECT_EQ(engine.desktop.sound.prepared, 1) << "readied a countdown ahead of the first sound";

  engine.Tick();  // the interval clock starts
  EXPECT_EQ(engine.phase(), Phase::kFirstWait);
  EXPECT_EQ(engine.lastFrame().bannerText, "START !!");
  engine.Tick(20);
  EXPECT_EQ(engine.phase(), Phase::kFirstWait) << "the wait takes a whole second";
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kCountdown);
  EXPECT_EQ(engine.animation().countdown(), 9);
  engine.Tick(10);  // eleven ticks of countdown in all
  EXPECT_EQ(engine.phase(), Phase::kSetUp);
  EXPECT_EQ(engine.animation().countdown(), -1);
  EXPECT_FALSE(engine.desktop.answerBox.visible);

  engine.Tick();  // the question is put
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
  EXPECT_TRUE(engine.desktop.answerBox.visible);
  EXPECT_EQ(engine.desktop.answerBox.text, "");
  EXPECT_EQ(engine.desktop.answerBox.focusCount, 1);
  EXPECT_EQ(engine.desktop.inputMethod.openRequests, 1);
  EXPECT_EQ(engine.animation().reveal(), 1) << "the first kana shows with the question";
  engine.Tick(19);
  EXPECT_EQ(engine.animation().reveal(), 1);
  engine.Tick();
  EXPECT_EQ(engine.animation().reveal(), 2) << "then one kana a second";
  engine.Tick(20);
  EXPECT_EQ(Seconds(GameClock::kQuestion), 1);

  engine.Answer(true);  // taken on the tick that completes the second second
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kPopupIn);
  EXPECT_FALSE(engine.desktop.answerBox.visible);
  EXPECT_EQ(engine.desktop.sound.played, std::vector<SoundId>{SoundId::kCorrect});
  EXPECT_EQ(engine.lastFrame().popupText, "+1000pt.  00:00:02");
  engine.Tick(10);  // the pop-up fades in over eleven ticks
  EXPECT_EQ(engine.phase(), Phase::kReview);
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kClearDown);
  const int promptCells = engine.game.run().promptCells();
  engine.Tick(promptCells - 1);  // one kana cleared a tick
  EXPECT_EQ(engine.phase(), Phase::kPopupOut);
  EXPECT_EQ(engine.animation().timeBar(), kTimeBarFull);
  engine.Tick(11);
  EXPECT_EQ(engine.phase(), Phase::kNext);
  EXPECT_EQ(engine.desktop.dialogs.results, 0);

  engine.Tick();
  EXPECT_EQ(engine.state(), PlayState::Finished);
  EXPECT_EQ(engine.desktop.dialogs.results, 1);
  EXPECT_EQ(engine.desktop.sound.played,
            (std::vector<SoundId>{SoundId::kCorrect, SoundId::kRunFinished}));
  EXPECT_FALSE(engine.game.clockRunning(GameClock::kGame));

  engine.Tick(100);  // the results dialog is open: nothing moves on
  EXPECT_EQ(engine.phase(), Phase::kNext);
  EXPECT_EQ(engine.desktop.dialogs.results, 1);
  EXPECT_EQ(BuildResultsView(engine.game.Figures()).totalScore, "1000 pt");
  engine.CloseResults(false);
  EXPECT_EQ(engine.state(), PlayState::Idle);
  EXPECT_EQ(engine.phase(), Phase::kStart);
  EXPECT_EQ(engine.tallies().score, 0);
}

TEST_F(GameFlowTest, SevenPoemSourceAsksEachPoemExactlyOnce) {
  const int group = 6;
  ASSERT_EQ(engine.sources().GetGroupSize(group), 7);
  engine.UseSource(group, 7);
  random = ScriptedRandom({3, 5, 0, 2, 1, 1, 0});
  StartAndReachFirstQuestion();
  std::vector<int> asked;
  while (engine.state() == PlayState::Running) asked.push_back(PlayQuestion(asked.size() % 3 != 1));

  std::vector<int> expected = engine.sources().GetGroupPoems(group);
  std::sort(asked.begin(), asked.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(asked, expected);
  EXPECT_EQ(engine.tallies().asked, 7);
  EXPECT_EQ(engine.tallies().correct, 5);
  EXPECT_EQ(engine.desktop.dialogs.results, 1);
}

TEST_F(GameFlowTest, EnterDuringTheCountdownOrBetweenQuestionsIsDropped) {
  engine.UseSource(kAllPoemsSource, 2);
  engine.commands.Start();
  engine.TickUntilPhase(Phase::kCountdown);
  engine.PressEnter();
  engine.TickUntilPhase(Phase::kAnswering);
  engine.Type("あいうえ");
  engine.Tick(40);
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
  EXPECT_EQ(engine.tallies().asked, 0);

  engine.Answer(true);
  engine.TickUntilPhase(Phase::kBetween);
  engine.PressEnter();
  engine.TickUntilPhase(Phase::kAnswering);
  engine.Tick(40);
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
  EXPECT_EQ(engine.tallies().asked, 1);
}

TEST_F(GameFlowTest, OnlyTheLastKeyOfATickCounts) {
  StartAndReachFirstQuestion();
  engine.Answer(true);
  engine.keys.Store('a');  // typed after Enter within the same tick
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
  engine.keys.Store('a');
  engine.PressEnter();
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kPopupIn);
}

TEST_F(GameFlowTest, CorrectAnswerMovesOnByItself) {
  StartAndReachFirstQuestion();
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kReview);
  EXPECT_FALSE(engine.lastFrame().hintShown) << "nothing to press";
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kClearDown);
  EXPECT_TRUE(engine.game.clockRunning(GameClock::kGame));
}

TEST_F(GameFlowTest, WrongAnswerShowsTheReadingUntilEnter) {
  StartAndReachFirstQuestion();
  engine.Answer(false);
  engine.Tick();
  EXPECT_FALSE(engine.game.clockRunning(GameClock::kGame)) << "the clear time stands still";
  EXPECT_EQ(engine.desktop.sound.played, std::vector<SoundId>{SoundId::kWrong});
  engine.TickUntilPhase(Phase::kReview);
  engine.Tick(200);
  EXPECT_EQ(engine.phase(), Phase::kReview);
  EXPECT_EQ(engine.lastFrame().popupText, engine.ExpectedReading());
  EXPECT_EQ(engine.lastFrame().popupFont, PopupFont::kReading);
  engine.keys.Store('x');
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kReview);
  engine.PressEnter();
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kClearDown);
  EXPECT_EQ(engine.game.run().wrong.count(), 1);
}

TEST_F(GameFlowTest, MissedFavouriteShowsTheReadingThenThePenalty) {
  engine.UseSource(kAllPoemsSource, 2);
  engine.settings().SetFavouritePoem(99);  // the second poem drawn
  StartAndReachFirstQuestion();
  PlayQuestion(true);
  ASSERT_EQ(engine.game.run().question.poem, 99);

  engine.Tick(20 * kTicksPerSecond);  // slow enough for the smallest points: 10
  engine.Answer(false);
  engine.TickUntilPhase(Phase::kReview);
  EXPECT_EQ(engine.lastFrame().popupText, engine.ExpectedReading());
  EXPECT_EQ(engine.lastFrame().popupFont, PopupFont::kReading);
  engine.PressEnter();
  std::vector<Phase> phases;
  GameFrame penalty;
  while (engine.state() == PlayState::Running) {
    engine.Tick();
    if (phases.empty() || phases.back() != engine.phase()) phases.push_back(engine.phase());
    if (engine.phase() == Phase::kReview) penalty = engine.lastFrame();
  }
  EXPECT_EQ(phases, (std::vector<Phase>{Phase::kPopupOut, Phase::kPopupIn, Phase::kReview,
                                        Phase::kClearDown, Phase::kPopupOut, Phase::kNext}));
  EXPECT_EQ(penalty.popupText, "-30pt.  00:00:20");
  EXPECT_EQ(penalty.popupFont, PopupFont::kPenalty);
  EXPECT_EQ(penalty.popupColour, (Rgb{200, 100, 100}));
  EXPECT_FALSE(penalty.hintShown) << "the penalty goes by itself";
  EXPECT_EQ(engine.tallies().score, 970);
  EXPECT_EQ(engine.game.run().question.favourite, FavouriteState::None);
  EXPECT_EQ(engine.desktop.sound.played,
            (std::vector<SoundId>{SoundId::kCorrect, SoundId::kFavouriteMissed,
                                  SoundId::kRunFinished}));
}

TEST_F(GameFlowTest, PauseWhileAnsweringStopsAllClocksAndResumesWithTheTimeSpent) {
  StartAndReachFirstQuestion();
  engine.Tick(30);
  const int questionSeconds = Seconds(GameClock::kQuestion);
  const int gameSeconds = Seconds(GameClock::kGame);
  const int reveal = engine.animation().reveal();
  const int bar = engine.animation().timeBar();
  ASSERT_EQ(questionSeconds, 1);

  engine.commands.Pause();
  EXPECT_FALSE(engine.desktop.answerBox.visible);
  for (GameClock clock : {GameClock::kInterval, GameClock::kQuestion, GameClock::kGame}) {
    EXPECT_FALSE(engine.game.clockRunning(clock));
  }
  engine.Answer(true);  // Enter while paused is dropped
  engine.Tick(20 * kTicksPerSecond);
  EXPECT_EQ(engine.phase(), Phase::kAnswering);
  EXPECT_EQ(Seconds(GameClock::kQuestion), questionSeconds);
  EXPECT_EQ(Seconds(GameClock::kGame), gameSeconds);
  EXPECT_EQ(engine.animation().reveal(), reveal);
  EXPECT_EQ(engine.animation().timeBar(), bar);
  EXPECT_EQ(engine.lastFrame().bannerText, "PAUSE");

  const int focusBefore = engine.desktop.answerBox.focusCount;
  engine.commands.Start();
  EXPECT_TRUE(engine.desktop.answerBox.visible);
  EXPECT_EQ(engine.desktop.answerBox.focusCount, focusBefore + 1);
  EXPECT_FALSE(engine.game.clockRunning(GameClock::kInterval));
  engine.Tick();
  EXPECT_FALSE(engine.lastFrame().bannerShown);
  engine.Tick(19);
  EXPECT_EQ(Seconds(GameClock::kQuestion), questionSeconds + 1);
  engine.Answer(true);
  engine.Tick();
  EXPECT_EQ(engine.tallies().score, 1000) << "the pause does not count against the answer";
}

TEST_F(GameFlowTest, ResumingTakesPauseOffTheScreenWhileNothingElseMoves) {
  StartAndReachFirstQuestion();
  EXPECT_FALSE(engine.lastFrame().hintShown) << "answering needs no hint";
  engine.Answer(false);
  engine.TickUntilPhase(Phase::kReview);
  engine.Tick(20);  // the reading waits for Enter, the clock stands still
  EXPECT_TRUE(engine.lastFrame().hintShown);
  EXPECT_EQ(engine.lastFrame().hintText, SjisLiteral("Enter で次へ"));
  engine.commands.Pause();
  engine.Tick();
  EXPECT_TRUE(engine.lastFrame().bannerShown);
  EXPECT_EQ(engine.lastFrame().hintText, SjisLiteral("Ctrl+P で再開"));
  engine.commands.Pause();
  engine.Tick();
  EXPECT_FALSE(engine.lastFrame().bannerShown);
  EXPECT_TRUE(engine.lastFrame().popupShown);
  EXPECT_EQ(engine.lastFrame().hintText, SjisLiteral("Enter で次へ"));
  engine.PressEnter();
  engine.Tick();
  EXPECT_FALSE(engine.lastFrame().hintShown);
}

TEST_F(GameFlowTest, PauseDuringTheCountdownRestartsItFromTen) {
  engine.commands.Start();
  engine.TickUntilPhase(Phase::kCountdown);
  engine.Tick(4);
  EXPECT_EQ(engine.animation().countdown(), 5);
  engine.commands.Pause();
  engine.Tick();
  EXPECT_EQ(engine.animation().countdown(), 10);
  EXPECT_EQ(engine.lastFrame().bannerText, "PAUSE");
  EXPECT_EQ(engine.lastFrame().bannerColour, (Rgb{130, 130, 130}));
  engine.Tick(100);
  EXPECT_EQ(engine.phase(), Phase::kCountdown);

  engine.commands.Start();
  engine.Tick();
  EXPECT_EQ(engine.animation().countdown(), 9);
  EXPECT_EQ(engine.lastFrame().bannerText, "START !!");
  engine.Tick(9);
  EXPECT_EQ(engine.phase(), Phase::kCountdown);
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kSetUp);
}

TEST_F(GameFlowTest, PauseDuringTheFirstWaitKeepsTheWaitStillToGo) {
  engine.commands.Start();
  engine.Tick(11);
  engine.commands.Pause();
  engine.Tick(100);
  engine.commands.Start();
  engine.Tick(10);
  EXPECT_EQ(engine.phase(), Phase::kFirstWait);
  engine.Tick();
  EXPECT_EQ(engine.phase(), Phase::kCountdown);
}

TEST_F(GameFlowTest, WithTheShowFlagOffPoem31RevealsItsKimarijiOnly) {
  engine.settings().SetShowAfterKimariji(false);
  random = ScriptedRandom({30});
  StartAndReachFirstQuestion();
  ASSERT_EQ(engine.game.run().question.poem, 30);
  engine.Tick(10 * kTicksPerSecond);
  EXPECT_EQ(engine.animation().reveal(), 6);
  EXPECT_EQ(engine.lastFrame().prompt, SjisLiteral("あさぼらけあ"));

  engine.Answer(false);
  engine.Tick();
  EXPECT_EQ(engine.animation().reveal(), 18);
  EXPECT_EQ(engine.lastFrame().prompt, SjisLiteral("あさぼらけありあけのつきとみるまでに"));
}

TEST_F(GameFlowTest, PoetModeNeverRevealsMoreThanTheName) {
  engine.settings().SetMode(QuestionMode::Poet);
  engine.settings().SetShowAfterKimariji(false);
  random = ScriptedRandom({18});  // poem 19, by いせ: a kimariji of three kana
  StartAndReachFirstQuestion();
  engine.Tick(10 * kTicksPerSecond);
  EXPECT_EQ(engine.animation().reveal(), 2);
  EXPECT_EQ(engine.lastFrame().prompt, SjisLiteral("いせ"));
}

TEST_F(GameFlowTest, EachModePromptsWithItsPhrase) {
  const auto promptIn = [&](QuestionMode mode) {
    engine.settings().SetMode(mode);
    engine.game.ResetGame();
    StartAndReachFirstQuestion();
    return std::string(engine.game.run().prompt);
  };
  EXPECT_EQ(promptIn(QuestionMode::Normal), SjisLiteral("あきのたのかりほのいおのとまをあらみ"));
  EXPECT_EQ(promptIn(QuestionMode::Reverse), SjisLiteral("わがころもではつゆにぬれつつ"));
  EXPECT_EQ(promptIn(QuestionMode::Poet), SjisLiteral("てんちてんのう"));
}

TEST_F(GameFlowTest, ClockSecondsDoNotMoveOverATenSecondPause) {
  StartAndReachFirstQuestion();
  engine.Tick(3 * kTicksPerSecond);
  const TimeSplit before = engine.lastFrame().clock;
  engine.commands.Pause();
  engine.Tick(10 * kTicksPerSecond);
  EXPECT_EQ(engine.lastFrame().clock.seconds, before.seconds);
  EXPECT_EQ(Seconds(GameClock::kGame), before.seconds);
  engine.commands.Pause();  // Ctrl+P again resumes
  engine.Tick(kTicksPerSecond);
  EXPECT_EQ(engine.lastFrame().clock.seconds, before.seconds + 1);
}

TEST_F(GameFlowTest, SoundsStayOffWhenThePlayerTurnedThemOff) {
  engine.settings().SetPlaySounds(false);
  StartAndReachFirstQuestion();
  PlayQuestion(true);
  EXPECT_EQ(engine.state(), PlayState::Finished);
  EXPECT_TRUE(engine.desktop.sound.played.empty());
  EXPECT_EQ(engine.desktop.sound.prepared, 0) << "nor is the sound device opened";
}

TEST_F(GameFlowTest, SourceWithoutPoemsDoesNotStart) {
  engine.UseSource(kFileSource, 0);
  ASSERT_EQ(engine.sources().GetGroupSize(kFileSource), 0);
  engine.commands.Start();
  ASSERT_EQ(engine.desktop.notices.shown.size(), 1u);
  EXPECT_EQ(engine.desktop.notices.shown[0].text,
            SjisLiteral("NOTICE(StartGame):\n選ばれている出題元に歌が1首もありません\n"
                        "環境設定で出題元を選び直してください"));
  EXPECT_EQ(engine.desktop.notices.shown[0].caption, "Notice");
  engine.Tick(100);
  EXPECT_EQ(engine.state(), PlayState::Idle);
  EXPECT_EQ(engine.phase(), Phase::kStart);
  EXPECT_TRUE(engine.desktop.window.Enabled(kCommandStart));

  const int poems[] = {4, 9};
  engine.sources().SetFileList(poems);
  engine.UseSource(kFileSource, 2);
  engine.commands.Start();
  EXPECT_EQ(engine.state(), PlayState::Running);
}

// The settings keep the player's own source and count throughout: a retry run is the game's.
TEST_F(GameFlowTest, RetryRunAsksTheWrongAnswersAndThenTheSourceAgain) {
  engine.UseSource(kAllPoemsSource, 4);
  StartAndReachFirstQuestion();
  std::vector<int> wrong;
  for (bool correct : {false, true, false, true}) {
    const int poem = PlayQuestion(correct);
    if (!correct) wrong.push_back(poem);
  }
  ASSERT_EQ(engine.state(), PlayState::Finished);
  EXPECT_TRUE(BuildResultsView(engine.game.Figures()).retryEnabled);
  engine.CloseResults(true);
  EXPECT_EQ(engine.state(), PlayState::Running);
  EXPECT_TRUE(engine.game.run().retry);
  EXPECT_EQ(engine.game.run().questionCount, 2);
  EXPECT_EQ(engine.game.run().pool, wrong) << "the wrong answers in the order they were missed";
  EXPECT_EQ(engine.settings().source(), kAllPoemsSource);
  EXPECT_EQ(engine.settings().questionCount(), 4);

  engine.TickUntilPhase(Phase::kAnswering);
  std::vector<int> asked;
  while (engine.state() == PlayState::Running) asked.push_back(PlayQuestion(true));
  std::sort(asked.begin(), asked.end());
  std::sort(wrong.begin(), wrong.end());
  EXPECT_EQ(asked, wrong);
  EXPECT_EQ(BuildResultsView(engine.game.Figures()).caption, SjisLiteral(" 全2問 解答完了"));
  EXPECT_EQ(engine.game.Figures().questionCount, 2);
  engine.CloseResults(false);
  EXPECT_FALSE(engine.game.run().retry);
  EXPECT_EQ(engine.game.run().questionCount, 4);
  EXPECT_EQ(engine.game.run().pool.size(), 100u);
}

// What the results, the record list and a result file show comes from the run that ended, and
// the results dialog is opened with it.
TEST_F(GameFlowTest, TheFiguresComeFromTheFinishedRun) {
  engine.UseSource(kAllPoemsSource, 2);
  engine.settings().SetMode(QuestionMode::Poet);
  engine.settings().SetAcceptOmission(true);
  StartAndReachFirstQuestion();
  const int missed = PlayQuestion(false);
  PlayQuestion(true);
  ASSERT_EQ(engine.state(), PlayState::Finished);
  const RunFigures figures = engine.game.Figures();
  EXPECT_EQ(figures.score, engine.tallies().score);
  EXPECT_EQ(figures.correct, 1);
  EXPECT_EQ(figures.answers, 2);
  EXPECT_EQ(figures.questionCount, 2);
  EXPECT_EQ(figures.clearSeconds, Seconds(GameClock::kGame));
  EXPECT_EQ(figures.modeLabel, SjisLiteral("詠人*"));
  EXPECT_EQ(figures.missedPoems, std::vector<int>{missed});
  EXPECT_EQ(engine.desktop.dialogs.lastRun.missedPoems, figures.missedPoems);
  EXPECT_EQ(engine.desktop.dialogs.lastRun.score, figures.score);
}

// Wrong answers of a retry run make the next retry run; the player's choice outlasts them all,
// also in the settings line saved meanwhile.
TEST_F(GameFlowTest, RetryOfARetryStillReturnsToThePlayersChoice) {
  engine.UseSource(9, 4);
  engine.settings().SetPlayerName("p");
  StartAndReachFirstQuestion();
  for (bool correct : {false, false, true, true}) PlayQuestion(correct);
  engine.CloseResults(true);
  engine.TickUntilPhase(Phase::kAnswering);
  const int missedAgain = PlayQuestion(false);
  PlayQuestion(true);
  ASSERT_EQ(engine.state(), PlayState::Finished);
  EXPECT_EQ(ComposeEnvironmentLine(engine.settings()), "0/9/4/28/1/0/1/p");
  engine.CloseResults(true);
  EXPECT_EQ(engine.game.run().pool, std::vector<int>{missedAgain});
  EXPECT_EQ(engine.game.run().questionCount, 1);
  engine.TickUntilPhase(Phase::kAnswering);
  PlayQuestion(true);
  engine.CloseResults(false);
  EXPECT_FALSE(engine.game.run().retry);
  EXPECT_EQ(engine.game.run().questionCount, 4);
  EXPECT_EQ(engine.game.run().pool, engine.sources().GetGroupPoems(9));
}

// The results dialog is modal: while it is open ticks keep coming, and closing it resets the
// game and may start the next run from inside the tick that opened it.
TEST_F(GameFlowTest, ResultsClosedInsideTheirModalLoopStartTheRetryRunCleanly) {
  engine.UseSource(kAllPoemsSource, 2);
  engine.desktop.dialogs.whileResultsOpen = [&] {
    engine.Tick(50);
    EXPECT_EQ(engine.state(), PlayState::Finished);
    engine.CloseResults(true);
  };
  StartAndReachFirstQuestion();
  PlayQuestion(false);
  engine.Answer(true);
  while (engine.desktop.dialogs.results == 0) engine.Tick();
  EXPECT_EQ(engine.state(), PlayState::Running);
  EXPECT_EQ(engine.phase(), Phase::kStart);
  EXPECT_TRUE(engine.game.run().retry);
  EXPECT_EQ(engine.TickUntilPhase(Phase::kAnswering), 33) << "a whole first wait and countdown";
  EXPECT_EQ(engine.tallies().asked, 0);
}

TEST_F(GameFlowTest, RedrawsOnlyWhenSomethingChanged) {
  FakeScreen& screen = engine.desktop.screen;
  const int idleDraws = screen.draws;
  engine.Tick(50);
  EXPECT_EQ(screen.draws, idleDraws) << "an idle game draws nothing";
  engine.settings().SetMode(QuestionMode::Reverse);
  engine.Tick(5);
  EXPECT_EQ(screen.draws, idleDraws + 1) << "the icons follow a new mode";

  StartAndReachFirstQuestion();
  int draws = screen.draws;
  engine.Tick(10);
  EXPECT_EQ(screen.draws, draws + 10) << "the time bar moves on every tick";
  engine.commands.Pause();
  draws = screen.draws;
  engine.Tick(10);
  EXPECT_EQ(screen.draws, draws + 1) << "only the frame that shows PAUSE";
}

TEST_F(GameFlowTest, FailedRedrawIsTriedAgainOnTheNextTick) {
  StartAndReachFirstQuestion();
  engine.commands.Pause();
  engine.desktop.screen.failing = true;
  EXPECT_FALSE(engine.game.Tick());
  engine.desktop.screen.failing = false;
  const int draws = engine.desktop.screen.draws;
  EXPECT_TRUE(engine.game.Tick());
  EXPECT_EQ(engine.desktop.screen.draws, draws + 1);
  EXPECT_EQ(engine.lastFrame().bannerText, "PAUSE");
}

}  // namespace
}  // namespace verselane
