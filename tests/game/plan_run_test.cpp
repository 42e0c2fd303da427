// Today's plan as a run: its menu item, the run that asks it in order and moves the schedule, its
// settings, and a history that cannot give a plan.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/poem_groups.h"
#include "engine_harness.h"
#include "fakes/temp_folder.h"
#include "game/answer_recorder.h"

namespace verselane {
namespace {

constexpr std::int64_t kNow = 1'800'000'000;

class PlanRunTest : public ::testing::Test {
 protected:
  PlanRunTest() {
    history.now = kNow;
    history.localTime = "2027-01-15 09:00:00";
    engine.emplace(random, history);
    engine->UseSource(kAllPoemsSource, 2);
  }

  FakeMainWindow& window() { return engine->desktop.window; }
  bool PlanEnabled() { return window().Enabled(kCommandPlan); }
  std::string PlanLabel() { return window().menuLabel.at(kCommandPlan); }
  std::vector<int> PlanPoems() {
    std::vector<int> poems;
    for (const PlanItem& item : engine->game.plan().value()) poems.push_back(item.poem);
    return poems;
  }
  // Plays the run to its end, every answer right; the poems in the order asked.
  std::vector<int> PlayRun() {
    std::vector<int> asked;
    EXPECT_GT(engine->TickUntilPhase(Phase::kAnswering), 0);
    while (engine->state() == PlayState::Running) {
      asked.push_back(engine->game.run().question.poem);
      engine->Answer(true);
      engine->TickUntilPhase(Phase::kReview);
      engine->TickUntilPhase(Phase::kAnswering);
    }
    return asked;
  }

