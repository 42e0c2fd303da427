// The window-layer tests run inside one wx application on a real X display (./test provides an
// Xvfb). Each test gets an empty scratch folder of its own (ScratchFolder()), which it hands to
// the program as its data folder, so env.ini and record.dat never touch the player's own; the
// current directory is never changed. Typing goes straight into the controls, without an input
// method.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/modalhook.h>

#include "ui/help.h"
#include "ui_test_support.h"

namespace {

class TestApp : public wxApp {
 public:
  bool OnInit() override {
    wxInitAllImageHandlers();
    return true;
  }
};

// Catches a modal dialog that no test expects: it fails the test instead of waiting for a player
// who is not there. Expectations registered by a test come first.
class UnexpectedDialogGuard : public wxModalDialogHook {
 protected:
  int Enter(wxDialog* dialog) override {
    if (verselane::uitest::RecordingModalHook::active == 0) {
      ADD_FAILURE() << "unexpected dialog: " << dialog->GetTitle().utf8_string();
    }
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

std::string currentScratchFolder;

// Each test starts with an empty scratch folder of its own.
class ScratchFolderMaker : public ::testing::EmptyTestEventListener {
 public:
  explicit ScratchFolderMaker(std::filesystem::path root) : root_(std::move(root)) {}
  void OnTestStart(const ::testing::TestInfo& info) override {
    const std::filesystem::path folder =
        root_ / (std::string(info.test_suite_name()) + "." + info.name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    currentScratchFolder = folder.string();
  }

 private:
  std::filesystem::path root_;
};

}  // namespace

namespace verselane::uitest {

const std::string& ScratchFolder() { return currentScratchFolder; }

std::string ScratchFile(const std::string& name) { return ScratchFolder() + "/" + name; }

}  // namespace verselane::uitest

wxIMPLEMENT_APP_NO_MAIN(TestApp);

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();

  setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  char pattern[] = "/tmp/verselane-ui-tests-XXXXXX";
  const char* scratch = mkdtemp(pattern);
  if (scratch == nullptr) return 1;
  setenv("XDG_RUNTIME_DIR", scratch, 1);
  setenv("XDG_DATA_HOME", scratch, 1);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ScratchFolderMaker(scratch));

  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    fprintf(stderr, "the window-layer tests need an X display (run them under xvfb-run)\n");
    return 1;
  }
  int result = 0;
  {
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    UnexpectedDialogGuard guard;
    guard.Register();
    result = RUN_ALL_TESTS();
    guard.Unregister();
  }
  verselane::UnloadHelp();
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::filesystem::remove_all(scratch);
  return result;
}
