// Entry point of the desktop program: creates the application object and its main window.
#include <wx/app.h>

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
    auto* frame = new MainFrame();
    frame->Show();
    return true;
  }
};

}  // namespace verselane

wxIMPLEMENT_APP(verselane::VerselaneApp);
