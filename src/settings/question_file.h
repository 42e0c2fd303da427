// Question files (.vlq): a list of poems to be asked, made from a run's wrong answers and used as
// the question source "ファイルから読み込む".
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_ports.h"
#include "base/file_status.h"

namespace verselane {

class QuestionSources;
class SettingsController;

// The decoded text of a question file: the poem indices in decimal, joined by ",".
std::string FormatQuestionList(std::span<const int> poems);
// The poem indices of a decoded question file in order, duplicates kept; nothing when a piece is
// empty (the text itself, ",," anywhere, a leading or trailing ",") or names no poem (outside
// 0 to 99). Each piece is read as a forgiving decimal: "12x" is 12, "x" is 0.
std::optional<std::vector<int>> ParseQuestionList(std::string_view text);

// Reads the question file at `path` (a native path) and, when it is valid, makes its poems the
// file source's. Fails, with the source unchanged, for a missing file or one that is not a
// question file (corrupt).
[[nodiscard]] FileStatus LoadQuestionFile(const std::string& path, QuestionSources& sources);

// The save dialog of a new question file.
FileDialogSpec QuestionFileDialogSpec();

// The results dialog's "make a question file": saves `missed`, the run's wrong answers, where
// the player chooses. When that is the file in use as the question source, the source is
// taken in at once and the question count lowered to fit it. How the save went, for the caller
// to tell (FileTask::kSaveChosenFile); nothing to save or a cancelled dialog is no failure and
// names no file.
[[nodiscard]] FileStatus WriteQuestionFile(std::span<const int> missed,
                                           SettingsController& controller,
                                           FileChooserPort& files);

}  // namespace verselane
