#include "game/mastery_page.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "base/shift_jis.h"
#include "game/daily_plan.h"
#include "game/weak_poems.h"

namespace verselane {
namespace {

constexpr MemoryStage kStages[kMemoryStages] = {MemoryStage::kNeverAsked, MemoryStage::kDueToday,
                                                MemoryStage::kLearning, MemoryStage::kLearned};

// The label under a day's bar (CP932): "今日" for today, the day of the month ("14") after it,
// with the month on the first of one ("1/1").
std::string DayLabel(Day day, Day today) {
  if (day == today) return SjisLiteral("今日");
  const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day}}};
  const std::string dayOfMonth = std::to_string(static_cast<unsigned>(date.day()));
  if (date.day() != std::chrono::day{1}) return dayOfMonth;
  return std::to_string(static_cast<unsigned>(date.month())) + "/" + dayOfMonth;
}

ScoreChart ChartOf(const std::vector<RunRecord>& runs) {
  ScoreChart chart;
  chart.highest = 1000;
  for (const RunRecord& run : runs) chart.highest = std::max(chart.highest, run.score);
  chart.step = chart.highest > 20000 ? 10000 : chart.highest > 5000 ? 2000 : 1000;
  chart.highest = (chart.highest + chart.step - 1) / chart.step * chart.step;
  if (runs.empty()) return chart;
  const auto [first, last] = std::minmax_element(
      runs.begin(), runs.end(),
      [](const RunRecord& a, const RunRecord& b) { return a.finishedAt < b.finishedAt; });
  const double span = std::max<double>(static_cast<double>(last->finishedAt - first->finishedAt), 1);
  for (const RunRecord& run : runs) {
    chart.points.push_back(
        {runs.size() == 1 ? 0.5 : (run.finishedAt - first->finishedAt) / span,
         static_cast<double>(run.score) / chart.highest});
  }
  chart.from = runs.front().localTime.substr(0, 10);
  chart.to = runs.back().localTime.substr(0, 10);
  return chart;
}

}  // namespace

MemoryStage StageOf(const HistoryOutlook& outlook, int poem, const PlanSettings& plan) {
  const std::optional<MemoryState>& memory = outlook.MemoryOf(poem);
  if (!memory) return MemoryStage::kNeverAsked;
  if (IsLearned(*memory)) return MemoryStage::kLearned;
  const double retention = std::clamp(plan.retention, kMinRetention, kMaxRetention);
  if (DueDay(*memory, retention) <= outlook.today) return MemoryStage::kDueToday;
  return MemoryStage::kLearning;
}

std::string StageLabel(MemoryStage stage) {
  switch (stage) {
    case MemoryStage::kDueToday: return SjisLiteral("今日の復習");
    case MemoryStage::kLearning: return SjisLiteral("練習中");
    case MemoryStage::kLearned: return SjisLiteral("定着");
    case MemoryStage::kNeverAsked:
    default: return SjisLiteral("未出題");
  }
}

MasteryPage ComposeMasteryPage(const HistoryOutlook& outlook, const PoemCatalogue& catalogue,
                               const PlanSettings& plan) {
  MasteryPage page;
  page.forecast = ForecastLines(ForecastMastery(outlook, catalogue, plan), plan);
  int counts[kMemoryStages] = {};
  for (int poem = 0; poem < catalogue.poemCount(); ++poem) {
    page.stages.push_back(StageOf(outlook, poem, plan));
    ++counts[static_cast<int>(page.stages.back())];
  }
  for (MemoryStage stage : kStages) {
    const int poems = counts[static_cast<int>(stage)];
    page.legend.push_back(
        {stage, StageLabel(stage) + SjisLiteral("  " + std::to_string(poems) + "首"), poems});
  }
  page.upcomingCaption = SjisLiteral("今後14日の練習（毎日全問正解した場合）");
  page.upcoming = UpcomingPlans(outlook, catalogue, plan, kUpcomingDays);
  for (const PlanDayCount& day : page.upcoming) page.upcomingDays.push_back(DayLabel(day.day, outlook.today));
  page.scores = ChartOf(outlook.runs);
  return page;
}

std::vector<std::string> PoemLines(const MasteryPage& page, const HistoryOutlook& outlook,
                                   const PoemCatalogue& catalogue, std::optional<int> poem,
                                   const PlanSettings& plan) {
  if (!poem || *poem < 0 || *poem >= static_cast<int>(page.stages.size())) {
    return {SjisLiteral("歌にポインタを合わせるか、"), SjisLiteral("クリックして選ぶと成績が出ます")};
  }
  std::vector<std::string> lines = {
      SjisLiteral("第" + std::to_string(*poem + 1) + "首　") + StageLabel(page.stages[*poem]),
      std::string(catalogue.FieldView(*poem, kPoet)),
      std::string(catalogue.FieldView(*poem, kUpperReading)),
  };
  for (std::string& line : FigureLines(outlook, *poem, plan)) lines.push_back(std::move(line));
  const PoemFigures* figures = outlook.FiguresOf(*poem);
  if (figures == nullptr) return lines;
  char weakness[32];
  std::snprintf(weakness, sizeof weakness, "%.0f / 100", Weakness(*figures, outlook.now) * 100);
  lines.push_back(SjisLiteral(std::string("苦手度 ") + weakness));
  lines.push_back(SjisLiteral("（苦手な歌の練習の順：誤答・遅さ・間隔）"));
  return lines;
}

}  // namespace verselane
