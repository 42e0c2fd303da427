// The file dialogs of the question and result files, and the local clock that dates records and
// result files.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_ports.h"

class wxWindow;
class wxString;

namespace verselane {

// GTK's file chooser, set up as the FileDialogSpec says: title, filters (the first active),
// initial name, the data folder to start in. Opening accepts only a file that exists; saving asks
// before replacing one, and adds the default extension to a name typed without one. The current
// directory is never changed.
class WxFileChooser : public FileChooserPort {
 public:
  // `owner` gives the window the dialogs open over (the main window) as they open.
  // `startFolder` is where they start: the data folder; empty: the current folder.
  WxFileChooser(std::function<wxWindow*()> owner, std::string startFolder)
      : owner_(std::move(owner)), startFolder_(std::move(startFolder)) {}

  std::optional<std::string> ChooseFileToOpen(const FileDialogSpec& setup) override;
  std::optional<std::string> ChooseFileToSave(const FileDialogSpec& setup) override;

 private:
  wxString StartFolder() const;

  std::function<wxWindow*()> owner_;
  std::string startFolder_;
};

// The wildcard of a file dialog from its filters. A pattern "*.*", meant as every file, becomes
// "*", which is every file here, names without a dot included.
wxString FileDialogWildcard(const FileDialogSpec& setup);
// `path` with ".<extension>" added when its file name has no extension; as it was otherwise.
std::string WithDefaultExtension(std::string_view path, std::string_view extension);
// The file a name typed into the open dialog means: the name itself where that file exists, else
// the name with the default extension when it has none, so that "set1" opens "set1.vlq". wx's
// own "must exist" check would refuse the name before this, in English.
std::string ExistingOrWithDefaultExtension(const std::string& path, std::string_view extension);

class LocalClock : public ClockPort {
 public:
  LocalTime Now() override;
};

}  // namespace verselane
