#include "game/history_outlook.h"

#include <algorithm>
#include <cstdio>

#include "base/shift_jis.h"
#include "game/answer_recorder.h"
#include "game/daily_plan.h"

namespace verselane {
namespace {

// Far enough that only a plan that never ends gets there.
constexpr int kForecastDays = 3650;

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return SjisLiteral(buffer);
}

std::string NextReviewLine(const MemoryState& memory, Day today, double retention) {
  const Day due = DueDay(memory, retention);
  if (due > today) return Format("次の復習 %s", DateText(due).c_str());
  if (due == today) return SjisLiteral("次の復習 今日");
  return Format("次の復習 今日（期日 %s）", DateText(due).c_str());
}

int CountLearned(const std::vector<std::optional<MemoryState>>& memory) {
  return static_cast<int>(
      std::count_if(memory.begin(), memory.end(), [](const std::optional<MemoryState>& state) {
        return state && IsLearned(*state);
      }));
}

// The memory of every poem of the catalogue, the plan played on each day from today to `last`
// with every answer right (Good); `visit(day, plan, memory)` sees each day's plan before it is
// played, and stops the days by returning false.
template <typename Visit>
void PlayPlansDaily(const HistoryOutlook& outlook, const PoemCatalogue& catalogue,
                    const PlanSettings& plan, Day last, Visit visit) {
  std::vector<std::optional<MemoryState>> memory = outlook.memory;
  memory.resize(catalogue.poemCount());
  for (Day day = outlook.today; day <= last; ++day) {
    const std::vector<PlanItem> items = PlanDay(memory, catalogue, day, plan);
    for (const PlanItem& item : items) {
      memory[item.poem] = ReviewMemory(memory[item.poem], Grade::kGood, day);
    }
    if (!visit(day, items, memory)) return;
  }
}

}  // namespace

const PoemFigures* HistoryOutlook::FiguresOf(int poem) const {
  const auto found = std::find_if(figures.begin(), figures.end(),
                                  [poem](const PoemFigures& each) { return each.poem == poem; });
  return found == figures.end() ? nullptr : &*found;
}

const std::optional<MemoryState>& HistoryOutlook::MemoryOf(int poem) const {
  static const std::optional<MemoryState> kNone;
  return poem >= 0 && poem < static_cast<int>(memory.size()) ? memory[poem] : kNone;
}

HistoryOutlook OutlookOf(const HistorySnapshot& history) {
  HistoryOutlook outlook;
  outlook.readable = history.readable;
  outlook.now = history.now;
  outlook.runs = history.runs;
  outlook.today = DayOf(LocalTimeText(history.now)).value_or(0);
  outlook.figures = history.poems;
  outlook.memory = ReplayAnswers(history.answers);
  outlook.runs = history.runs;
  outlook.now = history.now;
  return outlook;
}

void KeptHistory::Add(const AnswerRecord& answer) {
  replay_.Add(answer);
  figures_.Add(answer);
  hasAnswers_ = true;
}

HistoryOutlook KeptHistory::Outlook(std::int64_t now) const {
  HistoryOutlook outlook;
  outlook.today = DayOf(LocalTimeText(now)).value_or(0);
  outlook.figures = figures_.Poems();
  outlook.memory = replay_.memory();
  outlook.runs = runs_;
  outlook.now = now;
  return outlook;
}

