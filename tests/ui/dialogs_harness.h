// The dialogs on a real display, driven the way a player drives them. The program's objects are
// made as the program makes them, with WxDialogs as the dialogs and stand-ins for the rest of the
// desktop. A dialog's modal loop is caught by an expectation (wxTEST_DIALOG), which shows the
// real dialog, lets the test act on it with the mouse and the keyboard, and returns what the
// dialog ended with; nested dialogs are caught by the expectations that follow.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/uiaction.h>

#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "game/command_handler.h"
#include "game/game_controller.h"
#include "game/key_latch.h"
#include "game/menu_state.h"
#include "game/run.h"
#include "records/mode_label.h"
#include "records/record_list.h"
#include "settings/settings_controller.h"
#include "ui/dialogs/dialog_builder.h"
#include "ui/dialogs/wx_dialogs.h"
#include "ui_test_support.h"

namespace verselane::uitest {

// Shows the dialog the program asked to run modally, gives it the pointer (and so the keyboard),
// runs `act` on it and returns what it ended with. A dialog `act` leaves open fails the test.
template <typename Dialog>
class ExpectDialog : public wxExpectModalBase<Dialog, ExpectDialog<Dialog>> {
 public:
  using Action = std::function<void(Dialog&)>;
  explicit ExpectDialog(Action act) : act_(std::move(act)) {}

 protected:
  int OnInvoked(Dialog* dialog) const override {
    dialog->Show();
    dialog->Raise();
    RunEventsUntil([dialog] { return dialog->IsShownOnScreen(); }, 3000);
    RunEventsFor(150);  // mapped, painted, and what it posts to itself when shown is handled
    wxUIActionSimulator pointer;
    const wxRect area = dialog->GetScreenRect();
    pointer.MouseMove(area.x + area.width / 2, area.y + 8);
    RunEventsFor(50);
    act_(*dialog);
    if (!dialog->ended()) {
      ADD_FAILURE() << "the dialog " << dialog->GetTitle().utf8_string() << " is still open";
      dialog->Hide();
      return wxID_CANCEL;
    }
    return dialog->GetReturnCode();
  }

