#include "base/saved_file.h"

#include "base/shift_jis.h"
#include "base/text_file.h"

namespace verselane {
namespace {

void TellNotSaved(const std::string& path, NoticePort& notices) {
  static const std::string kNotSaved = SjisLiteral("ファイルを保存できませんでした\n");
  // A name Shift-JIS cannot hold is still shown, as its bytes, rather than not at all.
  const Conversion shown = Utf8ToSjis(path);
  notices.ShowNotice(kNotSaved + (shown.ok() ? shown.text : path), "Notice",
                     NoticeIcon::kExclamation);
}

}  // namespace

std::optional<std::string> AskWhereToSave(FileChooserPort& files, const FileDialogSpec& dialog) {
  std::optional<std::string> path = files.ChooseFileToSave(dialog);
  if (path && path->empty()) return std::nullopt;
  return path;
}

bool SaveChosenFile(const std::string& path, const std::string& text, bool scrambled,
                    NoticePort& notices) {
  TextFile file(path);
  const bool written = file.Open('w') && file.WriteLine(text, scrambled) && file.Close() == 0;
  if (!written) TellNotSaved(path, notices);
  return written;
}

}  // namespace verselane
