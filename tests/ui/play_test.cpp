// Whole one-question runs played on the real window: START, the countdown, the answer typed into
// the answer line through the X server, Enter, the pop-up, and the results.
#include <gtest/gtest.h>

#include <filesystem>

#include <wx/uiaction.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include "catalogue/poem_catalogue.h"
#include "fakes/temp_folder.h"
#include "base/shift_jis.h"
#include "game/menu_state.h"
#include "ui/assets.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

using uitest::RunEventsFor;
using uitest::RunEventsUntil;
using uitest::SameRegion;

std::string Utf8(std::string_view sjis) { return SjisToUtf8(sjis).text; }

class PlayTest : public uitest::ProgramFixture {
 protected:
  void SetUp() override {
    ProgramOptions options;
    options.random = &random_;
    StartProgram(options);
    program().settings().settings().SetSource(0);
    program().settings().settings().SetQuestionCount(1);
    ASSERT_TRUE(uitest::FocusMainWindow());
  }

  void Keys(const std::function<void(wxUIActionSimulator&)>& keys) {
    wxUIActionSimulator simulator;
    const wxRect area = program().window().view()->GetScreenRect();
    simulator.MouseMove(area.GetLeft() + 5, area.GetTop() + 5);
    RunEventsFor(50);
    keys(simulator);
    RunEventsFor(150);
  }
  // Types UTF-8 text as keys, kana included, while the program keeps running.
  void TypeText(const std::string& text) {
    const std::string command = "xdotool type --delay 40 '" + text + "'";
    wxExecute(wxString::FromUTF8(command), wxEXEC_SYNC | wxEXEC_NODISABLE);
    RunEventsFor(150);
  }
  bool WaitForPhase(Phase phase, int timeoutMs = 8000) {
    return RunEventsUntil([&] { return program().game().phase() == phase; }, timeoutMs);
  }
  std::string ExpectedReading() {
    return Utf8(program().catalogue().FieldView(program().game().run().question.poem,
                                                 kLowerReading));
  }
  wxImage PopupArea() {
    const wxRect view = program().window().view()->GetScreenRect();
    return uitest::ScreenshotOf(wxRect(view.x + 76, view.y + 54, 308, 42));
  }
  bool PopupAreaShowsBackground() {
    const auto asset = FindAsset("bitmap-130.png");
    const wxImage background = BitmapFromBytes(asset->data, asset->size)->bitmap().ConvertToImage();
    return SameRegion(PopupArea(), 0, 0, background, 76, 54, 308, 42);
  }

  ScriptedRandom random_{{0}};
};

TEST_F(PlayTest, CorrectAnswerTypedInKanaEndsInTheResults) {
  Keys([](wxUIActionSimulator& keys) { keys.Char('s', wxMOD_CONTROL); });
  ASSERT_EQ(state(), PlayState::Running);
  ASSERT_TRUE(WaitForPhase(Phase::kAnswering));
  RunEventsFor(100);
  ASSERT_TRUE(program().answerBox().IsVisible());
  EXPECT_EQ(program().game().run().question.poem, 0) << "the scripted draw";

  const std::string reading = ExpectedReading();
  TypeText(reading);
  EXPECT_EQ(program().answerBox().control()->GetValue().utf8_string(), reading);
  // The frames shown meanwhile (the time bar runs down) leave the answer line on top of them:
  // its white at both ends, where no text is.
  const wxImage line = PopupArea();
  ASSERT_TRUE(line.IsOk());
  for (const int x : {2, 305}) {
    EXPECT_EQ(wxColour(line.GetRed(x, 8), line.GetGreen(x, 8), line.GetBlue(x, 8)), *wxWHITE)
        << "the answer line at " << x;
  }
  EXPECT_EQ(program().game().phase(), Phase::kAnswering) << "typing alone does not answer";

  Keys([](wxUIActionSimulator& keys) { keys.Char(WXK_RETURN); });
  ASSERT_TRUE(RunEventsUntil([this] { return program().game().phase() >= Phase::kPopupIn; }));
  EXPECT_FALSE(program().answerBox().IsVisible());
  EXPECT_EQ(program().game().run().tallies.correct, 1);
  ASSERT_FALSE(sound_.played.empty());
  EXPECT_EQ(sound_.played.front(), SoundId::kCorrect);
  RunEventsFor(300);
  EXPECT_FALSE(PopupAreaShowsBackground()) << "the score pop-up shows";

  ASSERT_TRUE(RunEventsUntil([this] { return dialogs_.results == 1; }, 10000));
  ASSERT_EQ(dialogs_.lastResults.size(), 1u);
  EXPECT_EQ(Utf8(dialogs_.lastResults[0].correctRate), "100 %");
  EXPECT_EQ(sound_.played.back(), SoundId::kRunFinished);
  RunEventsFor(100);
  EXPECT_EQ(state(), PlayState::Idle) << "the results closed";
  EXPECT_TRUE(program().window().frame()->GetMenuBar()->IsEnabled(kCommandStart));
}

