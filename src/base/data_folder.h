// Where the player's files live: the settings, the records and, by default, question files.
#pragma once

#include <string>

namespace verselane {

// The program's own folder when it already holds an env.ini (a portable copy), otherwise
// $XDG_DATA_HOME/verselane, or ~/.local/share/verselane when that is unset or not absolute.
// `xdgDataHome` and `home` may be null.
std::string ChooseDataFolder(const std::string& programFolder, const char* xdgDataHome,
                             const char* home);

// Chooses the data folder for this process (from its environment and the folder of
// `programPath`), creates it when missing and makes it the current directory, so that the bare
// names env.ini and record.dat resolve there for the whole run. Returns the folder, or an empty
// string when it could not be created or entered (the current directory then stays as it was).
std::string EnterDataFolder(const std::string& programPath);

}  // namespace verselane
