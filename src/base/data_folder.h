// Where the player's files live: the settings, the records and, by default, question files.
#pragma once

#include <string>

#include "base/file_status.h"

namespace verselane {

// The program's own folder when it already holds an env.ini (a portable copy), otherwise
// $XDG_DATA_HOME/verselane, or ~/.local/share/verselane when that is unset or not absolute.
// `xdgDataHome` and `home` may be null.
std::string ChooseDataFolder(const std::string& programFolder, const char* xdgDataHome,
                             const char* home);

// The data folder of this process, chosen from its environment and the folder of `programPath`.
std::string DataFolderFor(const std::string& programPath);

// Creates `folder` (and the folders above it) when missing. Fails when there is no folder there
// afterwards.
[[nodiscard]] FileStatus CreateDataFolder(const std::string& folder);

}  // namespace verselane