 private:
  Action act_;
};

// Mouse and keyboard. Each returns once what it did has been handled: the window saw the click,
// the dialog saw the key, the control holds the text. `until`, when given, is waited for as well.
inline void Click(wxWindow* window, const std::function<bool()>& until = {}) {
  ASSERT_NE(window, nullptr);
  auto released = std::make_shared<bool>(false);
  window->Bind(wxEVT_LEFT_UP, [released](wxMouseEvent& event) {
    *released = true;
    event.Skip();
  });
  wxUIActionSimulator mouse;
  const wxRect area = window->GetScreenRect();
  mouse.MouseMove(area.x + area.width / 2, area.y + area.height / 2);
  RunEventsUntil([&] { return wxFindWindowAtPoint(wxGetMousePosition()) == window; }, 2000);
  mouse.MouseClick();
  EXPECT_TRUE(RunEventsUntil([&] { return *released && (!until || until()); }))
      << "the click on " << window->GetLabel().utf8_string() << " was not handled";
}
// Clicks at a point of `window`, in its client coordinates.
inline void ClickAt(wxWindow* window, int x, int y) {
  auto released = std::make_shared<bool>(false);
  window->Bind(wxEVT_LEFT_UP, [released](wxMouseEvent& event) {
    *released = true;
    event.Skip();
  });
  wxUIActionSimulator mouse;
  const wxPoint at = window->ClientToScreen(wxPoint(x, y));
  mouse.MouseMove(at.x, at.y);
  RunEventsUntil([&] { return wxFindWindowAtPoint(wxGetMousePosition()) == window; }, 2000);
  mouse.MouseClick();
  EXPECT_TRUE(RunEventsUntil([&] { return *released; })) << "the click was not handled";
}
// Presses a key in `dialog`, the window under the pointer. A button pressed by a key (Enter on
// the default button) clicks only after GTK has shown it pressed for a moment: wait `until` then.
inline void Key(wxWindow* dialog, int keyCode, const std::function<bool()>& until = {},
                int modifiers = wxMOD_NONE) {
  auto seen = std::make_shared<bool>(false);
  dialog->Bind(wxEVT_CHAR_HOOK, [seen](wxKeyEvent& event) {
    *seen = true;
    event.Skip();
  });
  wxUIActionSimulator keyboard;
  keyboard.Char(keyCode, modifiers);
  EXPECT_TRUE(RunEventsUntil([&] { return *seen && (!until || until()); }))
      << "key " << keyCode << " never arrived, or did not do its work";
}
// Presses keys in whatever has the keyboard, such as an open drop-down list (a window of its
// own); the caller then waits for what they do.
inline void Press(std::initializer_list<int> keyCodes) {
  wxUIActionSimulator keyboard;
  for (const int keyCode : keyCodes) keyboard.Char(keyCode);
}
// Types ASCII text into `edit`, which has the focus.
inline void Type(wxTextCtrl* edit, const char* text) {
  const wxString before = edit->GetValue();
  wxUIActionSimulator keyboard;
  keyboard.Text(text);
  EXPECT_TRUE(RunEventsUntil([&] { return edit->GetValue().EndsWith(text); }))
      << "typed " << text << ", the box holds " << edit->GetValue().utf8_string();
}
// Gives `window` the keyboard focus, as a click into it does.
inline void FocusOn(wxWindow* window) {
  window->SetFocus();
  RunEventsUntil([window] { return wxWindow::FindFocus() == window; }, 1000);
}

// True when the focus is on `dialog` or one of its controls.
inline bool FocusIsIn(wxWindow* dialog) {
  for (wxWindow* focus = wxWindow::FindFocus(); focus != nullptr; focus = focus->GetParent()) {
    if (focus == dialog) return true;
    if (focus->IsTopLevel()) return false;
  }
  return false;
}

inline std::string Utf8(const wxString& text) { return text.utf8_string(); }

// A file dialog answered with `path` (or cancelled). GTK takes a path set from outside a while
// to show it: the answer is given once the dialog holds it. `seen` receives the dialog's set-up.
struct FileDialogSeen {
  std::string title;
  std::string wildcard;
  std::string directory;
  std::string filename;
  long style = 0;
  int filterIndex = -1;
  int shown = 0;
};
class ExpectFileDialog : public wxExpectModalBase<wxFileDialog, ExpectFileDialog> {
 public:
  ExpectFileDialog(std::string path, int answer = wxID_OK, FileDialogSeen* seen = nullptr)
      : path_(std::move(path)), answer_(answer), seen_(seen) {}

 protected:
  int OnInvoked(wxFileDialog* dialog) const override {
    if (seen_ != nullptr) {
      seen_->title = Utf8(dialog->GetMessage());
      seen_->wildcard = Utf8(dialog->GetWildcard());
      seen_->directory = Utf8(dialog->GetDirectory());
      seen_->filename = Utf8(dialog->GetFilename());
      seen_->style = dialog->GetWindowStyle();
      seen_->filterIndex = dialog->GetFilterIndex();
      ++seen_->shown;
    }
    if (answer_ != wxID_OK) return answer_;
    const wxString path = wxString::FromUTF8(path_);
    dialog->SetPath(path);
    EXPECT_TRUE(RunEventsUntil([&] { return dialog->GetPath() == path; }))
        << "the file dialog never took " << path_;
    return answer_;
  }

