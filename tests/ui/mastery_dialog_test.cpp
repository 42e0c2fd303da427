// The mastery window: the grid of the hundred poems, the figures of the poem pointed at or
// selected with the forecast above them, the cards it opens, what the screen shows of each
// stage, its drawing at a larger size, and the zoom it and its cards take.
#include "ui/dialogs/mastery_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include <wx/frame.h>

#include "catalogue/poem_catalogue.h"
#include "dialogs_harness.h"
#include "ui/dialogs/poem_card_dialog.h"
#include "ui/zoomed_window.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

using uitest::RunEventsFor;

constexpr std::int64_t kNow = 1'800'000'000;

Day Today() { return *DayOf(LocalTimeText(kNow)); }

AnswerRecord Answer(int poem, int daysAgo, bool correct, int ms) {
  return {poem, QuestionMode::Normal, correct, ms, 0, kNow - daysAgo * 86400,
          DateText(Today() - daysAgo) + " 08:30:00"};
}

// Poem 1 right five days ago (due today), poem 2 right yesterday (learning), poem 3 right 17, 14
// and 0 days ago (learned), poem 4 never asked.
HistoryOutlook History() {
  HistorySnapshot history;
  history.answers = {Answer(0, 5, true, 12000), Answer(1, 1, true, 4000),
                     Answer(2, 17, true, 3000), Answer(2, 14, true, 2500),
                     Answer(2, 0, true, 3100)};
  history.poems = SummarisePoems(history.answers);
  history.runs = {{kNow - 86400 * 3, "2027-01-12 20:00:00", QuestionMode::Normal, 3, 3, 1, 900, 50},
                  {kNow - 3600, "2027-01-15 08:30:00", QuestionMode::Normal, 3, 3, 2, 2000, 40}};
  history.now = kNow;
  return OutlookOf(history);
}

using uitest::ZoomedOwner;

class MasteryWindowTest : public ::testing::Test {
 protected:
  MasteryWindowTest()
      : dialog(new MasteryDialog(nullptr, catalogue, History(), {20, 0.90})) {
    dialog->SetClientSize(760, 620);
    dialog->Show();
    RunEventsFor(200);
  }
  ~MasteryWindowTest() override {
    dialog->Destroy();
    RunEventsFor(20);
  }
  MasteryView& view() { return *dialog->view(); }
  void Mouse(wxEventType type, const wxPoint& point) {
    wxMouseEvent event(type);
    event.SetPosition(point);
    event.SetEventObject(&view());
    view().ProcessWindowEvent(event);
  }
  void Key(int code) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = code;
    view().ProcessWindowEvent(event);
  }
  // The colour most of the cell of `poem` shows on screen.
  wxColour CellColour(int poem) {
    const wxPoint centre = view().ClientToScreen(view().CellCentre(poem));
    const wxImage shot = uitest::ScreenshotOf(wxRect(centre.x - 12, centre.y - 12, 24, 24));
    std::map<unsigned long, int> counts;
    for (int y = 0; y < shot.GetHeight(); ++y) {
      for (int x = 0; x < shot.GetWidth(); ++x) {
        ++counts[(shot.GetRed(x, y) << 16) | (shot.GetGreen(x, y) << 8) | shot.GetBlue(x, y)];
      }
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                        [](const auto& a, const auto& b) { return a.second < b.second; });
    return wxColour((most->first >> 16) & 0xff, (most->first >> 8) & 0xff, most->first & 0xff);
  }

  const PoemCatalogue catalogue;
  MasteryDialog* dialog;
};

TEST_F(MasteryWindowTest, EveryPoemHasItsCellInTenRowsOfTen) {
  for (int poem = 0; poem < 100; ++poem) {
    EXPECT_EQ(view().PoemAt(view().CellCentre(poem)), poem);
  }
  EXPECT_GT(view().CellCentre(9).x, view().CellCentre(0).x) << "numbers run left to right";
  EXPECT_EQ(view().CellCentre(0).y, view().CellCentre(9).y) << "one row";
  EXPECT_EQ(view().CellCentre(0).x, view().CellCentre(90).x) << "one column";
  EXPECT_FALSE(view().PoemAt(wxPoint(2, 2)));
  EXPECT_EQ(view().StageOfPoem(0), MemoryStage::kDueToday);
  EXPECT_EQ(view().StageOfPoem(1), MemoryStage::kLearning);
  EXPECT_EQ(view().StageOfPoem(2), MemoryStage::kLearned);
  EXPECT_EQ(view().StageOfPoem(3), MemoryStage::kNeverAsked);
}

