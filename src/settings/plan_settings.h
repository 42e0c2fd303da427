// How the daily plan is made: how many new poems a day and the chance of recall at which a poem
// falls due. Kept in verselane.conf; read by the plan, the mastery window's forecast and the
// settings window.
#pragma once

namespace verselane {

struct PlanSettings {
  int newPerDay = 5;  // kMinNewPerDay to kMaxNewPerDay
  // The chance of recall at which a poem falls due; kMinRetention to kMaxRetention.
  double retention = 0.90;
};
inline constexpr int kMinNewPerDay = 0;
inline constexpr int kMaxNewPerDay = 20;
inline constexpr double kMinRetention = 0.80;
inline constexpr double kMaxRetention = 0.97;

// A retention in whole hundredths, as verselane.conf and the settings window give it.
inline constexpr int RetentionHundredths(double retention) {
  return static_cast<int>(retention * 100 + 0.5);
}

}  // namespace verselane
