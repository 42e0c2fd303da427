// " 学習の設定": the two settings of the daily plan, each a drop-down list of the values it may
// take: how many new poems a day, and the chance of recall at which a poem falls due. OK takes
// them; Cancel leaves them as they were.
#pragma once

#include "settings/plan_settings.h"
#include "ui/dialogs/dialog_builder.h"

class wxChoice;

namespace verselane {

class PlanSettingsDialog : public BuiltDialog {
 public:
  PlanSettingsDialog(wxWindow* parent, const PlanSettings& settings);
  wxChoice* newPerDay() const { return newPerDay_; }
  wxChoice* retention() const { return retention_; }
  // What the lists show.
  PlanSettings chosen() const;

 private:
  wxChoice* newPerDay_ = nullptr;
  wxChoice* retention_ = nullptr;
};

// Shows the dialog over `parent`; true, with `settings` changed, when the player chose OK.
bool EditPlanSettings(wxWindow* parent, PlanSettings& settings);

}  // namespace verselane
