// Files the player asks to save through a save dialog: question files and result files. Unlike
// the program's own files, these are the player's explicit wish, so the caller tells every
// failure (base/notices.h, FileTask::kSaveChosenFile).
#pragma once

#include <optional>
#include <string>

#include "base/file_ports.h"
#include "base/file_status.h"

namespace verselane {

// The path the player chose in a save dialog set up as `dialog`; nothing when they cancelled or
// chose an empty name.
std::optional<std::string> AskWhereToSave(FileChooserPort& files, const FileDialogSpec& dialog);

// Makes `text` the whole content of the file at `path` (a native path), scrambled or plain. When
// the file cannot be created or its new content cannot be made to stick, it keeps what it held.
[[nodiscard]] FileStatus SaveChosenFile(const std::string& path, const std::string& text,
                                        bool scrambled);

}  // namespace verselane
