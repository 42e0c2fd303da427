// What the mastery window and the poem card show of the player's history: the card's content,
// the figures of a poem by the memory model, and the forecast of when all hundred are learned.
#include "game/history_outlook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/shift_jis.h"
#include "game/answer_recorder.h"
#include "game/poem_card.h"

namespace verselane {
namespace {

constexpr std::int64_t kNow = 1'800'000'000;

// The local day the history is read on, and answers relative to it.
Day Today() { return *DayOf(LocalTimeText(kNow)); }

AnswerRecord Answer(int poem, int daysAgo, int milliseconds = 6000, bool correct = true) {
  AnswerRecord answer;
  answer.poem = poem;
  answer.correct = correct;
  answer.milliseconds = milliseconds;
  answer.answeredAt = kNow - daysAgo * 86'400;
  answer.localTime = DateText(Today() - daysAgo) + " 08:00:00";
  return answer;
}

HistoryOutlook Outlook(const std::vector<AnswerRecord>& answers) {
  HistorySnapshot history;
  history.poems = SummarisePoems(answers);
  history.answers = answers;
  history.now = kNow;
  return OutlookOf(history);
}

// Each of `poems` reviewed Good three times, 17 and 14 days before the last one `daysAgo`:
// stability 2.3065, then 13.83 (reviewed at R = 0.881), then 56.96 (at R = 0.899) days, past the
// 21 of a learned poem.
void AddLearned(std::vector<AnswerRecord>& answers, int from, int to, int daysAgo = 0) {
  for (int poem = from; poem < to; ++poem) {
    for (const int day : {daysAgo + 17, daysAgo + 14, daysAgo}) {
      answers.push_back(Answer(poem, day));
    }
  }
}

std::string Utf8(const std::string& sjis) { return SjisToUtf8(sjis).text; }

std::vector<std::string> Utf8(const std::vector<std::string>& sjis) {
  std::vector<std::string> lines;
  for (const std::string& line : sjis) lines.push_back(Utf8(line));
  return lines;
}

class HistoryOutlookTest : public ::testing::Test {
 protected:
  MasteryForecast Forecast(const std::vector<AnswerRecord>& answers, int newPerDay) {
    return ForecastMastery(Outlook(answers), catalogue, {newPerDay, 0.90});
  }
  const PoemCatalogue catalogue;
};

TEST_F(HistoryOutlookTest, TheCardShowsThePoemWholeWithItsKimarijiMarked) {
  const PoemCard card = MakePoemCard(catalogue, 0, Outlook({}), {});
  EXPECT_EQ(Utf8(card.caption), " 第1首");
  EXPECT_EQ(card.poem, catalogue.FieldView(0, kFullText));
  EXPECT_EQ(Utf8(card.upper.kimariji), "あきの");
  EXPECT_EQ(Utf8(card.upper.rest), "たのかりほのいおのとまをあらみ");
  EXPECT_EQ(Utf8(card.lower.kimariji), "わがころもでは");
  EXPECT_EQ(Utf8(card.lower.rest), "つゆにぬれつつ");
  EXPECT_EQ(Utf8(card.poet), "天智天皇");
  EXPECT_EQ(Utf8(card.poetReading), "てんちてんのう");
  EXPECT_EQ(Utf8(card.figures), std::vector<std::string>{"まだ出題されていません"});
  // むらさめの (87) is decided by its first kana alone.
  EXPECT_EQ(Utf8(PoemListEntry(catalogue, 86)), "87 む");
}

TEST_F(HistoryOutlookTest, TheFiguresTellTheRecallTodayAndTheNextReview) {
  // Poem 1 right today; poem 2 right three days ago, poem 3 five days ago, each once: a first
  // Good holds 2.3065 days, R(3) = (1 + 0.9805 × 3 / 2.3065)^−0.1542 = 0.881, and the poem falls
  // due on the third day, the first on which R is at most 0.90.
  const HistoryOutlook outlook =
      Outlook({Answer(0, 0, 4000), Answer(0, 0, 9000, false), Answer(1, 3), Answer(2, 5)});
  // Answered today, the card tells the day's last verdict, not a recall of 100 % made by the
  // answer itself.
  const PoemCard today = MakePoemCard(catalogue, 0, outlook, {});
  EXPECT_EQ(Utf8(today.figures),
            (std::vector<std::string>{"解答 2回　正解 1回", "正解の中央値 4.0秒",
                                      "最後の解答 " + DateText(Today()), "今日の解答 誤答",
                                      "次の復習 " + DateText(Today() + 3)}))
      << "only the first answer of a day moves the schedule";
  // Missed at its first meeting: back tomorrow (a first Again holds 0.212 days).
  const std::vector<std::string> missed =
      Utf8(FigureLines(Outlook({Answer(1, 6), Answer(5, 0, 9000, false)}), 5, {}));
  ASSERT_EQ(missed.size(), 5u);
  EXPECT_EQ(missed[3], "今日の解答 誤答");
  EXPECT_EQ(missed[4], "次の復習 " + DateText(Today() + 1));
  EXPECT_EQ(Utf8(FigureLines(Outlook({Answer(5, 4, 9000, false), Answer(5, 0)}), 5, {}))[3],
            "今日の解答 正解");
  const std::vector<std::string> due = Utf8(FigureLines(outlook, 1, {}));
  ASSERT_EQ(due.size(), 5u);
  EXPECT_EQ(due[3], "今日思い出せる確率 88%");
  EXPECT_EQ(due[4], "次の復習 今日");
  EXPECT_EQ(Utf8(FigureLines(outlook, 2, {}))[4], "次の復習 今日（期日 " + DateText(Today() - 2) + "）");
  // At a target of 0.85 the same poem holds until R(4) = 0.86 has fallen to R(5) = 0.84.
  EXPECT_EQ(Utf8(FigureLines(outlook, 1, {5, 0.85}))[4], "次の復習 " + DateText(Today() + 2));
  // A time no program of ours wrote (a damaged file) is shown as it is, and tells no recall.
  AnswerRecord damaged = Answer(3, 0);
  damaged.localTime = "\x81\x40\xff garbage";
  const std::vector<std::string> lines = FigureLines(Outlook({damaged}), 3, {});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], SjisLiteral("最後の解答 ") + damaged.localTime.substr(0, 10));
}

