// A finished run entering the five best results: the name the player gives it and the record
// that goes into the list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "records/run_figures.h"

namespace verselane {

class ClockPort;
class NoticePort;
class RecordList;
class SettingsController;

// A name is kept to this many bytes of Shift-JIS, never splitting a character.
inline constexpr std::size_t kMaxNameBytes = 10;

// Whether the name field may hold `typedName` (UTF-8): at most kMaxNameBytes of Shift-JIS, so
// that what the player sees is what is stored. A character Shift-JIS lacks counts two bytes; OK
// refuses it with its notice.
bool NameFitsField(std::string_view typedName);

// The rank-in dialog's OK. `typedName` is the name field's text (UTF-8). A name the record list
// or env.ini cannot hold (",", "/", a character Shift-JIS lacks, a control character) is
// refused with a notice and false: the dialog stays open for the player to mend it. Otherwise
// the name (or "noname" when empty) becomes the player's name in the settings, the run enters `records` stamped
// with the clock's time, the list is saved and the result is true. A list that could not be saved
// is told through `notices`; the run still stands in the list until the program ends.
bool CommitRankIn(std::string_view typedName, const RunFigures& run, RecordList& records,
                  SettingsController& settings, NoticePort& notices, ClockPort& clock);

}  // namespace verselane
