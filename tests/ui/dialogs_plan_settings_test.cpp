// The settings of the daily plan in their own window, driven with the keyboard and the mouse:
// it opens with the settings as they are, OK gives what the lists show, Cancel changes nothing.
#include <wx/choice.h>

#include "dialogs_harness.h"
#include "ui/dialogs/plan_settings_dialog.h"

namespace verselane::uitest {
namespace {

class PlanSettingsDialogTest : public DialogsFixture {};

TEST_F(PlanSettingsDialogTest, OpensWithTheSettingsAndOkGivesWhatTheListsShow) {
  PlanSettings settings{12, 0.85};
  bool changed = false;
  wxTEST_DIALOG(changed = dialogs.EditPlanSettings(settings),
                ExpectDialog<PlanSettingsDialog>([&](PlanSettingsDialog& dialog) {
                  EXPECT_EQ(dialog.GetTitle().utf8_string(), " 学習の設定");
                  EXPECT_EQ(dialog.GetParent(), owner());
                  EXPECT_EQ(dialog.newPerDay()->GetStringSelection(), "12");
                  EXPECT_EQ(dialog.newPerDay()->GetCount(), 21u) << "0 to 20";
                  EXPECT_EQ(dialog.retention()->GetStringSelection(), "0.85");
                  EXPECT_EQ(dialog.retention()->GetString(0), "0.80");
                  EXPECT_EQ(dialog.retention()->GetCount(), 18u) << "0.80 to 0.97";
                  EXPECT_TRUE(FocusIsIn(&dialog));
                  FocusOn(dialog.newPerDay());
                  Key(&dialog, WXK_DOWN,
                      [&] { return dialog.newPerDay()->GetStringSelection() == "13"; });
                  dialog.retention()->SetSelection(17);
                  Click(dialog.FindWindow(wxID_OK), [&] { return dialog.ended(); });
                }));
  EXPECT_TRUE(changed);
  EXPECT_EQ(settings.newPerDay, 13);
  EXPECT_DOUBLE_EQ(settings.retention, 0.97);

  wxTEST_DIALOG(changed = dialogs.EditPlanSettings(settings),
                ExpectDialog<PlanSettingsDialog>([&](PlanSettingsDialog& dialog) {
                  dialog.newPerDay()->SetSelection(0);
                  Click(dialog.FindWindow(wxID_CANCEL), [&] { return dialog.ended(); });
                }));
  EXPECT_FALSE(changed);
  EXPECT_EQ(settings.newPerDay, 13);
}

}  // namespace
}  // namespace verselane::uitest
