#include "game/plan_report.h"

#include <cmath>
#include <vector>

#include "base/decimal.h"
#include "records/answer_history.h"

namespace verselane {

std::string FormatPlanLine(const PlanItem& item) {
  const std::string recall = item.recall ? HundredthsText(std::lround(*item.recall * 100)) : "-";
  return std::to_string(item.poem + 1) + '\t' + (item.kind == PlanKind::kDue ? "due" : "new") +
         '\t' + recall + '\t' + DateText(item.nextReview);
}

bool PrintPlanReport(const std::string& historyPath, Day today, const PlanSettings& settings,
                     const PoemCatalogue& catalogue, std::ostream& out, std::ostream& errors,
                     FileSystem& files) {
  // Replayed as it is read: a long history is never held in memory whole.
  MemoryReplay replay;
  if (!ForEachAnswerForReport(
          historyPath, [&replay] { replay = MemoryReplay(); },
          [&replay](const AnswerRecord& answer) { replay.Add(answer); }, errors, files)) {
    return false;
  }
  for (const PlanItem& item : PlanDay(replay.memory(), catalogue, today, settings)) {
    out << FormatPlanLine(item) << '\n';
  }
  out.flush();
  return true;
}

}  // namespace verselane
