// The player's history as the mastery window and the poem card show it: what each poem's answers
// add up to, how well the memory model says the player remembers it today, and when all hundred
// will be learned.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/poem_catalogue.h"
#include "game/memory_model.h"
#include "records/answer_history.h"
#include "settings/plan_settings.h"

namespace verselane {

struct HistoryOutlook {
  // False when the history could not be read: nothing is known of any poem, which is not the
  // same as no poem having been answered.
  bool readable = true;
  std::int64_t now = 0;  // Unix seconds when the history was read
  Day today = 0;         // the local day the history was read on
  std::vector<PoemFigures> figures;                // the poems answered at least once
  std::vector<std::optional<MemoryState>> memory;  // by poem index, 0 to 99
  std::vector<RunRecord> runs;                     // the finished runs, oldest first

  // Null for a poem never answered.
  const PoemFigures* FiguresOf(int poem) const;
  const std::optional<MemoryState>& MemoryOf(int poem) const;
};

// Every answer in `history` replayed through the memory model, on the local day of its `now`.
HistoryOutlook OutlookOf(const HistorySnapshot& history);

// The history as the program keeps it in memory, moved by each answer and run as it is recorded:
// the plan and the mastery window read it without going over the answers again. Its memory and
// figures are exactly those of a replay of the same answers (OutlookOf, ReplayAnswers).
class KeptHistory {
 public:
  void Add(const AnswerRecord& answer);
  void AddRun(const RunRecord& run) { runs_.push_back(run); }
  void ForgetRuns() { runs_.clear(); }
  bool hasAnswers() const { return hasAnswers_; }
  const std::vector<std::optional<MemoryState>>& memory() const { return replay_.memory(); }
  // As it stands at Unix time `now`.
  HistoryOutlook Outlook(std::int64_t now) const;

 private:
  MemoryReplay replay_;
  HistoryFigures figures_;
  std::vector<RunRecord> runs_;
  bool hasAnswers_ = false;
};

// The lines of figures of poem `poem` (CP932): answers and right answers, the median time of the
// right ones, the day of the last answer, the chance of recalling it today (or, once it has been
// answered today, whether that answer was right: recall just after an answer says nothing) and
// the day of its next review at the target retention of `plan`. One line saying so for a poem
// never answered or a history that could not be read.
std::vector<std::string> FigureLines(const HistoryOutlook& outlook, int poem,
                                     const PlanSettings& plan);

// How many poems are learned (IsLearned) today, and the first day on which all of them will be.
//
// The day is a projection: the plan is played once a day from today on (PlanDay, with the new
// poems `plan` allows a day) and every poem it asks is answered right at the player's usual pace
// (Good). It is the earliest date today's pace of new poems gives: a miss or a day left out puts
// it later, a quick answer (Easy) sooner. Nothing when it never comes, as with no new poem a day
// while some have never been answered.
struct MasteryForecast {
  bool readable = true;
  int poems = 0;
  int learned = 0;
  std::optional<Day> allLearned;
};
MasteryForecast ForecastMastery(const HistoryOutlook& outlook, const PoemCatalogue& catalogue,
                                const PlanSettings& plan);

// The plan of each of `days` days from today on, played as the forecast assumes (every poem it
// asks answered right, once a day): how many of its poems are due and how many new. The first is
// today's plan as it stands.
struct PlanDayCount {
  Day day = 0;
  int due = 0;
  int fresh = 0;  // poems never answered
};
std::vector<PlanDayCount> UpcomingPlans(const HistoryOutlook& outlook,
                                        const PoemCatalogue& catalogue, const PlanSettings& plan,
                                        int days);

// The forecast as the mastery window shows it above the grid (CP932): the count and the date,
// then the one sentence saying what the date assumes.
std::vector<std::string> ForecastLines(const MasteryForecast& forecast, const PlanSettings& plan);

}  // namespace verselane
