// Choosing a question file as the question source, and how the source list names it.
#pragma once

#include <optional>
#include <string>

namespace verselane {

class FileChooserPort;
class NoticePort;
class QuestionSources;
class Settings;
struct FileDialogSpec;

// The source list's last entry while the question file is the source: the file's name (after
// the last "/" or "\") and " (n首)" with the file's poem count, CP932; empty without a path.
std::string FileSourceLabel(const Settings& settings, const QuestionSources& sources);

// The open dialog for a question file.
FileDialogSpec QuestionFileOpenSpec();

// Asks for a question file and loads it as the file source. The chosen path when it loaded;
// nothing when the player cancelled, the file is not a valid question file (no message: the list
// simply keeps its source), or its path cannot be remembered in the settings (with a notice).
std::optional<std::string> ChooseQuestionFile(FileChooserPort& files, NoticePort& notices,
                                              QuestionSources& sources);

}  // namespace verselane
