// The program started for real on the X display: the window, its menu and the idle screen, the
// commands with their confirmations, and the answer line across PAUSE and START.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include <wx/menu.h>
#include <wx/uiaction.h>

#include "base/shift_jis.h"
#include "catalogue/phrase_match.h"
#include "fakes/temp_folder.h"
#include "game/frame.h"
#include "game/menu_state.h"
#include "game/reciter.h"
#include "records/answer_history.h"
#include "ui/assets.h"
#include "ui/help.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

using uitest::ExpectMessageBox;
using uitest::MessageBoxSeen;
using uitest::RunEventsFor;
using uitest::RunEventsUntil;
using uitest::SameRegion;

wxImage AssetImage(const char* name) {
  const auto asset = FindAsset(name);
  EXPECT_TRUE(asset.has_value()) << name;
  if (!asset) return {};
  return BitmapFromBytes(asset->data, asset->size)->bitmap().ConvertToImage();
}

// Whether SQLite is in the process (asking does not load it).
bool SqliteLoaded() {
  void* library = dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_NOLOAD);
  if (library == nullptr) return false;
  dlclose(library);
  return true;
}

class MainWindowTest : public uitest::ProgramFixture {
 protected:
  void SetUp() override { StartProgram(); }

  wxMenuBar* menuBar() { return frame()->GetMenuBar(); }
  bool Enabled(int command) { return menuBar()->IsEnabled(command); }
  wxImage BackBuffer() { return program().surface().backBuffer().ConvertToImage(); }
  // What the X server shows of the client area.
  wxImage Screenshot() {
    const wxImage shot = uitest::ScreenshotOf(program().window().view()->GetScreenRect());
    EXPECT_TRUE(shot.IsOk()) << "no screenshot";
    return shot.IsOk() ? shot : wxImage(kClientWidth, kClientHeight);
  }
  // Keys as the player types them, through the X server.
  void PressKeys(const std::function<void(wxUIActionSimulator&)>& keys) {
    frame()->Raise();
    wxUIActionSimulator simulator;
    const wxRect area = program().window().view()->GetScreenRect();
    simulator.MouseMove(area.GetLeft() + 5, area.GetTop() + 5);
    EXPECT_TRUE(uitest::FocusMainWindow());
    RunEventsFor(50);
    keys(simulator);
    RunEventsFor(150);
  }
  // Ticks until the first question is up.
  bool ReachQuestion() {
    return RunEventsUntil([this] { return program().game().phase() == Phase::kAnswering; }, 6000);
  }
};