std::vector<std::string> FigureLines(const HistoryOutlook& outlook, int poem,
                                     const PlanSettings& plan) {
  if (!outlook.readable) return {SjisLiteral("成績を読み込めませんでした")};
  const PoemFigures* figures = outlook.FiguresOf(poem);
  if (figures == nullptr) return {SjisLiteral("まだ出題されていません")};
  std::vector<std::string> lines = {
      Format("解答 %d回　正解 %d回", figures->answers, figures->right),
      Format("正解の中央値 %s",
             figures->medianRightMs ? (SecondsWithTenths(*figures->medianRightMs) + "秒").c_str()
                                    : "-"),
      // The file's text as it is: a damaged one shows its bad bytes, it does not stop here.
      SjisLiteral("最後の解答 ") + figures->lastLocalTime.substr(0, 10),
  };
  // A poem whose answers all lack a readable date has figures but no memory.
  if (const std::optional<MemoryState>& memory = outlook.MemoryOf(poem)) {
    const double retention = std::clamp(plan.retention, kMinRetention, kMaxRetention);
    if (DayOf(figures->lastLocalTime) == outlook.today) {
      lines.push_back(SjisLiteral(figures->lastRight ? "今日の解答 正解" : "今日の解答 誤答"));
    } else {
      const double recall =
          Retrievability(outlook.today - memory->lastReview, memory->stability);
      lines.push_back(Format("今日思い出せる確率 %.0f%%", recall * 100));
    }
    lines.push_back(NextReviewLine(*memory, outlook.today, retention));
  }
  return lines;
}

MasteryForecast ForecastMastery(const HistoryOutlook& outlook, const PoemCatalogue& catalogue,
                                const PlanSettings& plan) {
  MasteryForecast forecast;
  forecast.readable = outlook.readable;
  if (!outlook.readable) return forecast;
  forecast.poems = catalogue.poemCount();
  std::vector<std::optional<MemoryState>> memory = outlook.memory;
  memory.resize(forecast.poems);
  forecast.learned = CountLearned(memory);
  if (forecast.learned == forecast.poems) {
    forecast.allLearned = outlook.today;
    return forecast;
  }
  const bool unanswered = std::any_of(
      memory.begin(), memory.end(), [](const std::optional<MemoryState>& state) { return !state; });
  if (unanswered && std::clamp(plan.newPerDay, kMinNewPerDay, kMaxNewPerDay) == 0) return forecast;
  PlayPlansDaily(outlook, catalogue, plan, outlook.today + kForecastDays,
                 [&](Day day, const std::vector<PlanItem>&,
                     const std::vector<std::optional<MemoryState>>& after) {
                   if (CountLearned(after) < forecast.poems) return true;
                   forecast.allLearned = day;
                   return false;
                 });
  return forecast;
}

std::vector<PlanDayCount> UpcomingPlans(const HistoryOutlook& outlook,
                                        const PoemCatalogue& catalogue, const PlanSettings& plan,
                                        int days) {
  std::vector<PlanDayCount> counts;
  if (!outlook.readable || days <= 0) return counts;
  PlayPlansDaily(outlook, catalogue, plan, outlook.today + days - 1,
                 [&](Day day, const std::vector<PlanItem>& items,
                     const std::vector<std::optional<MemoryState>>&) {
                   PlanDayCount count;
                   count.day = day;
                   for (const PlanItem& item : items) {
                     ++(item.kind == PlanKind::kDue ? count.due : count.fresh);
                   }
                   counts.push_back(count);
                   return true;
                 });
  return counts;
}

std::vector<std::string> ForecastLines(const MasteryForecast& forecast, const PlanSettings& plan) {
  if (!forecast.readable) return {SjisLiteral("成績を読み込めないため、見込みは出せません")};
  const std::string learned =
      Format("記憶に定着した歌 %d首 / %d首", forecast.learned, forecast.poems);
  if (forecast.learned == forecast.poems) {
    return {learned + SjisLiteral("　すべて定着しています")};
  }
  if (!forecast.allLearned) {
    return {learned, SjisLiteral("新しい歌が1日0首のままでは、すべては定着しません")};
  }
  return {learned + Format("　全首の定着見込み %s", DateText(*forecast.allLearned).c_str()),
          Format("毎日「今日の練習」に全問正解した場合（新しい歌は1日%d首）",
                 std::clamp(plan.newPerDay, kMinNewPerDay, kMaxNewPerDay))};
}

}  // namespace verselane