 private:
  std::string path_;
  int answer_;
  FileDialogSeen* seen_;
};

// The program's objects with WxDialogs, over an owner window of their own.
class DialogsFixture : public ::testing::Test {
 protected:
  // With `realFileDialogs` the dialogs ask through GTK file dialogs (caught by expectations),
  // otherwise through the stand-in `files`.
  explicit DialogsFixture(bool realFileDialogs = false)
      : realFiles([this] { return owner_; }, ScratchFolder()),
        dialogs([this] { return owner_; }, game,
                {catalogue, settingsController, records,
                 realFileDialogs ? static_cast<FileChooserPort&>(realFiles) : files, notices,
                 clock, inputMethod, history, plan, romajiInput},
                pickerRandom) {
    owner_ = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(0, 0), wxSize(400, 200));
    owner_->Show();
    RunEventsUntil([this] { return owner_->IsShownOnScreen(); }, 3000);
    game.ResetGame();
  }
  ~DialogsFixture() override {
    owner_->Destroy();
    RunEventsFor(20);
  }

  Settings& settings() { return settingsController.settings(); }
  wxFrame* owner() { return owner_; }

  // Fills the record list with five results scoring `scores`, best first.
  void FillRecords(std::initializer_list<int> scores) {
    for (const int score : scores) {
      ScoreRecord record;
      record.name = "player";
      record.score = score;
      records.InsertRecord(record);
    }
  }
  // The figures of a finished run, as the game opens its results with them (OpenResults).
  void FinishedRun(int questions, int correct, int score, std::initializer_list<int> wrong = {}) {
    finishedRun = RunFigures{score,     correct, questions,
                             0,         ModeLabel(settings().mode(), settings().acceptOmission()),
                             questions, wrong};
  }
  // The results of the run FinishedRun set up, as the game's end opens them.
  void OpenResults() {
    dialogs.RunResults(finishedRun, [this](bool retry) { game.CloseResults(retry); });
  }

  // --- Playing a run tick by tick --------------------------------------------------------
  void StartRun() { commands.Dispatch(kCommandStart); }
  bool TickUntilAnswering() {
    for (int tick = 0; tick < 2000; ++tick) {
      game.Tick();
      if (game.phase() == Phase::kAnswering) return true;
      if (game.playState() != PlayState::Running) return false;
    }
    return false;
  }
  std::string_view ExpectedReading() {
    const int field = settings().mode() == QuestionMode::Reverse ? kUpperReading : kLowerReading;
    return catalogue.FieldView(game.run().question.poem, field);
  }
  // Answers the current question and ticks until the next one is asked or the run ended.
  void Answer(bool correct) {
    desktop.answerBox.text = correct ? std::string(ExpectedReading()) : SjisLiteral("まちがい");
    keys.Store(kEnterKey);
    const int asked = game.run().tallies.asked;
    for (int tick = 0; tick < 2000; ++tick) {
      game.Tick();
      if (!correct && game.phase() == Phase::kReview) keys.Store(kEnterKey);  // past the reading shown
      if (game.playState() != PlayState::Running) return;
      if (game.run().tallies.asked > asked && game.phase() == Phase::kAnswering) return;
    }
  }

  FakeFileChooser files;
  WxFileChooser realFiles;
  FakeClock clock{LocalTime{2026, 3, 7, 9, 5}};
  ScriptedRandom pickerRandom{{28, 28, 0, 5}};
  FakeInputMethod inputMethod;
  bool romajiInput = false;  // the answer line's setting

  const PoemCatalogue catalogue;
  FakeNotices notices;
  SettingsController settingsController{ScratchFile("env.ini")};
  RecordList records{ScratchFile("record.dat")};
  RunFigures finishedRun;
  KeyLatch keys;
  FakeDesktop desktop;
  FakeHistory history;
  const PlanSettings plan;
  SeededRandom gameRandom{7};
  Preferences preferences;
  GameController game{catalogue, settingsController.settings(), settingsController.sources(),
                      preferences, keys, gameRandom, history, desktop.answerBox, desktop.sound,
                      desktop.voice, desktop.inputMethod, desktop.window, desktop.screen,
                      dialogs};
  CommandHandler commands{game,           preferences,     desktop.preferences, desktop.answerBox,
                          desktop.window, desktop.prompts, desktop.notices,     dialogs};
  WxDialogs dialogs;

 private:
  wxFrame* owner_ = nullptr;
};

}  // namespace verselane::uitest