  SeededRandom random{11};
  FakeHistory history;
  std::optional<EngineHarness> engine;
};

// The run asks the plan's poems in the plan's order, leaves the player's source and count as
// they were, and its answers are recorded like any run's, so the plan moves with them: the new
// poems of the day used up, and due again some days later.
TEST_F(PlanRunTest, AsksThePlanInOrderAndItsAnswersMoveTheSchedule) {
  engine->preferences.plan = {3, 0.90};
  engine->game.ResetGame();
  EXPECT_TRUE(PlanEnabled());
  EXPECT_EQ(PlanLabel(), SjisLiteral("今日の練習 (3首)(&D)"));
  const std::vector<int> plan = PlanPoems();

  engine->commands.Dispatch(kCommandPlan);
  ASSERT_EQ(engine->state(), PlayState::Running);
  EXPECT_FALSE(PlanEnabled()) << "greyed while a run goes";
  EXPECT_FALSE(window().Enabled(kCommandPlanSettings));
  EXPECT_EQ(engine->game.run().questionCount, 3);
  EXPECT_EQ(PlayRun(), plan);
  EXPECT_EQ(engine->settings().source(), kAllPoemsSource);
  EXPECT_EQ(engine->settings().questionCount(), 2);
  ASSERT_EQ(history.answers.size(), 3u);
  for (std::size_t i = 0; i < plan.size(); ++i) EXPECT_EQ(history.answers[i].poem, plan[i]);
  EXPECT_EQ(history.runs.size(), 1u);

  engine->CloseResults(false);
  EXPECT_EQ(PlanLabel(), SjisLiteral("今日の練習 (済・次は明日)(&D)"))
      << "today's new poems are used; tomorrow brings more";
  EXPECT_FALSE(PlanEnabled());
  engine->commands.Dispatch(kCommandPlan);
  EXPECT_EQ(engine->state(), PlayState::Idle);
  engine->commands.Start();
  EXPECT_EQ(engine->game.run().pool.size(), 100u) << "the source again";

  // A week on, the three are due again, lowest chance of recall first, before new ones.
  history.localTime = "2027-01-22 09:00:00";
  engine->game.ResetGame();
  ASSERT_EQ(engine->game.plan()->size(), 6u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ((*engine->game.plan())[i].kind, PlanKind::kDue) << i;
  }
  EXPECT_EQ(PlanLabel(), SjisLiteral("今日の練習 (6首)(&D)"));
}

// A poem never met is shown whole before it is asked, with other questions between, and showing
// it records nothing; a miss is asked again before the run ends, and the results count every
// question asked.
TEST_F(PlanRunTest, NewPoemsAreMetBeforeTheyAreAskedAndAMissComesBack) {
  engine->preferences.plan = {3, 0.90};
  engine->game.ResetGame();
  const std::vector<int> plan = PlanPoems();
  ASSERT_EQ(plan.size(), 3u);
  const auto step = [](char action, int poem) { return action + std::to_string(poem); };
  FakeDialogs& dialogs = engine->desktop.dialogs;
  dialogs.holdMeeting = true;
  engine->commands.Dispatch(kCommandPlan);

  std::vector<std::string> steps;
  while (engine->state() == PlayState::Running) {
    engine->Tick();
    if (engine->phase() == Phase::kMeeting && dialogs.closeMeeting) {
      const int poem = engine->game.run().meetingPoem;
      steps.push_back(step('S', poem));
      EXPECT_TRUE(dialogs.met.back().meeting);
      EXPECT_EQ(dialogs.met.back().caption, SjisLiteral(" 第" + std::to_string(poem + 1) + "首"));
      engine->Tick(40);
      EXPECT_EQ(engine->phase(), Phase::kMeeting) << "the card waits for the player";
      EXPECT_FALSE(engine->game.clockRunning(GameClock::kGame));
      std::exchange(dialogs.closeMeeting, nullptr)();
    } else if (engine->phase() == Phase::kAnswering) {
      const int poem = engine->game.run().question.poem;
      const bool right = poem != plan[0] || history.answers.size() > 1;
      steps.push_back(step(right ? 'A' : 'X', poem));
      engine->Answer(right);
      engine->TickUntilPhase(Phase::kReview);
      engine->PressEnter();
      engine->TickUntilPhase(Phase::kNext);
    }
  }
  const std::vector<std::string> expected = {step('S', plan[0]), step('S', plan[1]),
                                             step('X', plan[0]), step('S', plan[2]),
                                             step('A', plan[1]), step('A', plan[2]),
                                             step('A', plan[0])};
  EXPECT_EQ(steps, expected);
  ASSERT_EQ(history.answers.size(), 4u) << "three poems and the miss asked again; no card";
  EXPECT_FALSE(history.answers[0].correct);
  EXPECT_EQ(history.answers[3].poem, plan[0]);
  EXPECT_TRUE(history.answers[3].correct);
  EXPECT_EQ(dialogs.lastRun.questionCount, 4);
  EXPECT_EQ(dialogs.lastRun.answers, 4);
  EXPECT_EQ(dialogs.lastRun.correct, 3);
}

// OK in the settings window keeps the settings at once and the menu follows them; Cancel changes
// nothing.
TEST_F(PlanRunTest, TheSettingsWindowKeepsItsChoiceAtOnce) {
  EXPECT_EQ(PlanLabel(), SjisLiteral("今日の練習 (5首)(&D)"));
  engine->commands.Dispatch(kCommandPlanSettings);
  EXPECT_EQ(engine->desktop.dialogs.planSettings, 1);
  EXPECT_TRUE(engine->desktop.preferences.saved.empty()) << "cancelled";

  engine->desktop.dialogs.planSettingsChosen = PlanSettings{12, 0.85};
  engine->commands.Dispatch(kCommandPlanSettings);
  EXPECT_EQ(engine->preferences.plan.newPerDay, 12);
  ASSERT_EQ(engine->desktop.preferences.saved.size(), 1u);
  EXPECT_EQ(engine->desktop.preferences.saved[0].plan.newPerDay, 12);
  EXPECT_DOUBLE_EQ(engine->desktop.preferences.saved[0].plan.retention, 0.85);
  EXPECT_EQ(PlanLabel(), SjisLiteral("今日の練習 (12首)(&D)"));

  engine->desktop.dialogs.planSettingsChosen = PlanSettings{0, 0.90};
  engine->commands.Dispatch(kCommandPlanSettings);
  EXPECT_FALSE(PlanEnabled()) << "nothing due and no new poem";
  EXPECT_EQ(PlanLabel(), SjisLiteral("今日の練習 (予定なし)(&D)")) << "and none ever comes";
}

// An empty plan's item says whether today's is done or nothing was due, and when the next poems
// fall due: tomorrow by name, a later day by its month and day, with the year when it is another.
TEST(PlanMenuLabelTest, AnEmptyPlanSaysWhyAndUntilWhen) {
  const Day today = *DayOf("2027-12-10");
  const struct {
    std::optional<PlanStatus> status;
    const char* label;
  } cases[] = {
      {std::nullopt, "今日の練習(&D)"},
      {PlanStatus{today, 7, true, today + 1}, "今日の練習 (7首)(&D)"},
      {PlanStatus{today, 0, true, today + 1}, "今日の練習 (済・次は明日)(&D)"},
      {PlanStatus{today, 0, true, today + 4}, "今日の練習 (済・次は12/14)(&D)"},
      {PlanStatus{today, 0, false, today + 2}, "今日の練習 (予定なし・次は12/12)(&D)"},
      {PlanStatus{today, 0, false, today + 26}, "今日の練習 (予定なし・次は2028/1/5)(&D)"},
      {PlanStatus{today, 0, true, std::nullopt}, "今日の練習 (済)(&D)"},
      {PlanStatus{today, 0, false, std::nullopt}, "今日の練習 (予定なし)(&D)"},
  };
  for (const auto& each : cases) EXPECT_EQ(PlanMenuLabel(each.status), SjisLiteral(each.label));
}

// A history that can no longer be written gives no plan, as the answers since are missing from
// it: one notice, the item greyed and without a count, and the game goes on. (The plan comes from
// the history kept in memory, never read again from the file: another program that locks the file
// is found out by the writes.)
TEST(PlanHistoryTest, AHistoryThatCannotBeWrittenGreysThePlanWithOneNotice) {
  TempFolder folder;
  const std::string path = folder.File(kHistoryFileName);
  FakeNotices notices;
  AnswerRecorder recorder(path, notices, [] { return kNow; });
  ASSERT_TRUE(recorder.Open());
  SeededRandom random{3};
  EngineHarness engine(random, recorder);
  engine.UseSource(kAllPoemsSource, 1);
  EXPECT_TRUE(engine.desktop.window.Enabled(kCommandPlan));

  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_GT(engine.StartAndReachFirstQuestion(), 0);
  engine.Answer(true);
  engine.TickUntilPhase(Phase::kReview);
  while (engine.state() == PlayState::Running) engine.Tick();
  recorder.Flush();
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);

