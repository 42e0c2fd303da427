#include "base/saved_file.h"

#include "base/text_file.h"

namespace verselane {

std::optional<std::string> AskWhereToSave(FileChooserPort& files, const FileDialogSpec& dialog) {
  std::optional<std::string> path = files.ChooseFileToSave(dialog);
  if (path && path->empty()) return std::nullopt;
  return path;
}

FileStatus SaveChosenFile(const std::string& path, const std::string& text, bool scrambled) {
  return WriteFileLine(path, text, scrambled);
}

}  // namespace verselane
