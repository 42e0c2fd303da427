// Entry point of the desktop program: creates the application object and its main window.
#include <wx/app.h>
#include <wx/msgdlg.h>

#include "records/data_folder.h"
#include "ui/main_frame.h"

namespace verselane {
namespace {

// The window class name; window managers, tests and the single-instance lock know the program by it.
constexpr const char* kClassName = "Marrowfen";

}  // namespace

class VerselaneApp : public wxApp {
 public:
  bool OnInit() override {
    SetAppName("verselane");
    SetClassName(kClassName);
    // wxGTK takes the class part of WM_CLASS from the display name (the instance part is the
    // executable's name), so the class name goes there as well: WM_CLASS = "verselane", "Marrowfen".
    SetAppDisplayName(kClassName);
    // Every file of the player's is found by its bare name in the data folder, so it is chosen
    // and entered before anything is read.
    if (EnterDataFolder("/proc/self/exe").empty()) {
      wxMessageBox(wxString::FromUTF8("NOTICE(EnterDataFolder):\nデータフォルダを作成できませんでした\n"
                                      "現在のフォルダに設定と記録を保存します"),
                   "Notice", wxOK | wxICON_EXCLAMATION);
    }
    auto* frame = new MainFrame();
    frame->Show();
    return true;
  }
};

}  // namespace verselane

wxIMPLEMENT_APP(verselane::VerselaneApp);
