#include "ui/dialogs/wx_file_chooser.h"

#include <ctime>
#include <filesystem>

#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>

#include "ui/display_text.h"
#include "ui/message_boxes.h"

namespace verselane {
namespace {

bool HasWildcard(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// An initial name with a wildcard ("*.vlq") only names the files to list; the filters list them
// here, and the name box starts empty rather than offering "*.vlq" as a name.
wxString InitialName(const FileDialogSpec& setup) {
  return HasWildcard(setup.initialName) ? wxString() : FromSjis(setup.initialName);
}

std::string NativePath(const wxString& path) {
  const wxCharBuffer bytes = path.fn_str();
  return bytes.data() != nullptr ? std::string(bytes.data()) : std::string();
}

// The file dialog's own question compared the name without the extension; the name saved to is
// asked about here, so that the player is asked about the very file that would be replaced.
bool ConfirmReplacing(wxWindow* owner, const std::string& path, const wxString& title) {
  const wxString name = wxString(std::filesystem::path(path).filename().c_str(), *wxConvFileName);
  ZoomedMessageBox confirm(owner, name + Text(" は既に存在します。\n上書きしますか?"), title,
                           wxYES_NO | wxNO_DEFAULT | wxICON_EXCLAMATION);
  confirm.SetYesNoLabels(Text(kYesLabel), Text(kNoLabel));
  return confirm.ShowModal() == wxID_YES;
}

}  // namespace

wxString FileDialogWildcard(const FileDialogSpec& setup) {
  wxString wildcard;
  for (const auto& [label, pattern] : setup.filters) {
    if (!wildcard.empty()) wildcard += "|";
    wildcard += FromSjis(label) + "|" + (pattern == "*.*" ? wxString("*") : FromSjis(pattern));
  }
  return wildcard;
}

std::string WithDefaultExtension(std::string_view path, std::string_view extension) {
  std::string result(path);
  if (extension.empty()) return result;
  const std::size_t slash = result.find_last_of('/');
  const std::string_view name =
      std::string_view(result).substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.empty() || name.find('.') != std::string_view::npos) return result;
  result += '.';
  result += extension;
  return result;
}

std::string ExistingOrWithDefaultExtension(const std::string& path, std::string_view extension) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) return path;
  return WithDefaultExtension(path, extension);
}

wxString WxFileChooser::StartFolder() const {
  return startFolder_.empty() ? wxGetCwd() : wxString::FromUTF8(startFolder_);
}

std::optional<std::string> WxFileChooser::ChooseFileToOpen(const FileDialogSpec& setup) {
  wxString folder = StartFolder();
  wxString name = InitialName(setup);
  while (true) {
    wxFileDialog dialog(owner_(), FromSjis(setup.title), folder, name, FileDialogWildcard(setup),
                        wxFD_OPEN);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    const std::string chosen = NativePath(dialog.GetPath());
    if (chosen.empty()) return std::nullopt;
    const std::string path = ExistingOrWithDefaultExtension(chosen, setup.defaultExtension);
    std::error_code error;
    if (std::filesystem::exists(path, error)) return path;
    // What wx says when it checks itself, in the desktop's language; back to the dialog.
    ZoomedMessageBox missing(owner_(), _("Please choose an existing file."), _("Error"),
                             wxOK | wxICON_ERROR);
    missing.ShowModal();
    const std::filesystem::path typed(chosen);
    folder = wxString(typed.parent_path().c_str(), *wxConvFileName);
    name = wxString(typed.filename().c_str(), *wxConvFileName);
  }
}

std::optional<std::string> WxFileChooser::ChooseFileToSave(const FileDialogSpec& setup) {
  wxString folder = StartFolder();
  wxString name = InitialName(setup);
  const wxString title = FromSjis(setup.title);
  while (true) {
    wxFileDialog dialog(owner_(), title, folder, name, FileDialogWildcard(setup),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    const std::string chosen = NativePath(dialog.GetPath());
    if (chosen.empty()) return std::nullopt;
    const std::string path = WithDefaultExtension(chosen, setup.defaultExtension);
    std::error_code error;
    if (path == chosen || !std::filesystem::exists(path, error) ||
        ConfirmReplacing(owner_(), path, title)) {
      return path;
    }
    // Not to be replaced: back to the dialog, where it was left.
    folder = dialog.GetDirectory();
    name = dialog.GetFilename();
  }
}

LocalTime LocalClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

}  // namespace verselane
