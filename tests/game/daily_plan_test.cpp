// Today's plan: which poems it asks, in which order, and when each falls due again.
#include "game/daily_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/decimal.h"

namespace verselane {
namespace {

const Day kStart = *DayOf("2027-01-10");

// むらさめの (87), すみのえの (18), めぐりあひて (57), ふくからに (22), さびしさに (70),
// ほととぎす (81), せをはやみ (77): decided by their first kana, by poem index.
const std::vector<int> kOneKanaPoems = {17, 21, 56, 69, 76, 80, 86};

AnswerRecord Answer(int poem, int day, bool correct, int milliseconds = 8000) {
  AnswerRecord answer;
  answer.poem = poem;
  answer.correct = correct;
  answer.milliseconds = milliseconds;
  answer.localTime = DateText(kStart + day) + " 20:00:00";
  return answer;
}

class DailyPlanTest : public ::testing::Test {
 protected:
  std::vector<PlanItem> Plan(const std::vector<AnswerRecord>& answers, int day, int newPerDay = 0,
                             double retention = 0.90) {
    return PlanDay(ReplayAnswers(answers), catalogue_, kStart + day, {newPerDay, retention});
  }
  static std::vector<int> Poems(const std::vector<PlanItem>& plan) {
    std::vector<int> poems;
    for (const PlanItem& item : plan) poems.push_back(item.poem);
    return poems;
  }
  static bool Asks(const std::vector<PlanItem>& plan, int poem) {
    return std::any_of(plan.begin(), plan.end(),
                       [poem](const PlanItem& i) { return i.poem == poem; });
  }

