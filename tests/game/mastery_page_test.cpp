// The mastery window's page: one memory in every part of it. Each poem stands in one stage, the
// legend's counts add up to the hundred and its learned count is the forecast's, a poem due today
// is one today's plan asks, the next days' plans are the ones the plan makes, and a poem's lines
// name the weak-poems run's score as that run's.
#include "game/mastery_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/shift_jis.h"
#include "game/answer_recorder.h"
#include "game/daily_plan.h"

namespace verselane {
namespace {

constexpr std::int64_t kNow = 1'800'000'000;

Day Today() { return *DayOf(LocalTimeText(kNow)); }

AnswerRecord Answer(int poem, int daysAgo, bool correct = true, int milliseconds = 6000) {
  AnswerRecord answer;
  answer.poem = poem;
  answer.correct = correct;
  answer.milliseconds = milliseconds;
  answer.answeredAt = kNow - daysAgo * 86'400;
  answer.localTime = DateText(Today() - daysAgo) + " 08:00:00";
  return answer;
}

HistoryOutlook Outlook(const std::vector<AnswerRecord>& answers, bool readable = true) {
  HistorySnapshot history;
  history.poems = SummarisePoems(answers);
  history.answers = answers;
  history.now = kNow;
  history.readable = readable;
  return OutlookOf(history);
}

// Histories of every kind: none; a poem missed today; poems learned long ago and now due, learned
// lately, met once some days ago (due), met today (right and wrong), and never.
std::vector<std::vector<AnswerRecord>> Histories() {
  std::vector<AnswerRecord> mixed;
  for (int poem = 0; poem < 60; ++poem) {
    const int last = poem < 20 ? 70 : poem < 40 ? 2 : 0;
    for (const int daysAgo : {last + 17, last + 14, last}) mixed.push_back(Answer(poem, daysAgo));
  }
  for (int poem = 60; poem < 70; ++poem) mixed.push_back(Answer(poem, 5));
  for (int poem = 70; poem < 80; ++poem) mixed.push_back(Answer(poem, 0, poem % 2 == 0));
  std::vector<AnswerRecord> all;
  for (int poem = 0; poem < 100; ++poem) all.push_back(Answer(poem, 3 + poem % 4, poem % 7 != 0));
  return {{}, {Answer(12, 0, false)}, mixed, all};
}

class MasteryPageTest : public ::testing::Test {
 protected:
  const PoemCatalogue catalogue;
};

TEST_F(MasteryPageTest, EveryPoemStandsInOneStageAndTheCountsAddUp) {
  for (const PlanSettings plan : {PlanSettings{5, 0.90}, PlanSettings{0, 0.80}}) {
    for (const std::vector<AnswerRecord>& answers : Histories()) {
      const HistoryOutlook outlook = Outlook(answers);
      const MasteryPage page = ComposeMasteryPage(outlook, catalogue, plan);
      ASSERT_EQ(page.stages.size(), 100u);
      ASSERT_EQ(page.legend.size(), static_cast<std::size_t>(kMemoryStages));
      int total = 0;
      for (const StageCount& each : page.legend) {
        total += each.poems;
        EXPECT_EQ(each.poems, std::count(page.stages.begin(), page.stages.end(), each.stage));
        EXPECT_EQ(each.label, StageLabel(each.stage) +
                                  SjisLiteral("  " + std::to_string(each.poems) + "首"));
      }
      EXPECT_EQ(total, 100);
      const MasteryForecast forecast = ForecastMastery(outlook, catalogue, plan);
      EXPECT_EQ(page.legend[3].stage, MemoryStage::kLearned);
      EXPECT_EQ(page.legend[3].poems, forecast.learned) << "the header's count";
      EXPECT_EQ(page.forecast, ForecastLines(forecast, plan));

      // Due today is what today's plan asks of the poems not yet learned; the first of the
      // next days is today's plan as it stands.
      const std::vector<PlanItem> today = PlanDay(outlook.memory, catalogue, outlook.today, plan);
      for (int poem = 0; poem < 100; ++poem) {
        const bool asked = std::any_of(today.begin(), today.end(), [poem](const PlanItem& item) {
          return item.poem == poem && item.kind == PlanKind::kDue;
        });
        EXPECT_EQ(page.stages[poem] == MemoryStage::kDueToday,
                  asked && page.stages[poem] != MemoryStage::kLearned)
            << poem;
        EXPECT_EQ(page.stages[poem] == MemoryStage::kNeverAsked, !outlook.memory[poem]) << poem;
      }
      ASSERT_EQ(page.upcoming.size(), static_cast<std::size_t>(kUpcomingDays));
      ASSERT_EQ(page.upcomingDays.size(), page.upcoming.size());
      EXPECT_EQ(page.upcoming[0].day, outlook.today);
      EXPECT_EQ(page.upcoming[0].due + page.upcoming[0].fresh, static_cast<int>(today.size()));
      EXPECT_EQ(page.upcoming[13].day, outlook.today + 13);
    }
  }
}

// A fresh learner at five new poems a day: five new each day, and from the fourth day the five
// met three days before come back due (a first Good holds 2.3065 days).
TEST_F(MasteryPageTest, TheNextFourteenDaysArePlayedAsTheForecastAssumes) {
  const MasteryPage page = ComposeMasteryPage(Outlook({}), catalogue, {5, 0.90});
  ASSERT_EQ(page.upcoming.size(), 14u);
  for (int day = 0; day < 3; ++day) {
    EXPECT_EQ(page.upcoming[day].due, 0) << day;
    EXPECT_EQ(page.upcoming[day].fresh, 5) << day;
  }
  EXPECT_EQ(page.upcoming[3].due, 5);
  EXPECT_EQ(page.upcoming[3].fresh, 5);
  EXPECT_EQ(SjisToUtf8(page.upcomingDays[0]).text, "今日");
  // An unreadable history tells no plans at all, and leaves every poem unknown.
  const MasteryPage unreadable = ComposeMasteryPage(Outlook({}, false), catalogue, {5, 0.90});
  EXPECT_TRUE(unreadable.upcoming.empty());
  EXPECT_EQ(unreadable.legend[0].poems, 100);
}

// Right after a miss, nothing on the page says the poem is remembered: it is learning, its
// lines tell the miss and its return tomorrow, and the weakness beside them is named as the
// weak-poems run's.
TEST_F(MasteryPageTest, APoemMissedTodayIsToldAsMissed) {
  const HistoryOutlook outlook = Outlook({Answer(7, 9), Answer(7, 0, false, 15000)});
  const MasteryPage page = ComposeMasteryPage(outlook, catalogue, {5, 0.90});
  EXPECT_EQ(page.stages[7], MemoryStage::kLearning);
  std::vector<std::string> lines;
  for (const std::string& line : PoemLines(page, outlook, catalogue, 7, {5, 0.90})) {
    lines.push_back(SjisToUtf8(line).text);
  }
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "第8首　練習中");
  EXPECT_EQ(lines[6], "今日の解答 誤答");
  EXPECT_EQ(lines[7], "次の復習 " + DateText(Today() + 1));
  EXPECT_EQ(lines[8].rfind("苦手度 ", 0), 0u);
  EXPECT_EQ(lines[9], "（苦手な歌の練習の順：誤答・遅さ・間隔）");
  for (const std::string& line : lines) EXPECT_EQ(line.find("確率"), std::string::npos) << line;
}

}  // namespace
}  // namespace verselane
