#include "ui/dialogs/plan_settings_dialog.h"

#include <algorithm>
#include <cstdio>

#include <wx/choice.h>

namespace verselane {
namespace {

using K = ControlKind;

constexpr DialogFrame kFrame{" 学習の設定", 160, 76};

// A retention as the list shows it: "0.90".
wxString RetentionText(int hundredths) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
  return text;
}

}  // namespace

PlanSettingsDialog::PlanSettingsDialog(wxWindow* parent, const PlanSettings& settings)
    : BuiltDialog(parent, kFrame) {
  Build({
      Place(K::kTextRight, "1日の新しい歌", 7, 11, 70, 8),
      Place(K::kDropList, "", 82, 8, 40, 14).SizedFor("20").Into(newPerDay_),
      Place(K::kText, "首", 126, 11, 20, 8),
      Place(K::kTextRight, "目標の想起率", 7, 33, 70, 8),
      Place(K::kDropList, "", 82, 30, 40, 14).SizedFor("0.97").Into(retention_),
      Place(K::kDefaultButton, "OK", 24, 54, 50, 14).WithId(wxID_OK),
      Place(K::kButton, "ｷｬﾝｾﾙ", 86, 54, 50, 14).Anchored(kAnchorRight).WithId(wxID_CANCEL),
  });
  for (int count = kMinNewPerDay; count <= kMaxNewPerDay; ++count) {
    newPerDay_->Append(wxString::Format("%d", count));
  }
  const int lowest = RetentionHundredths(kMinRetention);
  for (int hundredths = lowest; hundredths <= RetentionHundredths(kMaxRetention); ++hundredths) {
    retention_->Append(RetentionText(hundredths));
  }
  newPerDay_->SetSelection(std::clamp(settings.newPerDay, kMinNewPerDay, kMaxNewPerDay) -
                           kMinNewPerDay);
  retention_->SetSelection(
      std::clamp(RetentionHundredths(settings.retention) - lowest, 0,
                 static_cast<int>(retention_->GetCount()) - 1));
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); }, wxID_CANCEL);
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    TakeFocus();
  });
}

PlanSettings PlanSettingsDialog::chosen() const {
  return {kMinNewPerDay + newPerDay_->GetSelection(),
          (RetentionHundredths(kMinRetention) + retention_->GetSelection()) / 100.0};
}

bool EditPlanSettings(wxWindow* parent, PlanSettings& settings) {
  PlanSettingsDialog dialog(parent, settings);
  if (dialog.ShowModal() != wxID_OK) return false;
  settings = dialog.chosen();
  return true;
}

}  // namespace verselane
