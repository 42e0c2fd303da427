// What the window-layer tests share: running the event loop for a while, catching modal dialogs,
// the program set up with stand-ins, and reading pixels.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include <unistd.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/image.h>
#include <wx/testing.h>

#include "fakes/desktop_fakes.h"
#include "game/results.h"
#include "ui/program.h"
#include "ui/zoomed_window.h"

// Colours print as their components in test messages.
inline void PrintTo(const wxColour& colour, std::ostream* out) {
  *out << "rgb(" << int(colour.Red()) << ", " << int(colour.Green()) << ", " << int(colour.Blue())
       << ")";
}

namespace verselane::uitest {

// The running test's own empty folder: the program's data folder, and where the test keeps any
// file it makes (ui_test_main.cpp makes one for each test).
const std::string& ScratchFolder();
// `name` in that folder.
std::string ScratchFile(const std::string& name);

// Runs the event loop (timers, painting, input) until `done` or `timeoutMs`; returns done().
inline bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    while (loop != nullptr && loop->Pending()) loop->Dispatch();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return done();
    wxMilliSleep(2);
  }
}

inline void RunEventsFor(int milliseconds) {
  RunEventsUntil([] { return false; }, milliseconds);
}

// A dialog expectation whose failure is a test failure, never a dialog really shown (the test
// would hang): an unexpected dialog fails the test and is answered with Cancel.
class RecordingModalHook : public wxTestingModalHook {
 public:
  RecordingModalHook(const char* file, int line, const char* function)
      : wxTestingModalHook(file, line, function) {
    ++active;
  }
  ~RecordingModalHook() override { --active; }
  static inline int active = 0;

 protected:
  void ReportFailure(const wxString& message) override {
    ADD_FAILURE() << message.utf8_string();
  }
};
#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS ::verselane::uitest::RecordingModalHook

// The main window as the dialogs see it: a window at a zoom, above the middle of the 1280 x 1024
// screen (the widest dialog at 200 % takes nearly all of its width).
class ZoomedOwner : public wxFrame, public ZoomedWindow {
 public:
  explicit ZoomedOwner(double zoom)
      : wxFrame(nullptr, wxID_ANY, "owner", wxPoint(340, 250), wxSize(600, 300)), zoom_(zoom) {}
  double zoom() const override { return zoom_; }

 private:
  double zoom_;
};

// What a message box was asked to show.
struct MessageBoxSeen {
  std::string message;  // UTF-8
  std::string caption;
  long style = 0;
  std::string yesLabel;
  std::string noLabel;
  wxWindow* parent = nullptr;
  int shown = 0;
};

// Expects one of the program's message boxes and answers it with `answer` (wxID_YES, ...).
class ExpectMessageBox
    : public wxExpectModalBase<wxGenericMessageDialog, ExpectMessageBox> {
 public:
  ExpectMessageBox(int answer, MessageBoxSeen* seen = nullptr) : answer_(answer), seen_(seen) {}

 protected:
  int OnInvoked(wxGenericMessageDialog* dialog) const override {
    if (seen_ != nullptr) {
      seen_->message = dialog->GetMessage().utf8_string();
      seen_->caption = dialog->GetTitle().utf8_string();
      seen_->style = dialog->GetMessageDialogStyle();
      seen_->yesLabel = dialog->GetYesLabel().utf8_string();
      seen_->noLabel = dialog->GetNoLabel().utf8_string();
      seen_->parent = dialog->GetParent();
      ++seen_->shown;
    }
    return answer_;
  }

 private:
  int answer_;
  MessageBoxSeen* seen_;
};

// The results dialog as the real one behaves: it shows the run that ended and, on closing,
// hands back to the game.
class ResultsClosingDialogs : public FakeDialogs {
 public:
  void OpenResults(const RunFigures& run, std::function<void(bool)> closed) override {
    FakeDialogs::OpenResults(run, closed);
    lastResults.push_back(BuildResultsView(run));
    closed(false);
  }
  std::vector<ResultsView> lastResults;
};

// The program started as a test drives it: its own lock folder, recorded sounds and dialogs.
class ProgramFixture : public ::testing::Test {
 protected:
  // Starts the program on the test's scratch folder; its window is shown and the game at Idle. A
  // first start in an empty folder shows a notice each for env.ini and record.dat, answered
  // with OK.
  void StartProgram(ProgramOptions options = {}) {
    options.singleInstance = false;
    if (options.dataFolder.empty()) options.dataFolder = ScratchFolder();
    // Never the player's own preferences: a file in the test's folder.
    if (options.preferencesPath.empty()) options.preferencesPath = ScratchFile("verselane.conf");
    // Never the desktop's own input method: one that types Japanese unless a test says otherwise.
    if (options.inputMethod == nullptr) options.inputMethod = &inputMethod_;
    options.dialogs = &dialogs_;
    program_ = std::make_unique<Program>(sound_, options);
    bool started = false;
    wxTEST_DIALOG(started = program_->Start(),
                  ExpectMessageBox(wxID_OK, &startNotices_).Optional(),
                  ExpectMessageBox(wxID_OK, &startNotices_).Optional());
    ASSERT_TRUE(started);
    ASSERT_TRUE(RunEventsUntil([this] { return frame() != nullptr && frame()->IsShown(); }));
    RunEventsFor(100);
  }

  void TearDown() override {
    if (program_ != nullptr && frame() != nullptr) {
      program_->window().frame()->Destroy();
    }
    program_.reset();
    RunEventsFor(20);
  }

  Program& program() { return *program_; }
  MainFrame* frame() { return program_->window().frame(); }
  PlayState state() { return program_->game().playState(); }

  FakeSound sound_;
  FakeInputMethod inputMethod_;
  ResultsClosingDialogs dialogs_;
  MessageBoxSeen startNotices_;
  std::unique_ptr<Program> program_;
};

// What the X server shows in `area` of the screen, taken from outside the program as a player's
// screenshot would be (ImageMagick's import); an invalid image when it cannot be taken.
inline wxImage ScreenshotOf(const wxRect& area) {
  const std::string file = ScratchFile("screenshot.png");
  const std::string command = "import -window root -crop " + std::to_string(area.width) + "x" +
                              std::to_string(area.height) + "+" + std::to_string(area.x) + "+" +
                              std::to_string(area.y) + " +repage " + file;
  if (std::system(command.c_str()) != 0) return {};
  wxImage image;
  image.LoadFile(file, wxBITMAP_TYPE_PNG);
  return image;
}

// Gives this process's main window the X input focus, as a click on it would (there is no window
// manager on the test display to do it).
inline bool FocusMainWindow() {
  const std::string command = "xdotool search --onlyvisible --pid " + std::to_string(getpid()) +
                              " --name '^ Verselane$' windowfocus --sync >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// Pixels of an image as one comparable value per region.
inline bool SameRegion(const wxImage& a, int ax, int ay, const wxImage& b, int bx, int by,
                       int width, int height, std::string* where = nullptr) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool same = a.GetRed(ax + x, ay + y) == b.GetRed(bx + x, by + y) &&
                        a.GetGreen(ax + x, ay + y) == b.GetGreen(bx + x, by + y) &&
                        a.GetBlue(ax + x, ay + y) == b.GetBlue(bx + x, by + y);
      if (!same) {
        if (where != nullptr) {
          *where = "first difference at (" + std::to_string(ax + x) + ", " +
                   std::to_string(ay + y) + ")";
        }
        return false;
      }
    }
  }
  return true;
}

}  // namespace verselane::uitest