TEST_F(MainWindowTest, WindowIsFixedCentredAndTitled) {
  EXPECT_EQ(frame()->GetTitle(), " Verselane");
  EXPECT_EQ(frame()->GetClientSize(), wxSize(400, 150));
  EXPECT_EQ(program().window().view()->GetSize(), wxSize(400, 150));
  EXPECT_EQ(frame()->GetMinSize(), frame()->GetSize());
  EXPECT_EQ(frame()->GetMaxSize(), frame()->GetSize());
  EXPECT_FALSE(frame()->HasFlag(wxRESIZE_BORDER));
  EXPECT_FALSE(frame()->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_TRUE(frame()->HasFlag(wxMINIMIZE_BOX));
  EXPECT_TRUE(frame()->GetIcons().GetIconOfExactSize(48).IsOk()) << "icon 101";
  const wxRect screen = wxGetClientDisplayRect();
  const wxRect window = frame()->GetScreenRect();
  EXPECT_NEAR(window.x, (screen.width - window.width) / 2, 1);
  EXPECT_NEAR(window.y, (screen.height - window.height) / 2, 1);
}

TEST_F(MainWindowTest, MenuHasItsTextsAccessKeysAndAccelerators) {
  wxMenuBar* bar = menuBar();
  ASSERT_EQ(bar->GetMenuCount(), 3u);
  EXPECT_EQ(bar->GetMenuLabel(0).utf8_string(), "ゲーム(&G)");
  EXPECT_EQ(bar->GetMenuLabel(1).utf8_string(), "オプション(&O)");
  EXPECT_EQ(bar->GetMenuLabel(2).utf8_string(), "ヘルプ(&H)");
  struct Item {
    int menu;
    int command;
    const char* label;
    int key;
  };
  const Item items[] = {
      {0, kCommandStart, "始める(&S)         ", 'S'},
      {0, kCommandPause, "一時停止する(&P)", 'P'},
      {0, kCommandRestart, "最初からやり直す(&R)", 'R'},
      {0, kCommandWeakPoems, "苦手な歌を練習する(&W)", 0},
      {0, kCommandPlan, "今日の練習 (5首)(&D)", 0},
      {0, kCommandExit, "終了する(&E)", 'E'},
      {1, kCommandSettings, "環境を設定する(&E)", 0},
      {1, kCommandRomajiInput, "ローマ字で入力する(&K)", 'J'},
      {1, kCommandRecite, "読み上げる(&Y)", 0},
      {1, kCommandListenOnly, "聞くだけ(文字を表示しない)", 0},
      {1, kCommandOpening, "序歌から始める(&J)", 0},
      {1, kCommandRecords, "記録を見る(&R)", 0},
      {1, kCommandMastery, "成績を見る(&T)", 0},
      {1, kCommandPlanSettings, "学習の設定(&L)", 0},
      {2, kCommandHelp, "ヘルプを見る(&H)", 0},
      {2, kCommandVersion, "バージョン情報を見る(&V)", 0},
  };
  for (const Item& expected : items) {
    wxMenu* menu = nullptr;
    wxMenuItem* item = bar->FindItem(expected.command, &menu);
    ASSERT_NE(item, nullptr) << expected.command;
    EXPECT_EQ(menu, bar->GetMenu(expected.menu)) << expected.command;
    EXPECT_EQ(item->GetItemLabel().BeforeFirst('\t').utf8_string(), expected.label);
    wxAcceleratorEntry* accelerator = item->GetAccel();
    if (expected.key == 0) {
      EXPECT_EQ(accelerator, nullptr) << expected.command;
    } else {
      ASSERT_NE(accelerator, nullptr) << expected.command;
      EXPECT_EQ(accelerator->GetFlags(), wxACCEL_CTRL);
      EXPECT_EQ(accelerator->GetKeyCode(), expected.key);
      delete accelerator;
    }
  }
  for (int command : {kCommandRomajiInput, kCommandRecite, kCommandListenOnly, kCommandOpening}) {
    EXPECT_TRUE(bar->FindItem(command)->IsCheckable()) << command;
  }
  // The voice can be chosen where it is installed; listening only and the opening poem wait for
  // it to be on.
  const PoemCatalogue catalogue;
  EXPECT_EQ(bar->IsEnabled(kCommandRecite), Reciter(VoiceSetup{}, catalogue).Installed());
  EXPECT_FALSE(bar->IsEnabled(kCommandListenOnly));
  EXPECT_FALSE(bar->IsEnabled(kCommandOpening));
  wxMenu* options = bar->GetMenu(1);
  ASSERT_EQ(options->GetMenuItemCount(), 11u);
  wxMenuItem* zoom = options->FindItemByPosition(2);
  EXPECT_EQ(zoom->GetItemLabel().utf8_string(), "表示の大きさ(&Z)");
  ASSERT_TRUE(zoom->IsSubMenu());
  const std::pair<int, const char*> zooms[] = {
      {kCommandZoom100, "100 %(&1)"}, {kCommandZoom150, "150 %(&5)"}, {kCommandZoom200, "200 %(&2)"}};
  for (const auto& [command, label] : zooms) {
    wxMenu* menu = nullptr;
    wxMenuItem* item = bar->FindItem(command, &menu);
    ASSERT_NE(item, nullptr) << command;
    EXPECT_EQ(menu, zoom->GetSubMenu());
    EXPECT_EQ(item->GetItemLabel().utf8_string(), label);
    EXPECT_EQ(item->GetKind(), wxITEM_RADIO);
  }
  EXPECT_TRUE(bar->IsChecked(kCommandZoom100)) << "100 % with no preferences kept";
  wxMenu* game = bar->GetMenu(0);
  ASSERT_EQ(game->GetMenuItemCount(), 7u);
  EXPECT_EQ(game->FindItemByPosition(3)->GetId(), kCommandWeakPoems);
  EXPECT_EQ(game->FindItemByPosition(4)->GetId(), kCommandPlan);
  EXPECT_TRUE(game->FindItemByPosition(5)->IsSeparator());
  EXPECT_EQ(game->FindItemByPosition(6)->GetId(), kCommandExit);
}

TEST_F(MainWindowTest, StartsAtIdleWithItsMenuStates) {
  EXPECT_EQ(state(), PlayState::Idle);
  EXPECT_TRUE(Enabled(kCommandStart));
  EXPECT_FALSE(Enabled(kCommandPause));
  EXPECT_FALSE(Enabled(kCommandRestart));
  EXPECT_TRUE(Enabled(kCommandSettings));
  EXPECT_TRUE(Enabled(kCommandRecords));
  EXPECT_TRUE(Enabled(kCommandMastery));
  EXPECT_FALSE(Enabled(kCommandWeakPoems)) << "no history yet";
  EXPECT_TRUE(Enabled(kCommandPlan)) << "the first new poems";
  EXPECT_TRUE(Enabled(kCommandPlanSettings));
  EXPECT_TRUE(Enabled(kCommandHelp));
  EXPECT_TRUE(Enabled(kCommandVersion));
  EXPECT_TRUE(Enabled(kCommandExit));
  EXPECT_EQ(startNotices_.shown, 2) << "no env.ini and no record.dat yet; history.sqlite3 is "
                                       "made without one";
  EXPECT_EQ(startNotices_.caption, "Notice");
  EXPECT_EQ(startNotices_.style & (wxOK | wxICON_EXCLAMATION), wxOK | wxICON_EXCLAMATION);
  EXPECT_TRUE(std::filesystem::exists(uitest::ScratchFile("env.ini")))
      << "written anew at the first start";
  EXPECT_TRUE(std::filesystem::exists(uitest::ScratchFile("record.dat")));
  // The history was made and looked at, then let go with its library until the first answer.
  EXPECT_TRUE(std::filesystem::exists(uitest::ScratchFile(kHistoryFileName)));
  EXPECT_FALSE(SqliteLoaded());
}

TEST_F(MainWindowTest, AnswerLineIsBuiltHiddenOverTheScreen) {
  wxTextCtrl* line = program().answerBox().control();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetParent(), program().window().view());
  EXPECT_EQ(line->GetPosition(), wxPoint(76, 60));
  EXPECT_EQ(line->GetSize(), wxSize(308, 28));
  EXPECT_FALSE(line->IsShown());
  EXPECT_EQ(line->GetForegroundColour(), wxColour(100, 100, 100));
  EXPECT_EQ(line->GetBackgroundColour(), wxColour(255, 255, 255));
  EXPECT_EQ(line->GetFont().GetPixelSize().y, 20);
  EXPECT_EQ(line->GetFont().GetFaceName(), "IPAexGothic");
  EXPECT_FALSE(line->HasFlag(wxBORDER_SIMPLE) || line->HasFlag(wxBORDER_SUNKEN));
}

