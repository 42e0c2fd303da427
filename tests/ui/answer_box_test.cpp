// The answer line on a real window: typed characters reach the KeyLatch, Enter reaches only the
// KeyLatch, text committed without keys (an input method's) still reaches it, and the text is
// read as CP932.
#include <algorithm>

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/uiaction.h>

#include "base/shift_jis.h"
#include "game/key_latch.h"
#include "ui/answer_box.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

using uitest::RunEventsFor;
using uitest::RunEventsUntil;

class AnswerBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, " Verselane");
    frame->SetClientSize(400, 150);
    parent = new wxWindow(frame, wxID_ANY, wxPoint(0, 0), wxSize(400, 150));
    ASSERT_NE(box.CreateControl(parent, 76, 60, 308, 28), nullptr);
    ASSERT_TRUE(box.RouteKeys());
    box.control()->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { ++textEnters; });
    frame->Show();
    ASSERT_TRUE(RunEventsUntil([this] { return frame->IsShown(); }));
    box.Show();
    box.Focus();
    RunEventsFor(100);
  }
  void TearDown() override {
    box.DestroyControl();
    frame->Destroy();
    RunEventsFor(20);
  }
  // Types through the X server into the focused line.
  void Type(const std::function<void(wxUIActionSimulator&)>& keys) {
    frame->Raise();
    wxUIActionSimulator simulator;
    simulator.MouseMove(frame->GetScreenPosition() + wxPoint(100, 70));
    ASSERT_TRUE(uitest::FocusMainWindow());
    if (wxWindow::FindFocus() != box.control()) box.Focus();
    RunEventsFor(50);
    keys(simulator);
    RunEventsFor(150);
  }

  KeyLatch keys;
  AnswerBox box{keys};
  wxFrame* frame = nullptr;
  wxWindow* parent = nullptr;
  int textEnters = 0;
};

TEST_F(AnswerBoxTest, TypedCharactersReachTheLatchAndTheLine) {
  Type([](wxUIActionSimulator& sim) { sim.Text("ab"); });
  EXPECT_EQ(box.control()->GetValue(), "ab");
  EXPECT_EQ(keys.Take(), 'b') << "the latch holds the last one";
  EXPECT_EQ(keys.Take(), 0) << "taken once";
}

TEST_F(AnswerBoxTest, EnterReachesOnlyTheLatch) {
  Type([](wxUIActionSimulator& sim) { sim.Text("abc"); });
  keys.Clear();
  Type([](wxUIActionSimulator& sim) { sim.Char(WXK_RETURN); });
  EXPECT_EQ(keys.Take(), kEnterKey);
  EXPECT_EQ(box.control()->GetValue(), "abc") << "the line inserts nothing";
  EXPECT_EQ(textEnters, 0) << "the control never sees the key";
}

TEST_F(AnswerBoxTest, ACharacterAndEnterInOneTickLeaveEnter) {
  Type([](wxUIActionSimulator& sim) {
    sim.Char('x');
    sim.Char(WXK_RETURN);
  });
  EXPECT_EQ(keys.Take(), kEnterKey);
}

TEST_F(AnswerBoxTest, TextCommittedWithoutKeysReachesTheLatch) {
  // An input method commits its text without key events.
  box.control()->WriteText(wxString::FromUTF8("わが"));
  RunEventsFor(20);
  EXPECT_EQ(keys.Take(), 0x304C) << "が, the last character committed";
  box.Clear();
  RunEventsFor(20);
  EXPECT_EQ(keys.Take(), 0) << "clearing the line is no typing";
  EXPECT_EQ(box.control()->GetValue(), "");
}

TEST_F(AnswerBoxTest, TextIsReadAsCp932) {
  box.control()->ChangeValue(wxString::FromUTF8("わがころも手😀"));
  EXPECT_EQ(box.ReadText(), SjisLiteral("わがころも手") + "?");
  box.Clear();
  EXPECT_EQ(box.ReadText(), "");
}