  PoemCatalogue catalogue_;
};

TEST_F(DailyPlanTest, NewPoemsComeShortestKimarijiFirstThenByNumber) {
  const std::vector<PlanItem> seven = Plan({}, 0, 7);
  EXPECT_EQ(Poems(seven), kOneKanaPoems);
  for (const PlanItem& item : seven) {
    EXPECT_EQ(item.kind, PlanKind::kNew);
    EXPECT_FALSE(item.recall);
    // A first Good holds for w2 = 2.3065 days: due on the third day.
    EXPECT_EQ(item.nextReview, kStart + 3);
  }
  const std::vector<PlanItem> twenty = Plan({}, 0, 20);
  ASSERT_EQ(twenty.size(), 20u);
  EXPECT_TRUE(std::equal(kOneKanaPoems.begin(), kOneKanaPoems.end(), twenty.begin(),
                         [](int poem, const PlanItem& item) { return item.poem == poem; }));
  int previousBytes = 2;
  for (std::size_t i = kOneKanaPoems.size(); i < twenty.size(); ++i) {
    const int bytes = ParseDecimal(catalogue_.FieldView(twenty[i].poem, kUpperKimarijiBytes));
    EXPECT_GE(bytes, std::max(previousBytes, 4)) << "poem index " << twenty[i].poem;
    if (bytes == previousBytes) {
      EXPECT_GT(twenty[i].poem, twenty[i - 1].poem);
    }
    previousBytes = bytes;
  }
}

TEST_F(DailyPlanTest, PoemsFirstAnsweredTodayUseTheDaysAllowance) {
  // すみのえの was met yesterday, むらさめの and めぐりあひて today.
  const std::vector<AnswerRecord> answers = {Answer(17, -1, true), Answer(86, 0, false),
                                             Answer(56, 0, true), Answer(56, 0, true)};
  EXPECT_EQ(Poems(Plan(answers, 0, 5)), (std::vector<int>{21, 69, 76}));
  EXPECT_TRUE(Plan(answers, 0, 2).empty());
  // Tomorrow the whole allowance is back, after the poem missed today, which is due.
  EXPECT_EQ(Poems(Plan(answers, 1, 2)), (std::vector<int>{86, 21, 69}));
  // Settings out of range are held at the ends: 20 new poems at most, none below 0.
  EXPECT_EQ(Plan({}, 0, 50).size(), 20u);
  EXPECT_TRUE(Plan({}, 0, -3).empty());
}

TEST_F(DailyPlanTest, DuePoemsComeFirstLowestRecallFirst) {
  const std::vector<AnswerRecord> answers = {
      Answer(50, 0, true),                         // R(3, 2.3065) = 0.880948 on day 3
      Answer(40, 2, false),                        // R(1, 0.212) = 0.766196 on day 3
      Answer(30, 0, true),  Answer(30, 3, true),   // reviewed today: not due
      Answer(60, 0, false), Answer(60, 2, false),  // missed twice, the same as 40 but lower
  };
  const std::vector<PlanItem> plan = Plan(answers, 3, 1);
  ASSERT_EQ(Poems(plan), (std::vector<int>{60, 40, 50, 17}));
  EXPECT_EQ(plan[1].kind, PlanKind::kDue);
  EXPECT_NEAR(*plan[1].recall, 0.766196, 1e-6);
  EXPECT_NEAR(*plan[2].recall, 0.880948, 1e-6);
  // After a right answer today: 40 would hold 1.886788 days (due in 2), 50 13.826904 (due in 14).
  EXPECT_EQ(plan[1].nextReview, kStart + 5);
  EXPECT_EQ(plan[2].nextReview, kStart + 17);
  EXPECT_LT(*plan[0].recall, *plan[1].recall);
}

TEST_F(DailyPlanTest, RightWrongAndQuickAnswersFallDueWhenTheirIntervalSays) {
  // A right answer holds 2.3065 days: not due on day 2 (R = 0.909493), due on day 3.
  EXPECT_FALSE(Asks(Plan({Answer(0, 0, true)}, 2), 0));
  EXPECT_TRUE(Asks(Plan({Answer(0, 0, true)}, 3), 0));
  // A wrong one 0.212 days: due the next day.
  EXPECT_TRUE(Asks(Plan({Answer(0, 0, false)}, 1), 0));
  // A quick one (under 3/4 of the median 8 s of ten right answers) is Easy: w3 = 8.2956 days.
  std::vector<AnswerRecord> quick;
  for (int poem = 1; poem <= 10; ++poem) quick.push_back(Answer(poem, -30, true, 8000));
  quick.push_back(Answer(0, 0, true, 3000));
  EXPECT_FALSE(Asks(Plan(quick, 8), 0));
  EXPECT_TRUE(Asks(Plan(quick, 9), 0));
  // A lower target waits longer: at 0.80 a right answer is due on day 8 (7.648 days), not 7.
  EXPECT_FALSE(Asks(Plan({Answer(0, 0, true)}, 7, 0, 0.80), 0));
  EXPECT_TRUE(Asks(Plan({Answer(0, 0, true)}, 8, 0, 0.80), 0));
  // A target below the allowed 0.80 is held there: due on day 8 all the same.
  EXPECT_TRUE(Asks(Plan({Answer(0, 0, true)}, 8, 0, 0.50), 0));
}

// The plan's status says whether a poem was answered today and names the first later day whose
// plan is not empty: the day PlanDay itself finds, over histories and settings of every kind.
TEST_F(DailyPlanTest, TheStatusNamesTheFirstDayWhosePlanIsNotEmpty) {
  std::vector<AnswerRecord> spread;
  for (int poem = 0; poem < 100; ++poem) {
    spread.push_back(Answer(poem, -40 + poem % 37, poem % 5 != 0));
    if (poem % 3 == 0) spread.push_back(Answer(poem, -20 + poem % 11, true, 3000));
  }
  std::vector<AnswerRecord> all;
  for (int poem = 0; poem < 100; ++poem) all.push_back(Answer(poem, 0, poem != 4));
  const struct {
    std::vector<AnswerRecord> answers;
    PlanSettings settings;
    bool answeredToday;
  } cases[] = {
      {{}, {5, 0.90}, false},
      {{}, {0, 0.90}, false},
      {{Answer(3, 0, false)}, {0, 0.90}, true},
      {{Answer(3, -2, true)}, {0, 0.85}, false},
      {{Answer(17, 0, true), Answer(21, 0, true)}, {2, 0.90}, true},
      {spread, {0, 0.95}, false},
      {spread, {3, 0.80}, false},
      {all, {0, 0.90}, true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::vector<std::optional<MemoryState>> memory = ReplayAnswers(cases[i].answers);
    const std::vector<PlanItem> plan = PlanDay(memory, catalogue_, kStart, cases[i].settings);
    const PlanStatus status = StatusOfPlan(plan, memory, kStart, cases[i].settings);
    EXPECT_EQ(status.today, kStart) << i;
    EXPECT_EQ(status.poems, static_cast<int>(plan.size())) << i;
    EXPECT_EQ(status.answeredToday, cases[i].answeredToday) << i;
    std::optional<Day> first;
    for (Day day = kStart + 1; day <= kStart + 400 && !first; ++day) {
      if (!PlanDay(memory, catalogue_, day, cases[i].settings).empty()) first = day;
    }
    EXPECT_EQ(status.nextDay, first) << i;
  }
}

// A clock set a month ahead for one session, then put right: five poems answered right on the
// wrong date, then one of them missed today. The wrong date neither takes today's new poems, nor
// hides the miss, nor keeps the other four out of the plan until that date.
TEST_F(DailyPlanTest, AnswersDatedInTheFutureNeitherStopNewPoemsNorHideAMiss) {
  std::vector<AnswerRecord> answers;
  for (int poem : {0, 1, 2, 3, 4}) answers.push_back(Answer(poem, 30, true));
  answers.push_back(Answer(0, 0, false));
  const std::vector<PlanItem> today = Plan(answers, 0, 5);
  EXPECT_EQ(std::count_if(today.begin(), today.end(),
                          [](const PlanItem& item) { return item.kind == PlanKind::kNew; }),
            5)
      << "answers dated after today are not first answered today";
  EXPECT_FALSE(Asks(today, 0)) << "missed today: answered today";
  for (int poem : {1, 2, 3, 4}) EXPECT_TRUE(Asks(today, poem)) << "dated ahead: due today";
  // The miss moved the memory: a first Again's stability, from today.
  const std::optional<MemoryState> missed = ReplayAnswers(answers)[0];
  ASSERT_TRUE(missed);
  EXPECT_EQ(missed->lastReview, kStart);
  EXPECT_LT(missed->stability, 2.3065);
  EXPECT_TRUE(Asks(Plan(answers, 1), 0)) << "the missed poem is due the next day";
}

}  // namespace
}  // namespace verselane