TEST_F(HistoryOutlookTest, AHistoryThatCannotBeReadLeavesThePoemWithoutFigures) {
  HistorySnapshot unreadable;
  unreadable.now = kNow;
  unreadable.readable = false;
  const HistoryOutlook outlook = OutlookOf(unreadable);
  const PoemCard card = MakePoemCard(catalogue, 4, outlook, {});
  EXPECT_EQ(card.poem, catalogue.FieldView(4, kFullText));
  EXPECT_EQ(Utf8(card.figures), std::vector<std::string>{"成績を読み込めませんでした"});
  EXPECT_EQ(Utf8(ForecastLines(ForecastMastery(outlook, catalogue, {}), {})),
            std::vector<std::string>{"成績を読み込めないため、見込みは出せません"});
}

// A poem introduced on day d is reviewed on d + 3 (stability 13.83) and d + 17 (56.96): learned
// seventeen days after it was first asked. The last of the hundred is introduced on the day the
// pace of new poems reaches it.
TEST_F(HistoryOutlookTest, TheForecastCountsLearnedPoemsAndDatesTheLastAtTodaysPace) {
  const MasteryForecast fresh = Forecast({}, 5);
  EXPECT_EQ(fresh.learned, 0);
  EXPECT_EQ(fresh.poems, 100);
  EXPECT_EQ(fresh.allLearned, Today() + 19 + 17);  // twenty days of five new poems
  EXPECT_EQ(Forecast({}, 20).allLearned, Today() + 4 + 17);

  std::vector<AnswerRecord> half;
  AddLearned(half, 0, 50);
  half.push_back(Answer(50, 0));  // first asked today
  const MasteryForecast halfway = Forecast(half, 5);
  EXPECT_EQ(halfway.learned, 50);
  // Poem 51 counts among today's five new poems; the other 49 take ten days from today.
  EXPECT_EQ(halfway.allLearned, Today() + 9 + 17);
  EXPECT_EQ(Utf8(ForecastLines(halfway, {5, 0.90})),
            (std::vector<std::string>{
                "記憶に定着した歌 50首 / 100首　全首の定着見込み " + DateText(Today() + 26),
                "毎日「今日の練習」に全問正解した場合（新しい歌は1日5首）"}));
}

TEST_F(HistoryOutlookTest, TheForecastSaysWhenNoDateComesOrAllAreLearned) {
  std::vector<AnswerRecord> most;
  AddLearned(most, 0, 99);
  const MasteryForecast stalled = Forecast(most, 0);
  EXPECT_EQ(stalled.learned, 99);
  EXPECT_FALSE(stalled.allLearned) << "the last poem is never asked";
  EXPECT_EQ(Utf8(ForecastLines(stalled, {0, 0.90}))[1],
            "新しい歌が1日0首のままでは、すべては定着しません");

  std::vector<AnswerRecord> all;
  AddLearned(all, 0, 100, 5);
  const MasteryForecast done = Forecast(all, 0);
  EXPECT_EQ(done.learned, 100);
  EXPECT_EQ(done.allLearned, Today());
  EXPECT_EQ(Utf8(ForecastLines(done, {0, 0.90})),
            std::vector<std::string>{"記憶に定着した歌 100首 / 100首　すべて定着しています"});
}

}  // namespace
}  // namespace verselane