TEST_F(MasteryWindowTest, ShowsThePoemPointedAtElseTheOneSelected) {
  EXPECT_FALSE(view().shownPoem());
  Mouse(wxEVT_LEFT_DOWN, view().CellCentre(2));
  ASSERT_EQ(view().shownPoem(), 2);
  const std::vector<std::string> lines = view().FigureLines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "第3首　定着");
  EXPECT_EQ(lines[2], SjisToUtf8(catalogue.FieldView(2, kUpperReading)).text);
  EXPECT_EQ(lines[3], "解答 3回　正解 3回");
  EXPECT_EQ(lines[4], "正解の中央値 3.0秒");
  EXPECT_EQ(lines[5], "最後の解答 " + DateText(Today()));
  EXPECT_EQ(lines[6], "今日の解答 正解");
  EXPECT_EQ(lines[7].rfind("次の復習 ", 0), 0u);
  EXPECT_EQ(lines[9], "（苦手な歌の練習の順：誤答・遅さ・間隔）");
  // Above the grid, the forecast at the pace the window was given: the learned poem the grid
  // shows is the one it counts.
  ASSERT_EQ(view().ForecastLines().size(), 2u);
  EXPECT_EQ(view().ForecastLines()[0].rfind("記憶に定着した歌 1首 / 100首　全首の定着見込み ", 0), 0u);
  EXPECT_EQ(view().ForecastLines()[1], "毎日「今日の練習」に全問正解した場合（新しい歌は1日20首）");

  Mouse(wxEVT_MOTION, view().CellCentre(0));
  EXPECT_EQ(view().shownPoem(), 0) << "the pointer goes before the selection";
  EXPECT_EQ(view().FigureLines()[0], "第1首　今日の復習");
  EXPECT_EQ(view().FigureLines()[4], "正解の中央値 12.0秒");
  Mouse(wxEVT_LEAVE_WINDOW, wxPoint(-1, -1));
  EXPECT_EQ(view().shownPoem(), 2);

  Key(WXK_DOWN);
  EXPECT_EQ(view().shownPoem(), 12);
  EXPECT_EQ(view().FigureLines()[0], "第13首　未出題");
  EXPECT_EQ(view().FigureLines().back(), "まだ出題されていません");
  Key(WXK_LEFT);
  Key(WXK_UP);
  EXPECT_EQ(view().shownPoem(), 1);
}

// Enter on the selected poem, or a double click on any, opens its card over the window.
TEST_F(MasteryWindowTest, EnterOrADoubleClickOpensThePoemsCard) {
  Mouse(wxEVT_LEFT_DOWN, view().CellCentre(2));
  std::vector<std::string> titles;
  auto card = [&](const char* firstFigure) {
    return uitest::ExpectDialog<PoemCardDialog>([&, firstFigure](PoemCardDialog& shown) {
      titles.push_back(uitest::Utf8(shown.GetTitle()));
      EXPECT_EQ(shown.GetParent(), dialog);
      ASSERT_FALSE(shown.FigureTexts().empty());
      EXPECT_EQ(uitest::Utf8(shown.FigureTexts()[0]), firstFigure);
      uitest::Key(&shown, WXK_ESCAPE, [&] { return shown.ended(); });
    });
  };
  wxTEST_DIALOG(Key(WXK_RETURN), card("解答 3回　正解 3回"));
  wxTEST_DIALOG(Mouse(wxEVT_LEFT_DCLICK, view().CellCentre(3)), card("まだ出題されていません"));
  EXPECT_EQ(titles, (std::vector<std::string>{" 第3首", " 第4首"}));
  EXPECT_EQ(view().shownPoem(), 3) << "the poem double-clicked is selected";
}

// On screen each stage has a fill of its own, and the fills differ in lightness, not only in
// hue: a player who sees no colour still tells them apart.
TEST_F(MasteryWindowTest, StagesDifferInLightnessOnScreen) {
  RunEventsFor(200);
  std::vector<double> lightness;
  for (int poem : {3, 1, 2, 0}) {  // never asked, learning, learned, due today
    const wxColour colour = CellColour(poem);
    lightness.push_back(0.2126 * colour.Red() + 0.7152 * colour.Green() + 0.0722 * colour.Blue());
  }
  for (std::size_t i = 1; i < lightness.size(); ++i) {
    EXPECT_GT(lightness[i - 1] - lightness[i], 20) << i;
  }
}

// The drawing follows the window's size: larger, the cells grow and still hold their poems.
TEST_F(MasteryWindowTest, GrowsWithTheWindow) {
  const int before = view().CellCentre(1).x - view().CellCentre(0).x;
  dialog->SetClientSize(1100, 860);
  RunEventsFor(200);
  const int after = view().CellCentre(1).x - view().CellCentre(0).x;
  EXPECT_GT(after, before * 5 / 4);
  for (int poem = 0; poem < 100; ++poem) EXPECT_EQ(view().PoemAt(view().CellCentre(poem)), poem);
}

// Over a main window at 200 %, the window opens at that zoom (the screen holds its least size),
// its texts and cells grow with it, and a card opened over it takes the same zoom.
TEST(MasteryZoomTest, TheWindowAndItsCardsFollowTheZoom) {
  const PoemCatalogue catalogue;
  std::map<double, wxSize> sizes;
  std::map<double, int> cells;
  for (double zoom : {1.0, 2.0}) {
    auto* owner = new ZoomedOwner(zoom);
    owner->Show();
    auto* dialog = new MasteryDialog(owner, catalogue, History(), {20, 0.90});
    dialog->Show();
    RunEventsFor(200);
    EXPECT_DOUBLE_EQ(dialog->zoom(), zoom);
    EXPECT_NEAR(dialog->GetFont().GetFractionalPointSize(), 9 * zoom, 0.01);
    sizes[zoom] = dialog->GetClientSize();
    cells[zoom] = dialog->view()->CellCentre(1).x - dialog->view()->CellCentre(0).x;
    dialog->view()->Select(2);
    wxTEST_DIALOG(dialog->view()->OpenCard(2),
                  uitest::ExpectDialog<PoemCardDialog>([&](PoemCardDialog& card) {
                    EXPECT_DOUBLE_EQ(card.zoom(), dialog->zoom());
                    uitest::Key(&card, WXK_ESCAPE, [&] { return card.ended(); });
                  }));
    dialog->Destroy();
    owner->Destroy();
    RunEventsFor(20);
  }
  EXPECT_GT(sizes[2.0].x, sizes[1.0].x * 7 / 5);
  EXPECT_GT(sizes[2.0].y, sizes[1.0].y * 5 / 4);
  EXPECT_GT(cells[2.0], cells[1.0] * 9 / 8);
}

}  // namespace
}  // namespace verselane