// The idle screen, region by region, against the pictures it is made of: fonts play no part.
TEST_F(MainWindowTest, IdleScreenShowsItsPicturesInPlace) {
  const wxImage shown = Screenshot();
  const wxImage buffer = BackBuffer();
  std::string where;
  EXPECT_TRUE(SameRegion(shown, 0, 0, buffer, 0, 0, 400, 150, &where))
      << "the window shows the back buffer; " << where;

  const wxImage background = AssetImage("bitmap-130.png");
  const wxImage upper = AssetImage("bitmap-136.png");
  const wxImage lower = AssetImage("bitmap-137.png");
  const wxImage large = AssetImage("bitmap-132.png");
  const wxImage small = AssetImage("bitmap-133.png");
  const wxImage second = AssetImage("bitmap-134.png");
  const wxImage colon = AssetImage("bitmap-135.png");
  const wxImage left = AssetImage("bitmap-142.png");
  const wxImage body = AssetImage("bitmap-143.png");
  const wxImage right = AssetImage("bitmap-144.png");
  EXPECT_TRUE(SameRegion(shown, 23, 11, upper, 0, 0, 25, 25, &where)) << "upper icon " << where;
  EXPECT_TRUE(SameRegion(shown, 23, 55, lower, 0, 0, 25, 25, &where)) << "lower icon " << where;
  EXPECT_TRUE(SameRegion(shown, 76, 8, background, 76, 8, 308, 42, &where))
      << "no prompt " << where;
  EXPECT_TRUE(SameRegion(shown, 70, 53, background, 70, 53, 314, 41, &where))
      << "no answer line, banner or pop-up " << where;
  EXPECT_TRUE(SameRegion(shown, 123, 126, large, 0, 0, 14, 15, &where)) << "0% " << where;
  EXPECT_TRUE(SameRegion(shown, 251, 132, small, 0, 0, 9, 11, &where)) << "0 pt " << where;
  EXPECT_TRUE(SameRegion(shown, 36, 98, small, 0, 0, 9, 11, &where)) << "0 correct " << where;
  EXPECT_TRUE(SameRegion(shown, 43, 126, second, 0, 0, 9, 11, &where)) << "0 asked " << where;
  for (int x : {320, 329, 345, 354, 370, 379}) {
    EXPECT_TRUE(SameRegion(shown, x, 132, small, 0, 0, 9, 11, &where)) << "clock 0 at " << x;
  }
  EXPECT_TRUE(SameRegion(shown, 338, 132, colon, 0, 0, 7, 11, &where)) << "colon " << where;
  EXPECT_TRUE(SameRegion(shown, 363, 132, colon, 0, 0, 7, 11, &where)) << "colon " << where;
  EXPECT_TRUE(SameRegion(shown, 81, 103, left, 0, 0, 6, 9, &where)) << "bar left " << where;
  for (int x = 87; x < 387; x += 37) {
    EXPECT_TRUE(SameRegion(shown, x, 103, body, 0, 0, 1, 9, &where)) << "bar body at " << x;
  }
  EXPECT_TRUE(SameRegion(shown, 387, 103, right, 0, 0, 6, 9, &where)) << "bar right " << where;
  EXPECT_TRUE(SameRegion(shown, 0, 0, background, 0, 0, 400, 8, &where)) << "top edge " << where;
}

// The zoom: client area, back buffer, pictures drawn at that size, the answer line and its font,
// the radio item and verselane.conf, and back to 100 %.
TEST_F(MainWindowTest, ZoomSizesTheScreenAndTheAnswerLineWithIt) {
  struct Expected {
    int command;
    wxSize client;
    wxRect line;
    int fontPixels;
    const char* kept;
  };
  const Expected zooms[] = {
      {kCommandZoom200, {800, 300}, {152, 120, 616, 56}, 40, "zoom=2\n"},
      {kCommandZoom150, {600, 225}, {114, 90, 462, 42}, 30, "zoom=1.5\n"},
      {kCommandZoom100, {400, 150}, {76, 60, 308, 28}, 20, "zoom=1\n"},
  };
  for (const Expected& zoom : zooms) {
    program().commands().Dispatch(zoom.command);
    RunEventsFor(200);
    EXPECT_EQ(frame()->GetClientSize(), zoom.client) << zoom.kept;
    EXPECT_EQ(program().window().view()->GetSize(), zoom.client);
    EXPECT_EQ(frame()->GetMinSize(), frame()->GetSize()) << "still fixed";
    EXPECT_EQ(frame()->GetMaxSize(), frame()->GetSize());
    EXPECT_EQ(BackBuffer().GetSize(), zoom.client) << "a pixel of its own for every pixel shown";
    EXPECT_TRUE(menuBar()->IsChecked(zoom.command));
    wxTextCtrl* line = program().answerBox().control();
    EXPECT_EQ(line->GetRect(), zoom.line);
    // Sized from the face's proportions, the font's cell lands within a pixel of the size asked,
    // never above it.
    EXPECT_LE(line->GetFont().GetPixelSize().y, zoom.fontPixels);
    EXPECT_GE(line->GetFont().GetPixelSize().y, zoom.fontPixels - 1);
    EXPECT_NE(ReadBytes(uitest::ScratchFile("verselane.conf")).find(zoom.kept), std::string::npos);
  }
  program().commands().Dispatch(kCommandZoom200);
  RunEventsFor(200);
  const wxImage shown = Screenshot();
  std::string where;
  EXPECT_TRUE(SameRegion(shown, 0, 0, BackBuffer(), 0, 0, 800, 300, &where)) << where;
  EXPECT_TRUE(SameRegion(shown, 46, 22, AssetImage("bitmap-136@2x.png"), 0, 0, 50, 50, &where))
      << "the upper icon as drawn at twice the size " << where;
  EXPECT_TRUE(SameRegion(shown, 0, 0, AssetImage("bitmap-130@2x.png"), 0, 0, 800, 16, &where))
      << "top edge " << where;
}

