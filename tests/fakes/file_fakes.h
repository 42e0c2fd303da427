// Stand-ins for the notices, file dialogs and clock the file code asks of the desktop.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "base/file_ports.h"

namespace verselane {

// Remembers every notice instead of showing it.
class FakeNotices : public NoticePort {
 public:
  struct Notice {
    std::string text;  // CP932
    std::string caption;
    NoticeIcon icon;
  };
  void ShowNotice(const std::string& text, const std::string& caption, NoticeIcon icon) override {
    shown.push_back({text, caption, icon});
    if (whileShown) whileShown();
  }
  std::vector<Notice> shown;
  // Runs as each notice is shown, for a test to look at what the player would see meanwhile.
  std::function<void()> whileShown;
};

// Answers every file dialog with `answer` (nothing: the player cancelled) and keeps the set-ups.
class FakeFileChooser : public FileChooserPort {
 public:
  std::optional<std::string> ChooseFileToOpen(const FileDialogSpec& dialog) override {
    openDialogs.push_back(dialog);
    return answer;
  }
  std::optional<std::string> ChooseFileToSave(const FileDialogSpec& dialog) override {
    saveDialogs.push_back(dialog);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<FileDialogSpec> openDialogs;
  std::vector<FileDialogSpec> saveDialogs;
};

// Always the same moment; counts how often it was asked.
class FakeClock : public ClockPort {
 public:
  explicit FakeClock(LocalTime time = {}) : now(time) {}
  LocalTime Now() override {
    ++reads;
    return now;
  }
  LocalTime now;
  int reads = 0;
};

// A dialog's set-up as one comparable value.
inline auto DialogFields(const FileDialogSpec& dialog) {
  return std::tie(dialog.title, dialog.filters, dialog.defaultExtension, dialog.initialName);
}

}  // namespace verselane
