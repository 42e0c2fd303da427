// `verselane --plan`: the daily plan of a day, printed from the history as it stands, without
// changing or leaving anything (also beside a running copy).
#pragma once

#include <ostream>
#include <string>

#include "base/file_system.h"
#include "catalogue/poem_catalogue.h"
#include "game/daily_plan.h"

namespace verselane {

// One line of the report, without its line end, tab-separated: poem number (1 to 100), "due" or
// "new", the chance of recall with two decimals ("-" for a new poem), and the date it falls due
// again after a right answer on the plan's day (YYYY-MM-DD).
std::string FormatPlanLine(const PlanItem& item);

// Prints the plan for `today` from the database at `historyPath`, one FormatPlanLine per poem
// in the order the run asks them; nothing for an empty plan. A missing database is a history
// without answers. False, after a line on `errors` naming the cause, when it cannot be read.
bool PrintPlanReport(const std::string& historyPath, Day today, const PlanSettings& settings,
                     const PoemCatalogue& catalogue, std::ostream& out, std::ostream& errors,
                     FileSystem& files = SystemFileSystem());

}  // namespace verselane