// At any desktop scale (the suite runs once more under GDK_SCALE=2) the buffer has a pixel for
// every device pixel of the view, drawn from the pictures made at that size, while GTK places
// the answer line in logical pixels as at 1x.
TEST_F(MainWindowTest, ScreenIsDrawnAtTheDesktopScale) {
  const int desktop = static_cast<int>(program().window().view()->GetContentScaleFactor());
  if (const char* asked = std::getenv("GDK_SCALE")) {
    EXPECT_EQ(desktop, std::atoi(asked));
  }
  EXPECT_EQ(program().window().view()->GetSize(), wxSize(400, 150));
  const wxImage buffer = BackBuffer();
  EXPECT_EQ(buffer.GetSize(), wxSize(400 * desktop, 150 * desktop));
  const std::string icon =
      desktop == 1 ? "bitmap-136.png" : "bitmap-136@" + std::to_string(desktop) + "x.png";
  std::string where;
  EXPECT_TRUE(SameRegion(buffer, 23 * desktop, 11 * desktop, AssetImage(icon.c_str()), 0, 0,
                         25 * desktop, 25 * desktop, &where))
      << icon << " " << where;
  EXPECT_EQ(program().answerBox().control()->GetRect(), wxRect(76, 60, 308, 28));
}

// The zoom kept from the last time is the window's from its first showing: centred at that size,
// drawn at it, its radio item checked, the answer line in its place.
class KeptZoomTest : public uitest::ProgramFixture {};

TEST_F(KeptZoomTest, TheKeptZoomIsTheWindowsFromTheStart) {
  WriteBytes(uitest::ScratchFile("verselane.conf"), "[view]\nzoom=1.5\n");
  StartProgram();
  EXPECT_EQ(frame()->GetClientSize(), wxSize(600, 225));
  EXPECT_EQ(program().surface().backBuffer().GetSize(), wxSize(600, 225));
  EXPECT_TRUE(frame()->GetMenuBar()->IsChecked(kCommandZoom150));
  EXPECT_FALSE(frame()->GetMenuBar()->IsChecked(kCommandZoom100));
  EXPECT_EQ(program().answerBox().control()->GetRect(), wxRect(114, 90, 462, 42));
  const wxRect screen = wxGetClientDisplayRect();
  const wxRect window = frame()->GetScreenRect();
  EXPECT_NEAR(window.x, (screen.width - window.width) / 2, 1);
  EXPECT_NEAR(window.y, (screen.height - window.height) / 2, 1);
}

// A first start on a desktop whose input method types no Japanese: romaji input is on from the
// first question, checked in the menu and kept at once. Its key works in the middle of a
// question, and the answer line takes the letters typed next as the switch says.
class FirstStartWithoutJapaneseTest : public MainWindowTest {
 protected:
  void SetUp() override {
    inputMethod_.japanese = false;
    StartProgram();
  }
};

TEST_F(FirstStartWithoutJapaneseTest, RomajiIsOnAndItsKeyWorksDuringAQuestion) {
  const std::string conf = uitest::ScratchFile("verselane.conf");
  EXPECT_TRUE(menuBar()->IsChecked(kCommandRomajiInput));
  EXPECT_EQ(ReadBytes(conf), "[input]\nromaji=true\n[view]\nzoom=1\n");
  program().commands().Dispatch(kCommandStart);
  ASSERT_TRUE(ReachQuestion());
  EXPECT_TRUE(Enabled(kCommandRomajiInput));

  PressKeys([](wxUIActionSimulator& keys) { keys.Char('j', wxMOD_CONTROL); });
  EXPECT_FALSE(menuBar()->IsChecked(kCommandRomajiInput));
  EXPECT_EQ(ReadBytes(conf), "[input]\nromaji=false\n[view]\nzoom=1\n");
  EXPECT_EQ(state(), PlayState::Running);
  PressKeys([](wxUIActionSimulator& keys) {
    keys.Char('j', wxMOD_CONTROL);
    keys.Char('k');
    keys.Char('a');
  });
  EXPECT_TRUE(menuBar()->IsChecked(kCommandRomajiInput));
  EXPECT_EQ(program().answerBox().ReadText(), SjisLiteral("か"));
}

// The history is opened only once the window shows: one that already holds answers offers the
// weak poems from then on.
class KeptHistoryTest : public uitest::ProgramFixture {};

TEST_F(KeptHistoryTest, AHistoryWithAnswersOffersTheWeakPoemsOnceOpened) {
  {
    FakeNotices notices;
    AnswerRecorder kept(uitest::ScratchFile(kHistoryFileName), notices);
    ASSERT_TRUE(kept.Open());
    kept.RecordAnswer({7, QuestionMode::Normal, false, 15000, 0, 0, {}});
    kept.Flush();
  }
  StartProgram();
  EXPECT_TRUE(
      RunEventsUntil([this] { return frame()->GetMenuBar()->IsEnabled(kCommandWeakPoems); }));
}

