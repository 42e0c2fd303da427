// Placing controls at their designed rectangles when some need more room, and the dialogs as
// built: every control at least the size it needs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/spinbutt.h>
#include <wx/choice.h>
#include <wx/display.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "dialogs_harness.h"
#include "game/poem_card.h"
#include "settings/favourite.h"
#include "settings/settings_dialog_model.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/dialog_builder.h"
#include "ui/dialogs/dialog_layout.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/favourite_dialog.h"
#include "ui/dialogs/poem_card_dialog.h"
#include "ui/dialogs/plan_settings_dialog.h"
#include "ui/dialogs/rank_in_dialog.h"
#include "ui/dialogs/record_list_dialog.h"
#include "ui/dialogs/results_dialog.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/dialogs/up_down_control.h"
#include "ui/message_boxes.h"
#include "ui/zoomed_window.h"

namespace verselane {
namespace {

LayoutItem Control(int x, int y, int width, int height, int minWidth = 0, int minHeight = 0,
                   unsigned anchors = kAnchorNone) {
  LayoutItem item;
  item.rect = {x, y, width, height};
  item.minWidth = minWidth;
  item.minHeight = minHeight;
  item.anchors = anchors;
  return item;
}

LayoutItem Container(int x, int y, int width, int height) {
  LayoutItem item = Control(x, y, width, height);
  item.role = LayoutRole::kContainer;
  return item;
}

TEST(DialogLayout, ControlsThatFitStayWhereTheTemplatePutsThem) {
  const std::vector<LayoutItem> items = {Control(10, 10, 100, 20, 80, 15),
                                         Control(10, 40, 50, 20)};
  const LayoutResult layout = LayOutDialog(items, 200, 100);
  EXPECT_EQ(layout.rects[0], (LayoutRect{10, 10, 100, 20}));
  EXPECT_EQ(layout.rects[1], (LayoutRect{10, 40, 50, 20}));
  EXPECT_EQ(layout.clientWidth, 200);
  EXPECT_EQ(layout.clientHeight, 100);
}

TEST(DialogLayout, ATallerControlPushesEverythingBelowItByItsGrowth) {
  // A row of label and entry, a button row below, the dialog's bottom margin 10.
  const std::vector<LayoutItem> items = {
      Control(10, 12, 40, 13, 40, 13),   // label
      Control(60, 10, 80, 17, 80, 27),   // entry, 10 taller than the template
      Control(10, 40, 60, 20, 60, 20),   // button
      Control(80, 40, 60, 20, 60, 34),   // button, 14 taller
      Control(10, 70, 100, 10),          // below both rows
  };
  const LayoutResult layout = LayOutDialog(items, 150, 90);
  EXPECT_EQ(layout.rects[1], (LayoutRect{60, 10, 80, 27}));
  // The label is centred on the entry it sits beside.
  EXPECT_EQ(layout.rects[0].y, 12 + 5);
  // The next row moves down by the entry's growth, the gap kept; the shorter button is
  // centred on the taller one.
  EXPECT_EQ(layout.rects[3], (LayoutRect{80, 50, 60, 34}));
  EXPECT_EQ(layout.rects[2].y, 50 + 7);
  EXPECT_EQ(layout.rects[2].y + layout.rects[2].height / 2,
            layout.rects[3].y + layout.rects[3].height / 2);
  // The last row below both growths, and the dialog around all of it.
  EXPECT_EQ(layout.rects[4].y, 70 + 10 + 14);
  EXPECT_EQ(layout.clientHeight, 90 + 24);
}

TEST(DialogLayout, AWiderControlPushesItsRowOnlyUnlessItIsATable) {
  const std::vector<LayoutItem> items = {
      Control(10, 10, 50, 20, 70, 20),  // grows 20 to the right
      Control(70, 10, 40, 20),          // same row: pushed
      Control(75, 40, 40, 20),          // next row: stays
  };
  LayoutResult layout = LayOutDialog(items, 200, 100);
  EXPECT_EQ(layout.rects[1].x, 90);
  EXPECT_EQ(layout.rects[2].x, 75);
  layout = LayOutDialog(items, 200, 100, LayoutOptions{true});
  EXPECT_EQ(layout.rects[1].x, 90);
  EXPECT_EQ(layout.rects[2].x, 95);  // the columns of a table move as one
}

TEST(DialogLayout, ControlsStartingAtOneXMoveTogether) {
  const std::vector<LayoutItem> items = {
      Control(10, 10, 50, 20, 70, 20),  // grows 20
      Control(70, 10, 40, 20),          // pushed by it
      Control(10, 40, 50, 20),
      Control(70, 40, 40, 20),          // a column with the one above
  };
  const LayoutResult layout = LayOutDialog(items, 200, 100);
  EXPECT_EQ(layout.rects[3].x, layout.rects[1].x);
}

TEST(DialogLayout, AGroupBoxGrowsAroundWhatItHoldsAndPushesWhatFollows) {
  const std::vector<LayoutItem> items = {
      Container(5, 5, 120, 60),
      Control(10, 20, 100, 16, 130, 20),  // wider and taller than the group lets it be
      Control(10, 40, 100, 16, 100, 20),
      Control(5, 80, 60, 20),             // below the group
  };
  const LayoutResult layout = LayOutDialog(items, 140, 110);
  const LayoutRect& group = layout.rects[0];
  EXPECT_EQ(group.x, 5);
  EXPECT_EQ(group.y, 5);
  EXPECT_EQ(group.right(), 10 + 130 + 15);   // the right margin inside kept
  EXPECT_EQ(group.bottom(), 40 + 4 + 20 + 9);  // the bottom margin inside kept
  EXPECT_EQ(layout.rects[3].y, 80 + 8);
  EXPECT_GE(layout.clientWidth, group.right() + 10);
}

TEST(DialogLayout, AnchoredControlsFollowTheWidenedDialog) {
  const std::vector<LayoutItem> items = {
      Control(10, 10, 100, 20, 160, 20),                 // widens the dialog by 60
      Control(60, 50, 50, 20, 0, 0, kAnchorRight),       // OK at the right edge
      Control(10, 80, 100, 20, 0, 0, kCentreX),          // centred
      Control(10, 110, 100, 20, 0, 0, kStretchRight),    // spans to the right margin
  };
  const LayoutResult layout = LayOutDialog(items, 120, 140);
  EXPECT_EQ(layout.clientWidth, 180);
  EXPECT_EQ(layout.rects[1].right(), 180 - 10);
  EXPECT_EQ(layout.rects[2].x, (180 - 100) / 2);
  EXPECT_EQ(layout.rects[3].right(), 180 - 10);
}

TEST(DialogLayout, RulesSpanWhatTheyRanBetween) {
  LayoutItem rule = Control(5, 5, 1, 100);
  rule.role = LayoutRole::kRule;
  const std::vector<LayoutItem> items = {
      rule,
      Control(10, 10, 50, 20, 50, 30),  // 10 taller
      Control(10, 40, 50, 20),
  };
  const LayoutResult layout = LayOutDialog(items, 100, 120);
  EXPECT_EQ(layout.rects[0].y, 5);
  EXPECT_EQ(layout.rects[0].bottom(), 105 + 10);
}

// A picture drawn for a desktop at a scale has more pixels, and takes the room of the 1x one.
// (With a control beside it: wx stretches a dialog's only child over the whole dialog.)
class PictureDialog : public BuiltDialog {
 public:
  explicit PictureDialog(const wxBitmap& picture) : BuiltDialog(nullptr, {" ランクイン", 119, 127}) {
    Build({Place(ControlKind::kPicture, "", 40, 8, 38, 44).Anchored(kCentreX).Showing(picture),
           Place(ControlKind::kDefaultButton, "OK", 7, 106, 50, 14).WithId(wxID_OK)});
  }
};

TEST(DialogLayout, APictureTakesTheSameRoomAtEveryScale) {
  const auto pictureRect = [](double scale) {
    auto* dialog = new PictureDialog(AssetBitmap("bitmap-157.png", scale));
    wxRect rect;
    for (wxWindow* child : dialog->GetChildren()) {
      if (dynamic_cast<wxStaticBitmap*>(child) != nullptr) rect = child->GetRect();
    }
    dialog->Destroy();
    return rect;
  };
  const wxRect atOne = pictureRect(1.0);
  EXPECT_EQ(atOne.GetSize(), wxSize(66, 66));
  EXPECT_EQ(pictureRect(2.0), atOne);
  EXPECT_EQ(pictureRect(3.0), atOne);
}

using uitest::ZoomedOwner;

// Every dialog, built at 100 % and at 200 %: each control with its text; none smaller than it
// needs, inside the dialog, and no two of a row overlapping.
class BuiltDialogTest : public uitest::DialogsFixture,
                        public ::testing::WithParamInterface<std::tuple<std::string, int>> {
 protected:
  // The dialogs destroyed by the test go first (at idle time): an owner deletes what it still
  // holds.
  ~BuiltDialogTest() override {
    uitest::RunEventsFor(1);
    for (ZoomedOwner* owner : owners_) delete owner;
  }

  BuiltDialog* Make(const std::string& name, int percent) {
    auto* owner = new ZoomedOwner(percent / 100.0);
    owners_.push_back(owner);
    if (name == "Results") return new ResultsDialog(owner, finishedRun, services);
    if (name == "About") return new AboutDialog(owner);
    if (name == "RecordList") return new RecordListDialog(owner, records);
    if (name == "RankIn") {
      return new RankInDialog(
          owner, finishedRun,
          {records, settingsController, notices, clock, inputMethod, romajiInput});
    }
    if (name == "Settings") return new SettingsDialog(owner, settingsModel, favourite, notices);
    if (name == "PlanSettings") return new PlanSettingsDialog(owner, PlanSettings{});
    if (name == "PoemCard") {
      // The longest poet's name and reading, with every line of figures.
      history.RecordAnswer({kLongestPoetPoem, QuestionMode::Normal, true, 12345, 0, 0, {}});
      return new PoemCardDialog(owner, MakePoemCard(catalogue, kLongestPoetPoem,
                                                    OutlookOf(history.Snapshot()), plan));
    }
    // A poem met in today's plan: its lines in place of the figures, 次へ for 閉じる.
    if (name == "MeetingCard") {
      return new PoemCardDialog(owner, MakeMeetingCard(catalogue, kLongestPoetPoem));
    }
    return new FavouriteDialog(owner, favourite, settingsModel, notices);
  }
  BuiltDialog* Make() { return Make(std::get<0>(GetParam()), std::get<1>(GetParam())); }

  std::vector<ZoomedOwner*> owners_;

  static constexpr int kLongestPoetPoem = 75;  // 法性寺入道前関白太政大臣
  ResultsServices services{catalogue, settingsController, records, files, notices, clock,
                           inputMethod, history, plan, romajiInput};
  SettingsDialogModel settingsModel{catalogue, settingsController, files, notices};
  RandomPoemPicker picker{pickerRandom};
  FavouriteDialogModel favourite{catalogue, picker};
};

TEST_P(BuiltDialogTest, EveryControlIsThereAtLeastAsLargeAsItNeeds) {
  BuiltDialog* dialog = Make();
  const DialogFrame& frame = dialog->frame();
  if (*frame.caption != '\0') {
    EXPECT_EQ(dialog->GetTitle().utf8_string(), frame.caption);
  }
  EXPECT_EQ(dialog->HasFlag(wxCLOSE_BOX), frame.closable);
  const wxSize client = dialog->GetClientSize();
  EXPECT_GE(client.x, dialog->ConvertDialogToPixels(wxSize(frame.width, 0)).x);
  EXPECT_GE(client.y, dialog->ConvertDialogToPixels(wxSize(0, frame.height)).y);
  int index = 0;
  for (const BuiltDialog::Placed& placed : dialog->placed()) {
    SCOPED_TRACE("control " + std::to_string(index++));
    wxWindow* window = placed.window;
    const ControlPlace& control = placed.place;
    if (window == nullptr) continue;
    EXPECT_EQ(window->IsEnabled(), !control.disabled);
    const wxString text = wxString::FromUTF8(control.text);
    if (auto* button = dynamic_cast<wxButton*>(window)) {
      EXPECT_EQ(button->GetLabel(), text);
    }
    if (auto* check = dynamic_cast<wxCheckBox*>(window)) {
      EXPECT_EQ(check->GetLabel(), text);
    }
    if (auto* radio = dynamic_cast<wxRadioButton*>(window)) {
      EXPECT_EQ(radio->GetLabel(), text);
    }
    if (control.kind == ControlKind::kDefaultButton) {
      EXPECT_EQ(dialog->GetDefaultItem(), window);
    }
    const wxRect area = window->GetRect();
    EXPECT_GE(area.x, 0);
    EXPECT_GE(area.y, 0);
    EXPECT_LE(area.GetRight(), client.x);
    EXPECT_LE(area.GetBottom(), client.y);
  }
  // Sizes against what each kind of control asks for when made anew with its text.
  const wxWindowList built = dialog->GetChildren();  // the probes below are children too
  for (wxWindow* window : built) {
    wxSize needed;
    if (auto* button = dynamic_cast<wxButton*>(window)) {
      needed = (new wxButton(dialog, wxID_ANY, button->GetLabel(), wxDefaultPosition,
                             wxDefaultSize, button->GetWindowStyle() & wxBORDER_MASK))
                   ->GetBestSize();
    } else if (auto* check = dynamic_cast<wxCheckBox*>(window)) {
      needed = (new wxCheckBox(dialog, wxID_ANY, check->GetLabel()))->GetBestSize();
    } else if (auto* radio = dynamic_cast<wxRadioButton*>(window)) {
      needed = (new wxRadioButton(dialog, wxID_ANY, radio->GetLabel()))->GetBestSize();
    } else if (auto* label = dynamic_cast<wxStaticText*>(window)) {
      needed = (new wxStaticText(dialog, wxID_ANY, label->GetLabel()))->GetBestSize();
    } else if (auto* edit = dynamic_cast<wxTextCtrl*>(window)) {
      needed = wxSize(0, (new wxTextCtrl(dialog, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                                         edit->GetWindowStyle()))
                             ->GetBestSize()
                             .y);
    } else if (dynamic_cast<wxChoice*>(window) != nullptr) {
      needed = wxSize(0, (new wxChoice(dialog, wxID_ANY))->GetBestSize().y);
    } else {
      continue;
    }
    SCOPED_TRACE(window->GetLabel().utf8_string() + " id " + std::to_string(window->GetId()));
    EXPECT_GE(window->GetSize().x, needed.x);
    EXPECT_GE(window->GetSize().y, needed.y);
  }
  dialog->Destroy();
}

// At 200 % a dialog's font and pictures are twice the size, and the dialog nearly so (GTK's
// controls keep some pixels of their own), unless the screen cannot hold it: then it is as large
// as the screen allows (the settings on this 1280 x 1024 screen). It opens centred on the window
// it opens over, as at 100 %.
TEST_P(BuiltDialogTest, GrowsWithTheZoomAndOpensCentredOnItsOwner) {
  const auto pictureSizes = [](BuiltDialog* dialog) {
    std::vector<wxSize> sizes;
    for (const BuiltDialog::Placed& placed : dialog->placed()) {
      if (dynamic_cast<wxStaticBitmap*>(placed.window) != nullptr) {
        sizes.push_back(placed.window->GetSize());
      }
    }
    return sizes;
  };
  const std::string& name = std::get<0>(GetParam());
  const int percent = std::get<1>(GetParam());
  BuiltDialog* atOne = Make(name, 100);
  BuiltDialog* zoomed = Make(name, percent);
  const double zoom = zoomed->zoom();
  const wxSize screen = wxDisplay(zoomed).GetClientArea().GetSize();
  EXPECT_LE(zoomed->GetSize().x, screen.x);
  EXPECT_LE(zoomed->GetSize().y, screen.y);
  EXPECT_LE(zoom, percent / 100.0);
  EXPECT_GE(zoom, percent == 100 ? 1.0 : 1.8) << "only a little smaller, to fit the screen";
  EXPECT_NEAR(zoomed->GetFont().GetFractionalPointSize(), 9 * zoom, 0.01);
  const wxSize one = atOne->GetClientSize();
  const wxSize grown = zoomed->GetClientSize();
  EXPECT_GE(grown.x, one.x * (1 + (zoom - 1) / 2)) << grown.x << " against " << one.x;
  EXPECT_GE(grown.y, one.y * (1 + (zoom - 1) / 2)) << grown.y << " against " << one.y;
  const std::vector<wxSize> pictures = pictureSizes(atOne);
  const std::vector<wxSize> grownPictures = pictureSizes(zoomed);
  ASSERT_EQ(grownPictures.size(), pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    EXPECT_EQ(grownPictures[i].x, std::lround(pictures[i].x * zoom));
    EXPECT_EQ(grownPictures[i].y, std::lround(pictures[i].y * zoom));
  }
  const wxRect owner = owners_.back()->GetScreenRect();
  const wxRect shown = zoomed->GetScreenRect();
  EXPECT_NEAR(shown.x + shown.width / 2, owner.x + owner.width / 2, 1);
  EXPECT_NEAR(shown.y + shown.height / 2, owner.y + owner.height / 2, 1);
  atOne->Destroy();
  zoomed->Destroy();
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, BuiltDialogTest,
                         ::testing::Combine(::testing::Values("Results", "About", "RecordList",
                                                             "RankIn", "Settings", "Favourite",
                                                             "PoemCard", "PlanSettings",
                                                             "MeetingCard"),
                                            ::testing::Values(100, 200)),
                         [](const auto& info) {
                           return std::get<0>(info.param) + "_" +
                                  std::to_string(std::get<1>(info.param));
                         });

TEST(UpDownControl, NeverTakesTheFocusAndStepsEitherWay) {
  auto* dialog = new wxDialog(nullptr, wxID_ANY, "up-down");
  auto* arrows = new UpDownControl(dialog, 1013, wxDefaultPosition, wxDefaultSize);
  EXPECT_FALSE(arrows->AcceptsFocus());
  int up = 0, down = 0;
  dialog->Bind(wxEVT_SPIN_UP, [&](wxSpinEvent&) { ++up; }, 1013);
  dialog->Bind(wxEVT_SPIN_DOWN, [&](wxSpinEvent&) { ++down; }, 1013);
  arrows->Step(true);
  arrows->Step(true);
  arrows->Step(false);
  EXPECT_EQ(up, 2);
  EXPECT_EQ(down, 1);
  dialog->Destroy();
}

}  // namespace
}  // namespace verselane

