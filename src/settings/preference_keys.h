// The keys of verselane.conf, each with the field of Preferences it holds and the texts its
// value may take. A new preference is a field in settings/preferences.h and one line of the
// table in preference_keys.cpp (a new kind of value, a number within bounds say, adds its
// reader and writer there once, beside those of a flag and of a choice).
#pragma once

#include "settings/key_file.h"
#include "settings/preferences.h"

namespace verselane {

// Takes the value of each key the file gives into `preferences`, leaving the others as they
// are. False when a value is not one its key takes (`preferences` then partly read).
[[nodiscard]] bool ReadPreferenceKeys(const KeyFile& file, Preferences& preferences);
// Sets every key to its value in `preferences`; a value not chosen yet leaves its key as it is.
void WritePreferenceKeys(const Preferences& preferences, KeyFile& file);

}  // namespace verselane
