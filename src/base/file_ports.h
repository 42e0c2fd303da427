// What the file code asks of the desktop: notices, file choices and the local time. The window
// layer implements these with message boxes, file dialogs and the system clock; tests with fakes.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace verselane {

enum class NoticeIcon { kExclamation, kInformation, kError };

class NoticePort {
 public:
  virtual ~NoticePort() = default;
  // A message box with an OK button and no owner window; `text` and `caption` are CP932, "\n"
  // a line break. Returns when the player has closed it.
  virtual void ShowNotice(const std::string& text, const std::string& caption, NoticeIcon icon) = 0;
};

// A file dialog's set-up. Texts are CP932; a filter is a label and a pattern ("*.vlq").
struct FileDialogSpec {
  std::string title;
  std::vector<std::pair<std::string, std::string>> filters;
  std::string defaultExtension;  // without the dot
  std::string initialName;
};

class FileChooserPort {
 public:
  virtual ~FileChooserPort() = default;
  // The chosen file's full path as the file system names it, or nothing when the player
  // cancelled. An open dialog accepts only existing files; a save dialog asks before replacing one.
  virtual std::optional<std::string> ChooseFileToOpen(const FileDialogSpec& setup) = 0;
  virtual std::optional<std::string> ChooseFileToSave(const FileDialogSpec& setup) = 0;
};

struct LocalTime {
  int year = 2000;  // e.g. 2026
  int month = 1;    // 1 to 12
  int day = 1;
  int hour = 0;     // 0 to 23
  int minute = 0;
};

class ClockPort {
 public:
  virtual ~ClockPort() = default;
  virtual LocalTime Now() = 0;
};

}  // namespace verselane