namespace verselane {
namespace {

// What a message box was shown with, looked at where the program would show it.
struct MessageBoxLook {
  wxSize size;
  wxSize icon;
  double fontPoints = 0;  // of its message
};

class ExpectZoomedBox : public wxExpectModalBase<ZoomedMessageBox, ExpectZoomedBox> {
 public:
  explicit ExpectZoomedBox(MessageBoxLook& look) : look_(look) {}

 protected:
  int OnInvoked(ZoomedMessageBox* box) const override {
    look_.size = box->GetSize();
    for (wxWindow* child : box->GetChildren()) {
      if (auto* icon = dynamic_cast<wxStaticBitmap*>(child)) look_.icon = icon->GetSize();
      if (auto* text = dynamic_cast<wxStaticText*>(child); text && look_.fontPoints == 0) {
        look_.fontPoints = text->GetFont().GetFractionalPointSize();
      }
    }
    return wxID_NO;
  }

 private:
  MessageBoxLook& look_;
};

// The confirmations and notices grow with the zoom of the window they open over, as the dialogs
// do: their message, buttons and icon.
TEST(ZoomedMessageBoxTest, AConfirmationGrowsWithTheZoomOfItsOwner) {
  MessageBoxLook looks[2];
  for (int i = 0; i < 2; ++i) {
    ZoomedOwner owner(i + 1.0);
    MessageBoxes boxes;
    boxes.SetOwner(&owner);
    wxTEST_DIALOG(EXPECT_FALSE(boxes.Confirm(SjisLiteral("「Verselane」を終了します。\nよろしいですか？"),
                                             SjisLiteral(" 終了の確認"))),
                  ExpectZoomedBox(looks[i]));
  }
  EXPECT_NEAR(looks[1].fontPoints, looks[0].fontPoints * 2, 0.01);
  EXPECT_EQ(looks[1].icon, looks[0].icon * 2);
  EXPECT_GE(looks[1].size.x, looks[0].size.x * 3 / 2);
  EXPECT_GE(looks[1].size.y, looks[0].size.y * 3 / 2);
}

}  // namespace
}  // namespace verselane