TEST_F(MainWindowTest, StartRunsTheCountdownAndPutsAQuestion) {
  program().commands().Dispatch(kCommandStart);
  EXPECT_EQ(state(), PlayState::Running);
  EXPECT_FALSE(Enabled(kCommandStart));
  EXPECT_TRUE(Enabled(kCommandPause));
  EXPECT_TRUE(Enabled(kCommandRestart));
  EXPECT_FALSE(Enabled(kCommandSettings));
  EXPECT_FALSE(Enabled(kCommandRecords));
  EXPECT_FALSE(Enabled(kCommandMastery));
  EXPECT_FALSE(Enabled(kCommandWeakPoems));
  EXPECT_FALSE(Enabled(kCommandPlan));
  EXPECT_FALSE(Enabled(kCommandPlanSettings));
  EXPECT_FALSE(Enabled(kCommandHelp));
  EXPECT_FALSE(Enabled(kCommandVersion));
  EXPECT_TRUE(Enabled(kCommandExit));

  // "START !!" in grey over the answer line's place during the first second.
  RunEventsFor(400);
  const wxImage background = AssetImage("bitmap-130.png");
  std::string where;
  EXPECT_FALSE(SameRegion(Screenshot(), 70, 53, background, 70, 53, 308, 41, &where))
      << "START !! shows";
  ASSERT_TRUE(ReachQuestion());
  RunEventsFor(100);
  EXPECT_TRUE(program().answerBox().IsVisible());
  EXPECT_EQ(wxWindow::FindFocus(), program().answerBox().control());
  EXPECT_FALSE(SameRegion(Screenshot(), 76, 8, background, 76, 8, 308, 42, &where))
      << "the prompt's first kana shows";
}

// A question on screen, region by region: the prompt's first kana in grey at the left of its box
// and nothing else there, the answer line, the marker beside it, the bar running.
TEST_F(MainWindowTest, QuestionScreenShowsItsPartsInPlace) {
  program().commands().Dispatch(kCommandStart);
  ASSERT_TRUE(ReachQuestion());
  RunEventsFor(120);
  const GameFrame frame = ComposeFrame(program().game(), program().catalogue(), program().settings().settings().mode());
  ASSERT_EQ(frame.reveal, 1);
  ASSERT_TRUE(frame.markerShown);
  const wxImage shown = Screenshot();
  const wxImage background = AssetImage("bitmap-130.png");
  const wxImage marker = AssetImage("bitmap-139.png");
  std::string where;
  EXPECT_TRUE(SameRegion(shown, 23, 11, AssetImage("bitmap-136.png"), 0, 0, 25, 25, &where))
      << where;
  int darkest = 255;
  int inkRight = 0;
  for (int y = 8; y < 50; ++y) {
    for (int x = 76; x < 384; ++x) {
      if (shown.GetRed(x, y) != background.GetRed(x, y)) inkRight = std::max(inkRight, x);
      darkest = std::min<int>(darkest, shown.GetRed(x, y));
    }
  }
  EXPECT_NEAR(darkest, 100, 12) << "the prompt in grey (100, 100, 100)";
  EXPECT_GT(inkRight, 76 + 10);
  EXPECT_LT(inkRight, 76 + 30) << "one kana, 25 pixels wide, at the left of the box";
  EXPECT_TRUE(SameRegion(shown, 70, 62, marker, 7 * frame.markerFrame, 0, 6, 25, &where))
      << "marker frame " << frame.markerFrame << ": " << where;
  EXPECT_EQ(shown.GetRed(200, 74), 255) << "the answer line";
  EXPECT_TRUE(SameRegion(shown, 81, 103, AssetImage("bitmap-142.png"), 0, 0, 6, 9, &where))
      << "bar cap " << where;
}

// The zoom keys of Linux programs work from the answer line during a question and leave its text
// alone; F1 asks for the help, which pauses the run.
TEST_F(MainWindowTest, ZoomKeysAndF1WorkDuringAQuestion) {
  program().commands().Dispatch(kCommandStart);
  ASSERT_TRUE(ReachQuestion());
  wxTextCtrl* line = program().answerBox().control();
  const wxString typed = wxString::FromUTF8("あきの");
  line->ChangeValue(typed);
  struct Step {
    int key;
    int modifiers;
    int width;
  };
  const Step steps[] = {
      {'=', wxMOD_CONTROL, 600},                  {'=', wxMOD_CONTROL | wxMOD_SHIFT, 800},
      {'-', wxMOD_CONTROL, 600},                  {'0', wxMOD_CONTROL, 400},
      {WXK_NUMPAD_ADD, wxMOD_CONTROL, 600},       {WXK_NUMPAD_SUBTRACT, wxMOD_CONTROL, 400},
  };
  for (const Step& step : steps) {
    PressKeys([&](wxUIActionSimulator& keys) { keys.Char(step.key, step.modifiers); });
    EXPECT_EQ(frame()->GetClientSize().x, step.width) << "key " << step.key;
    EXPECT_EQ(line->GetValue(), typed) << "key " << step.key;
    EXPECT_EQ(state(), PlayState::Running);
  }
  PressKeys([](wxUIActionSimulator& keys) { keys.Char(WXK_F1); });
  EXPECT_EQ(state(), PlayState::Paused);
  CloseHelp();
}

