// What the mastery window shows, as plain data composed from the history's outlook (as GameFrame
// is for the game screen; the window only paints it): each poem in one stage of the memory model,
// the legend with the count of each, the forecast above the grid, the plans of the next fourteen
// days, the runs' scores over time, and the lines of the poem pointed at.
//
// One memory speaks everywhere: the stages are the memory model's, the legend's counts add up to
// every poem, its learned count is the forecast's, and the lines of a poem answered today tell
// that answer rather than a recall the answer itself has just made 100 %.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/poem_catalogue.h"
#include "game/history_outlook.h"
#include "settings/plan_settings.h"

namespace verselane {

// In the legend's order.
enum class MemoryStage { kNeverAsked, kDueToday, kLearning, kLearned };
inline constexpr int kMemoryStages = 4;

// The one stage of `poem`: never answered (no memory); learned (IsLearned, the forecast's rule,
// whether due or not); due today (the plan's rule: DueDay at the target retention is today or
// past); else learning.
MemoryStage StageOf(const HistoryOutlook& outlook, int poem, const PlanSettings& plan);

// The stage's name in the legend and beside a poem's number (CP932).
std::string StageLabel(MemoryStage stage);

struct StageCount {
  MemoryStage stage = MemoryStage::kNeverAsked;
  std::string label;  // "未出題 12首" (CP932)
  int poems = 0;
};

// The runs' scores over time, one point per finished run.
struct ScoreChart {
  struct Point {
    double x = 0;  // 0 at the first run's time, 1 at the last one's; 0.5 when there is one run
    double y = 0;  // the score over `highest`
  };
  int highest = 0;  // the top of the scale: a whole number of steps, at least 1000
  int step = 0;     // between its grid lines
  std::vector<Point> points;
  std::string from, to;  // the first and the last run's dates, "YYYY-MM-DD"
};

inline constexpr int kUpcomingDays = 14;

struct MasteryPage {
  std::vector<std::string> forecast;  // ForecastLines
  std::vector<MemoryStage> stages;    // by poem index
  std::vector<StageCount> legend;     // every stage once; the counts add up to stages.size()
  std::string upcomingCaption;        // CP932
  std::vector<PlanDayCount> upcoming;  // UpcomingPlans over kUpcomingDays, today first
  std::vector<std::string> upcomingDays;  // under each of them: "今日", "15", ..., "1/1"
  ScoreChart scores;
};

MasteryPage ComposeMasteryPage(const HistoryOutlook& outlook, const PoemCatalogue& catalogue,
                               const PlanSettings& plan);

// The lines beside the grid (CP932): for `poem`, its number and stage, its poet and upper
// reading, its FigureLines, and the weakness by which the weak-poems run picks its poems, named
// as that run's score (it is not the memory model's); a hint to point at a poem when none is.
std::vector<std::string> PoemLines(const MasteryPage& page, const HistoryOutlook& outlook,
                                   const PoemCatalogue& catalogue, std::optional<int> poem,
                                   const PlanSettings& plan);

}  // namespace verselane