// The darkest channel of any pixel the line shows on screen, over the first letters of its text,
// clear of the caret (before the hint, after the answer) and of the theme's focus ring.
int DarkestOnScreen(const wxWindow* control) {
  const wxImage shot = uitest::ScreenshotOf(control->GetScreenRect());
  int darkest = 255;
  for (int y = 4; y < shot.GetHeight() - 4; ++y) {
    for (int x = 6; x < std::min(shot.GetWidth(), 50); ++x) {
      darkest = std::min({darkest, int{shot.GetRed(x, y)}, int{shot.GetGreen(x, y)},
                          int{shot.GetBlue(x, y)}});
    }
  }
  return darkest;
}

// The hint is drawn grey; once it goes, the answer is drawn in the line's own colour again.
TEST_F(AnswerBoxTest, TheHintIsGreyAndTheAnswerIsNot) {
  ASSERT_TRUE(box.SetTextColour(0, 0, 0));
  box.SetHint("ABCDEFGH");
  RunEventsFor(150);
  EXPECT_GE(DarkestOnScreen(box.control()), 150) << "the hint is grey";
  box.Clear();
  box.control()->ChangeValue("ABCDEFGH");
  RunEventsFor(150);
  EXPECT_LE(DarkestOnScreen(box.control()), 60) << "the answer is black";
}

TEST_F(AnswerBoxTest, HidingGivesTheKeysToTheScreenBehind) {
  ASSERT_TRUE(box.IsVisible());
  ASSERT_EQ(wxWindow::FindFocus(), box.control());
  box.Hide();
  EXPECT_FALSE(box.IsVisible());
  EXPECT_EQ(wxWindow::FindFocus(), parent);
  box.Show();
  EXPECT_TRUE(box.IsVisible());
}

TEST_F(AnswerBoxTest, CreatingAndRoutingKeysTwiceChangeNothing) {
  wxTextCtrl* control = box.control();
  EXPECT_EQ(box.CreateControl(parent, 0, 0, 10, 10), control);
  EXPECT_EQ(control->GetPosition(), wxPoint(76, 60));
  EXPECT_FALSE(box.RouteKeys());
  Type([](wxUIActionSimulator& sim) { sim.Char('q'); });
  EXPECT_EQ(keys.Take(), 'q') << "one key, stored once";
  EXPECT_EQ(box.control()->GetValue(), "q");
}

TEST(AnswerBoxWithoutControlTest, DoesNothingAndReadsNothing) {
  KeyLatch keys;
  AnswerBox box(keys);
  box.DestroyControl();
  box.Show();
  box.Hide();
  box.Clear();
  box.Focus();
  EXPECT_FALSE(box.IsVisible());
  EXPECT_EQ(box.ReadText(), "");
  EXPECT_FALSE(box.RouteKeys());
  EXPECT_FALSE(box.SetTextFont(20, "IPAexGothic"));
  EXPECT_FALSE(box.SetTextColour(100, 100, 100));
}

// Romaji input: keys become hiragana in the line as they are typed, with the letters still
// pending after them; Backspace takes back a letter, then a kana; Enter makes the pending "n"
// into ん before it answers, and the answer is the kana alone.
TEST_F(AnswerBoxTest, RomajiInputTurnsKeysIntoKanaInTheLine) {
  box.SetRomajiInput(true);
  Type([](wxUIActionSimulator& sim) { sim.Text("fujinotakanenik"); });
  EXPECT_EQ(box.control()->GetValue().utf8_string(), "ふじのたかねにk");
  Type([](wxUIActionSimulator& sim) {
    sim.Char(WXK_BACK);
    sim.Char(WXK_BACK);
  });
  EXPECT_EQ(box.control()->GetValue().utf8_string(), "ふじのたかね");
  Type([](wxUIActionSimulator& sim) { sim.Text("nin"); });
  EXPECT_EQ(box.control()->GetValue().utf8_string(), "ふじのたかねにn");
  Type([](wxUIActionSimulator& sim) { sim.Char(WXK_RETURN); });
  EXPECT_EQ(keys.Take(), kEnterKey);
  EXPECT_EQ(box.ReadText(), SjisLiteral("ふじのたかねにん"));
  EXPECT_EQ(textEnters, 0);

  box.Clear();
  EXPECT_EQ(box.ReadText(), "");
  box.SetRomajiInput(false);
  Type([](wxUIActionSimulator& sim) { sim.Text("ka"); });
  EXPECT_EQ(box.ReadText(), "ka") << "off again: keys are taken as typed";
}