// At 100 % and 200 %: letters that make no kana leave the question open with the line as it was;
// then a misconversion: the answer, the phrase as written and its reading fit the answer panel
// one under the other; the answer and the phrase as written are marked in deep red from the
// wrong kanji on, the reading not at all. With VERSELANE_SHOTS set to a folder the screens are
// kept there (kana-100.png, miss-100.png, ...).
TEST_F(MainWindowTest, AMisconversionAtEitherSizeIsMarkedAgainstThePhraseAsWritten) {
  const std::pair<int, int> zooms[] = {{kCommandZoom100, 1}, {kCommandZoom200, 2}};
  for (const auto& [command, zoom] : zooms) {
    SCOPED_TRACE(zoom);
    program().commands().Dispatch(command);
    program().commands().Dispatch(kCommandStart);
    ASSERT_TRUE(ReachQuestion());
    wxTextCtrl* line = program().answerBox().control();
    line->ChangeValue("xq");
    PressKeys([](wxUIActionSimulator& keys) { keys.Char(WXK_RETURN); });
    EXPECT_EQ(program().game().phase(), Phase::kAnswering);
    EXPECT_TRUE(line->IsShown());
    EXPECT_EQ(line->GetValue(), "xq");
    if (const char* folder = std::getenv("VERSELANE_SHOTS")) {
      Screenshot().SaveFile(std::string(folder) + "/kana-" + std::to_string(100 * zoom) + ".png",
                            wxBITMAP_TYPE_PNG);
    }
    // The phrase as written with its first kanji typed as another.
    const int poem = program().game().run().question.poem;
    std::string typed(WrittenPhrase(program().catalogue(), poem, Phrase::kLower));
    std::size_t kanji = 0;
    while (!HoldsKanji(typed.substr(kanji, 2))) kanji += 2;
    const std::string other = SjisLiteral(typed.substr(kanji, 2) == SjisLiteral("誤") ? "違" : "誤");
    typed.replace(kanji, 2, other);
    line->ChangeValue(wxString::FromUTF8(SjisToUtf8(typed).text));
    PressKeys([](wxUIActionSimulator& keys) { keys.Char(WXK_RETURN); });
    ASSERT_TRUE(
        RunEventsUntil([this] { return program().game().phase() == Phase::kReview; }, 3000));
    RunEventsFor(600);  // the fade
    const wxImage shown = Screenshot();
    if (const char* folder = std::getenv("VERSELANE_SHOTS")) {
      shown.SaveFile(std::string(folder) + "/miss-" + std::to_string(100 * zoom) + ".png",
                     wxBITMAP_TYPE_PNG);
    }
    const wxImage background = AssetImage(zoom == 1 ? "bitmap-130.png" : "bitmap-130@2x.png");
    // The rows the marks fall in (answer, phrase as written, reading), and the ink's extent.
    int marked[3] = {0, 0, 0};
    int inkTop = 1000, inkBottom = 0, markedRight = 0;
    for (int y = zoom * 54; y < zoom * 103; ++y) {  // the time bar is red too in this mode
      for (int x = zoom * 76; x < zoom * 400; ++x) {
        const int red = shown.GetRed(x, y), green = shown.GetGreen(x, y);
        if (red > 150 && green < 70) {
          ++marked[y < zoom * 67 ? 0 : y < zoom * 80 ? 1 : 2];
          markedRight = std::max(markedRight, x);
        }
        if (red != background.GetRed(x, y) || green != background.GetGreen(x, y)) {
          inkTop = std::min(inkTop, y);
          inkBottom = std::max(inkBottom, y);
        }
      }
    }
    EXPECT_GT(marked[0], 0) << "the answer's wrong part";
    EXPECT_GT(marked[1], 0) << "the phrase as written from the kanji missed";
    EXPECT_EQ(marked[2], 0) << "the reading unmarked";
    EXPECT_LT(markedRight, zoom * (76 + 308)) << "never clipped";
    EXPECT_GE(inkTop, zoom * 54) << "in the answer panel";
    EXPECT_LE(inkBottom, zoom * 94) << "above the panel's lower edge";
    EXPECT_FALSE(line->IsShown());
    program().game().ResetGame();
  }
}

TEST_F(MainWindowTest, AnswerLineIsAPlainWhiteStripWithGreyText) {
  program().commands().Dispatch(kCommandStart);
  ASSERT_TRUE(ReachQuestion());
  PressKeys([](wxUIActionSimulator& keys) { keys.Text("kaze"); });
  ASSERT_EQ(program().answerBox().control()->GetValue(), "kaze");
  const wxImage shown = Screenshot();
  const wxColour white(255, 255, 255);
  for (int x = 76; x < 76 + 308; ++x) {
    ASSERT_EQ(wxColour(shown.GetRed(x, 60), shown.GetGreen(x, 60), shown.GetBlue(x, 60)), white)
        << "no frame or focus ring along the top, x = " << x;
    ASSERT_EQ(wxColour(shown.GetRed(x, 87), shown.GetGreen(x, 87), shown.GetBlue(x, 87)), white)
        << "nor along the bottom, x = " << x;
  }
  int darkest = 255;
  int inkRight = 0;
  for (int y = 61; y < 87; ++y) {
    for (int x = 77; x < 383; ++x) {
      const int red = shown.GetRed(x, y);
      if (red < 230) inkRight = std::max(inkRight, x);
      darkest = std::min(darkest, red);
    }
  }
  EXPECT_NEAR(darkest, 100, 10) << "grey text (100, 100, 100)";
  EXPECT_GT(inkRight, 100) << "four letters typed";
  EXPECT_LT(inkRight, 160);
}

