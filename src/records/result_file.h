// Result files: a plain Shift-JIS report of one finished run, for the player to keep. The program
// never reads them back.
#pragma once

#include <string>

#include "base/file_ports.h"
#include "base/file_status.h"
#include "records/run_figures.h"

namespace verselane {

class PoemCatalogue;

// The whole text of the result file for the run `run`, written at `date`: CP932, every line ending
// in "\n" (CR LF once on disk). The missed poems are named from `catalogue`.
std::string ResultFileText(const RunFigures& run, const PoemCatalogue& catalogue,
                           const LocalTime& date);

// The save dialog of a result file.
FileDialogSpec ResultFileDialogSpec();

// The results dialog's "save the result": writes the result file where the player chooses,
// dated by one reading of `clock`. How the save went, for the caller to tell
// (FileTask::kSaveChosenFile); a cancelled dialog is no failure and names no file.
[[nodiscard]] FileStatus WriteResultFile(const RunFigures& run, const PoemCatalogue& catalogue,
                                         FileChooserPort& files, ClockPort& clock);

}  // namespace verselane