// In romaji input the line is edited as any text field, and what it shows is what is read: the
// caret keys, Delete, Backspace and selection act on the kana it holds, letters pending at the
// caret become kana there, kana put in directly stay as they are, and Enter makes a pending "n"
// at the caret into ん.
TEST_F(AnswerBoxTest, RomajiLineReadsWhatItShowsAfterEveryEdit) {
  box.SetRomajiInput(true);
  auto shown = [this] { return box.control()->GetValue().utf8_string(); };
  auto read = [this] { return SjisToUtf8(box.ReadText()).text; };
  Type([](wxUIActionSimulator& sim) {
    sim.Text("kana");
    sim.Char(WXK_HOME);
    sim.Char(WXK_DELETE);
  });
  EXPECT_EQ(shown(), "な");
  EXPECT_EQ(read(), "な");
  Type([](wxUIActionSimulator& sim) {
    sim.Char(WXK_END);
    sim.Text("ka");
    sim.Char(WXK_LEFT);
    sim.Char('n');
  });
  EXPECT_EQ(shown(), "なnか") << "the pending letter at the caret";
  EXPECT_EQ(read(), "なnか");
  Type([](wxUIActionSimulator& sim) { sim.Char('o'); });
  EXPECT_EQ(shown(), "なのか");
  Type([](wxUIActionSimulator& sim) {
    sim.Char(WXK_HOME, wxMOD_SHIFT);
    sim.Char('a');
  });
  EXPECT_EQ(shown(), "あか") << "a selection is typed over";
  box.control()->WriteText(wxString::FromUTF8("つ"));  // as pasted
  EXPECT_EQ(read(), "あつか");
  Type([](wxUIActionSimulator& sim) {
    sim.Char(WXK_BACK);
    sim.Char(WXK_BACK);
    sim.Text("kan");
    sim.Char(WXK_RETURN);
  });
  EXPECT_EQ(keys.Take(), kEnterKey);
  EXPECT_EQ(shown(), "かんか");
  EXPECT_EQ(read(), "かんか");

  // As after a pause: the line hidden, shown and given the focus again keeps its answer.
  Type([](wxUIActionSimulator& sim) { sim.Char(WXK_HOME); });
  box.Hide();
  box.Show();
  box.Focus();
  Type([](wxUIActionSimulator& sim) { sim.Char('a'); });
  EXPECT_EQ(shown(), "かんかあ") << "typed on at the end, nothing typed over";
}

// Alt and Ctrl combinations are never romaji: they reach the menus and their accelerators as
// when the line takes keys as typed.
TEST_F(AnswerBoxTest, RomajiInputLeavesAltAndCtrlKeysToTheMenus) {
  auto* menu = new wxMenu();
  menu->Append(wxID_ZOOM_OUT, "Zoom &out\tCtrl+-");
  auto* bar = new wxMenuBar();
  bar->Append(menu, "&Options");
  frame->SetMenuBar(bar);
  int opened = 0, chosen = 0;
  frame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent&) { ++opened; });
  frame->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++chosen; }, wxID_ZOOM_OUT);
  RunEventsFor(100);
  for (bool romaji : {false, true}) {
    box.SetRomajiInput(romaji);
    opened = chosen = 0;
    Type([](wxUIActionSimulator& sim) { sim.Char('o', wxMOD_ALT); });
    EXPECT_EQ(opened, 1) << "romaji " << romaji;
    Type([](wxUIActionSimulator& sim) { sim.Char(WXK_ESCAPE); });
    Type([](wxUIActionSimulator& sim) { sim.Char('-', wxMOD_CONTROL); });
    EXPECT_EQ(chosen, 1) << "romaji " << romaji;
    EXPECT_EQ(box.control()->GetValue(), "") << "romaji " << romaji;
  }
}

}  // namespace
}  // namespace verselane