TEST_F(MainWindowTest, PauseHidesTheAnswerLineAndStartShowsItAgain) {
  program().commands().Dispatch(kCommandStart);
  ASSERT_TRUE(ReachQuestion());
  wxTextCtrl* line = program().answerBox().control();
  RunEventsFor(100);
  ASSERT_TRUE(line->IsShown());
  const int seconds = program().game().seconds(GameClock::kQuestion);

  PressKeys([](wxUIActionSimulator& keys) { keys.Char('p', wxMOD_CONTROL); });
  EXPECT_EQ(state(), PlayState::Paused);
  EXPECT_FALSE(line->IsShown());
  RunEventsFor(1200);
  EXPECT_EQ(program().game().seconds(GameClock::kQuestion), seconds) << "the clocks stand still";

  // Paused, START is greyed in the menu; the command itself resumes.
  EXPECT_FALSE(Enabled(kCommandStart));
  program().commands().Dispatch(kCommandStart);
  EXPECT_EQ(state(), PlayState::Running);
  EXPECT_TRUE(line->IsShown());
  EXPECT_EQ(wxWindow::FindFocus(), line);
  RunEventsFor(1100);
  EXPECT_GT(program().game().seconds(GameClock::kQuestion), seconds) << "the clocks run again";

  // PAUSE twice: paused, then running again with the line shown.
  PressKeys([](wxUIActionSimulator& keys) { keys.Char('p', wxMOD_CONTROL); });
  EXPECT_EQ(state(), PlayState::Paused);
  PressKeys([](wxUIActionSimulator& keys) { keys.Char('p', wxMOD_CONTROL); });
  EXPECT_EQ(state(), PlayState::Running);
  EXPECT_TRUE(line->IsShown());
}

TEST_F(MainWindowTest, ResumingBeforeTheFirstQuestionKeepsTheLineHidden) {
  program().commands().Dispatch(kCommandStart);
  RunEventsFor(200);
  program().commands().Dispatch(kCommandPause);
  program().commands().Dispatch(kCommandPause);
  EXPECT_EQ(state(), PlayState::Running);
  EXPECT_FALSE(program().answerBox().IsVisible()) << "it was hidden at the pause";
}

TEST_F(MainWindowTest, CtrlSWhileRunningDoesNothing) {
  PressKeys([](wxUIActionSimulator& keys) { keys.Char('s', wxMOD_CONTROL); });
  ASSERT_EQ(state(), PlayState::Running);
  RunEventsFor(300);
  const Phase phase = program().game().phase();
  PressKeys([](wxUIActionSimulator& keys) { keys.Char('s', wxMOD_CONTROL); });
  EXPECT_EQ(state(), PlayState::Running);
  EXPECT_GE(program().game().phase(), phase) << "the run was not started again";
  EXPECT_EQ(program().game().run().tallies.asked, 0);
}