TEST_F(PlayTest, WrongAnswerShowsTheReadingAndWaitsForEnter) {
  Keys([](wxUIActionSimulator& keys) { keys.Char('s', wxMOD_CONTROL); });
  ASSERT_TRUE(WaitForPhase(Phase::kAnswering));
  RunEventsFor(100);
  // Letters typed without an input method are read as romaji: あいうえお, a wrong answer.
  Keys([](wxUIActionSimulator& keys) {
    keys.Text("aiueo");
    keys.Char(WXK_RETURN);
  });
  EXPECT_EQ(program().answerBox().control()->GetValue(), "aiueo");
  ASSERT_TRUE(WaitForPhase(Phase::kReview));
  EXPECT_EQ(program().game().run().tallies.correct, 0);
  ASSERT_FALSE(sound_.played.empty());
  EXPECT_EQ(sound_.played.front(), SoundId::kWrong);
  RunEventsFor(1000);
  EXPECT_EQ(program().game().phase(), Phase::kReview) << "the expected reading stays up";
  EXPECT_FALSE(PopupAreaShowsBackground());
  EXPECT_EQ(dialogs_.results, 0);

  // The line is hidden now; Enter reaches the game through the screen itself.
  Keys([](wxUIActionSimulator& keys) { keys.Char(WXK_RETURN); });
  ASSERT_TRUE(RunEventsUntil([this] { return dialogs_.results == 1; }, 10000));
  EXPECT_EQ(Utf8(dialogs_.lastResults[0].correctRate), "0 %");
  EXPECT_EQ(state(), PlayState::Idle);

  // The miss is kept in the data folder's history, and its poem is offered for practice at once.
  program().history().Flush();
  const HistorySnapshot history = program().history().Snapshot();
  ASSERT_EQ(history.poems.size(), 1u);
  EXPECT_EQ(history.poems[0].answers, 1);
  EXPECT_EQ(history.poems[0].right, 0);
  EXPECT_TRUE(std::filesystem::exists(uitest::ScratchFile(kHistoryFileName)));
  ASSERT_TRUE(program().window().frame()->GetMenuBar()->IsEnabled(kCommandWeakPoems));
  wxCommandEvent choose(wxEVT_MENU, kCommandWeakPoems);
  program().window().frame()->ProcessWindowEvent(choose);
  EXPECT_EQ(state(), PlayState::Running);
  EXPECT_EQ(program().game().run().pool, std::vector<int>{0});
}

// A run typed in romaji, the option kept from the last time: the menus' keys still open them
// during the run and type nothing, and the answer, edited in the line, is judged as it shows.
class RomajiPlayTest : public PlayTest {
 protected:
  void SetUp() override {
    WriteBytes(uitest::ScratchFile("verselane.conf"), "[input]\nromaji=true\n");
    PlayTest::SetUp();
  }
};

TEST_F(RomajiPlayTest, MenuKeysOpenTheMenuAndTheEditedLineIsJudgedAsShown) {
  Keys([](wxUIActionSimulator& keys) { keys.Char('s', wxMOD_CONTROL); });
  ASSERT_TRUE(WaitForPhase(Phase::kAnswering));
  RunEventsFor(100);
  ASSERT_EQ(ExpectedReading(), "わがころもではつゆにぬれつつ");
  int menusOpened = 0;
  frame()->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
    ++menusOpened;
    event.Skip();
  });
  Keys([](wxUIActionSimulator& keys) { keys.Char('o', wxMOD_ALT); });
  EXPECT_EQ(menusOpened, 1) << "Alt+O opens オプション";
  Keys([](wxUIActionSimulator& keys) { keys.Char(WXK_ESCAPE); });
  wxTextCtrl* line = program().answerBox().control();
  EXPECT_EQ(line->GetValue(), "") << "and types nothing";

  line->SetFocus();
  Keys([](wxUIActionSimulator& keys) {
    keys.Text("kawagakoromodehatuyuninuretutu");
    keys.Char(WXK_HOME);
    keys.Char(WXK_DELETE);
  });
  EXPECT_EQ(line->GetValue().utf8_string(), "わがころもではつゆにぬれつつ");
  Keys([](wxUIActionSimulator& keys) { keys.Char(WXK_RETURN); });
  ASSERT_TRUE(RunEventsUntil([this] { return program().game().phase() >= Phase::kPopupIn; }));
  EXPECT_EQ(program().game().run().tallies.correct, 1);
}

}  // namespace
}  // namespace verselane