  engine.CloseResults(false);
  ASSERT_EQ(notices.shown.size(), 1u);
  EXPECT_EQ(notices.shown[0].text,
            SjisLiteral("NOTICE(RecordAnswer):\n解答履歴ファイル(history.sqlite3)を他のプログラムが"
                        "使用しています\nこれ以降の解答は記録されません"));
  EXPECT_FALSE(engine.desktop.window.Enabled(kCommandPlan));
  EXPECT_EQ(engine.desktop.window.menuLabel.at(kCommandPlan), SjisLiteral("今日の練習(&D)"));
  ASSERT_GT(engine.StartAndReachFirstQuestion(), 0) << "the game goes on";
  EXPECT_EQ(notices.shown.size(), 1u) << "one notice only";
}

// Coming back to Idle draws up the plan from the history kept in memory: no answer is read from
// the file, which by then may hold anything.
TEST(PlanHistoryTest, TheReturnToIdleReadsNoAnswerFromTheFile) {
  TempFolder folder;
  const std::string path = folder.File(kHistoryFileName);
  {
    AnswerHistory file;
    ASSERT_TRUE(file.Open(path, AnswerHistory::Access::kReadWrite).ok());
    const std::int64_t yesterday = kNow - 86'400;
    for (int poem : {40, 41, 42}) {
      file.Record({poem, QuestionMode::Normal, false, 9000, 0, yesterday, LocalTimeText(yesterday)});
    }
  }
  FakeNotices notices;
  AnswerRecorder recorder(path, notices, [] { return kNow; });
  ASSERT_TRUE(recorder.Open());
  std::ofstream(path, std::ios::trunc) << "no longer a database";
  SeededRandom random{3};
  EngineHarness engine(random, recorder);
  for (int back = 0; back < 2; ++back) {
    engine.game.ResetGame();
    ASSERT_TRUE(engine.game.plan());
    std::vector<int> due;
    for (const PlanItem& item : *engine.game.plan()) {
      if (item.kind == PlanKind::kDue) due.push_back(item.poem);
    }
    EXPECT_EQ(due, (std::vector<int>{40, 41, 42})) << "missed yesterday";
  }
  EXPECT_TRUE(notices.shown.empty());
}

}  // namespace
}  // namespace verselane
