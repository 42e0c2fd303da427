// Result files: a plain Shift-JIS report of one finished run, for the player to keep. The program
// never reads them back.
#pragma once

#include <string>

#include "base/file_ports.h"

namespace verselane {

class Environment;

// The whole text of the result file for the run the environment holds, written at `date`: CP932,
// every line ending in "\n" (CR LF once on disk).
std::string ResultFileText(const Environment& environment, const LocalTime& date);

// The save dialog of a result file.
FileDialogSpec ResultFileDialogSpec();

// The results dialog's "save the result": writes the result file where the player chooses,
// dated by one reading of `clock`. True when a file was written; a file that could not be
// written is reported through `notices`.
bool WriteResultFile(const Environment& environment, FileChooserPort& files, NoticePort& notices,
                     ClockPort& clock);

}  // namespace verselane