TEST_F(MainWindowTest, RestartAnsweredNoLeavesTheRunPausedAndYesResets) {
  program().commands().Dispatch(kCommandStart);
  RunEventsFor(200);
  MessageBoxSeen seen;
  wxTEST_DIALOG(PressKeys([](wxUIActionSimulator& keys) { keys.Char('r', wxMOD_CONTROL); }),
                ExpectMessageBox(wxID_NO, &seen));
  EXPECT_EQ(seen.shown, 1);
  EXPECT_EQ(seen.caption, " リセットの確認");
  EXPECT_EQ(seen.message, "ゲームをリセットします。\nよろしいですか？");
  EXPECT_EQ(seen.style & (wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION),
            wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  EXPECT_EQ(seen.yesLabel, "はい(&Y)");
  EXPECT_EQ(seen.noLabel, "いいえ(&N)");
  EXPECT_EQ(state(), PlayState::Paused);

  // While paused, RESTART asks at once; Yes goes back to Idle.
  wxTEST_DIALOG(PressKeys([](wxUIActionSimulator& keys) { keys.Char('r', wxMOD_CONTROL); }),
                ExpectMessageBox(wxID_YES, &seen));
  EXPECT_EQ(seen.shown, 2);
  EXPECT_EQ(state(), PlayState::Idle);
  EXPECT_TRUE(Enabled(kCommandStart));
  EXPECT_FALSE(Enabled(kCommandPause));
}

TEST_F(MainWindowTest, ExitAnsweredNoKeepsTheProgramAndYesClosesIt) {
  MessageBoxSeen seen;
  wxTEST_DIALOG(PressKeys([](wxUIActionSimulator& keys) { keys.Char('e', wxMOD_CONTROL); }),
                ExpectMessageBox(wxID_NO, &seen));
  EXPECT_EQ(seen.caption, " 終了の確認");
  EXPECT_EQ(seen.message, "「Verselane」を終了します。\nよろしいですか？");
  EXPECT_EQ(seen.style & wxNO_DEFAULT, wxNO_DEFAULT);
  ASSERT_NE(frame(), nullptr);
  EXPECT_TRUE(frame()->IsShown());

  // Settings changed since the start are written as the window goes.
  program().settings().MarkChanged();
  std::filesystem::remove(uitest::ScratchFile("env.ini"));
  wxTEST_DIALOG(PressKeys([](wxUIActionSimulator& keys) { keys.Char('e', wxMOD_CONTROL); }),
                ExpectMessageBox(wxID_YES, &seen));
  EXPECT_TRUE(program().window().destroyed());
  EXPECT_TRUE(std::filesystem::exists(uitest::ScratchFile("env.ini")));
  EXPECT_TRUE(RunEventsUntil([this] { return frame() == nullptr; }));
}

TEST_F(MainWindowTest, NoticesAndConfirmationsBelongToTheMainWindow) {
  EXPECT_EQ(startNotices_.shown, 2);
  EXPECT_EQ(startNotices_.parent, nullptr) << "the window was not shown yet";
  MessageBoxSeen seen;
  wxTEST_DIALOG(program().messageBoxes().ShowNotice("NOTICE", "Notice", NoticeIcon::kExclamation),
                ExpectMessageBox(wxID_OK, &seen));
  EXPECT_EQ(seen.parent, frame());
  wxTEST_DIALOG(program().commands().Dispatch(kCommandExit), ExpectMessageBox(wxID_NO, &seen));
  EXPECT_EQ(seen.shown, 2);
  EXPECT_EQ(seen.parent, frame());
}

TEST_F(MainWindowTest, ClosingTheWindowAsksWithoutPausingAgain) {
  program().commands().Dispatch(kCommandStart);
  RunEventsFor(100);
  program().commands().Dispatch(kCommandPause);
  ASSERT_EQ(state(), PlayState::Paused);
  MessageBoxSeen seen;
  bool closed = true;
  wxTEST_DIALOG(closed = frame()->Close(), ExpectMessageBox(wxID_NO, &seen));
  EXPECT_FALSE(closed) << "the close is refused";
  EXPECT_EQ(seen.caption, " 終了の確認");
  EXPECT_EQ(state(), PlayState::Paused);
  ASSERT_NE(frame(), nullptr);
  EXPECT_TRUE(frame()->IsShown());
}

TEST_F(MainWindowTest, ExitWhileRunningPausesFirst) {
  program().commands().Dispatch(kCommandStart);
  RunEventsFor(100);
  MessageBoxSeen seen;
  wxTEST_DIALOG(program().commands().Dispatch(kCommandExit), ExpectMessageBox(wxID_NO, &seen));
  EXPECT_EQ(state(), PlayState::Paused);
  program().commands().Dispatch(kCommandPause);
  EXPECT_EQ(state(), PlayState::Running) << "PAUSE resumes it";
}

TEST_F(MainWindowTest, DialogCommandsReachTheDialogsOnlyAtIdle) {
  program().commands().Dispatch(kCommandSettings);
  program().commands().Dispatch(kCommandRecords);
  program().commands().Dispatch(kCommandVersion);
  program().commands().Dispatch(kCommandHelp);
  EXPECT_EQ(dialogs_.settings, 1);
  EXPECT_EQ(dialogs_.recordList, 1);
  EXPECT_EQ(dialogs_.about, 1);
  EXPECT_EQ(dialogs_.help, 1);
  program().commands().Dispatch(kCommandStart);
  program().commands().Dispatch(kCommandSettings);
  EXPECT_EQ(dialogs_.settings, 1);
}

TEST_F(MainWindowTest, TicksRepaintOnlyWhenTheScreenChanges) {
  int paints = 0;
  program().window().view()->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  });
  const int presents = program().surface().presents();
  RunEventsFor(500);
  EXPECT_EQ(paints, 0) << "ten idle ticks, nothing changed";
  EXPECT_EQ(program().surface().presents(), presents);
  program().commands().Dispatch(kCommandStart);
  RunEventsFor(500);
  EXPECT_GT(program().surface().presents(), presents) << "the countdown moves";
  // On X11 frames are copied into the window directly, not through a repaint.
  EXPECT_EQ(paints, 0);
  // The window shows the countdown's frame the back buffer holds.
  std::string where;
  EXPECT_TRUE(SameRegion(Screenshot(), 0, 0, BackBuffer(), 0, 0, 400, 150, &where)) << where;
}

// Frames are copied into the window only where they differ from the one it shows: whatever the
// question's ticks change (the time bar, the reveal, the marker, the clock) and a miss's fade, the
// window shows what the back buffer holds.
TEST_F(MainWindowTest, FramesCopiedWhereTheyChangedLeaveTheWindowAsTheBufferHoldsIt) {
  const auto windowShowsTheBuffer = [this](const char* when) {
    const wxImage shown = Screenshot();
    const wxImage buffer = BackBuffer();
    wxRect line = program().answerBox().control()->GetRect();
    if (!program().answerBox().control()->IsShown()) line = wxRect();
    int differing = 0;
    std::string first;
    for (int y = 0; y < buffer.GetHeight(); ++y) {
      for (int x = 0; x < buffer.GetWidth(); ++x) {
        if (line.Contains(x, y)) continue;
        if (shown.GetRed(x, y) != buffer.GetRed(x, y) ||
            shown.GetGreen(x, y) != buffer.GetGreen(x, y) ||
            shown.GetBlue(x, y) != buffer.GetBlue(x, y)) {
          if (differing++ == 0) first = std::to_string(x) + ", " + std::to_string(y);
        }
      }
    }
    EXPECT_EQ(differing, 0) << when << ": first at (" << first << ")";
  };
  program().commands().Dispatch(kCommandZoom200);
  program().commands().Dispatch(kCommandStart);
  ASSERT_TRUE(ReachQuestion());
  RunEventsFor(1300);
  windowShowsTheBuffer("a question's ticks");
  program().answerBox().control()->ChangeValue(wxString::FromUTF8("×××"));
  PressKeys([](wxUIActionSimulator& keys) { keys.Char(WXK_RETURN); });
  ASSERT_TRUE(RunEventsUntil([this] { return program().game().phase() == Phase::kReview; }, 3000));
  RunEventsFor(300);
  windowShowsTheBuffer("a miss fading in");
}

}  // namespace
}  // namespace verselane
