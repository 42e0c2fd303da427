// オプション → 成績を見る: the hundred poems as a 10 × 10 grid coloured by mastery, the figures
// of the poem under the pointer or selected, and the scores of the runs over time; above the grid
// the memory model's forecast: how many poems are learned, and when all will be. Enter or a
// double click on a poem opens its card. Everything is
// drawn as shapes at paint time, so it stays sharp at any size and scale; each mastery differs in
// lightness, pattern and mark as well as in hue, for players who cannot tell the hues apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/window.h>

#include "game/desktop_ports.h"
#include "game/history_outlook.h"
#include "game/weak_poems.h"
#include "settings/plan_settings.h"

class wxGraphicsContext;

namespace verselane {

class PoemCatalogue;

// The grid, the figures and the plot, in one window that lays them out by its size.
class MasteryView : public wxWindow {
 public:
  MasteryView(wxWindow* parent, const PoemCatalogue& catalogue, const HistoryOutlook& history,
              const PlanSettings& plan);

  // The poem whose cell holds `point` (in this window's pixels), or nothing.
  std::optional<int> PoemAt(const wxPoint& point) const;
  // The middle of poem `poem`'s cell.
  wxPoint CellCentre(int poem) const;
  void Select(int poem);
  // The poem whose figures are shown: the one under the pointer, else the selected one.
  std::optional<int> shownPoem() const { return hovered_ ? hovered_ : selected_; }
  // The lines of figures shown for shownPoem() (UTF-8).
  std::vector<std::string> FigureLines() const;
  // The forecast above the grid (UTF-8).
  const std::vector<std::string>& ForecastLines() const { return forecast_; }
  Mastery MasteryOfPoem(int poem) const;
  // The card of `poem`, over this window until it is closed.
  void OpenCard(int poem);

 private:
  struct Layout {
    wxRect forecast; // the forecast's lines
    wxRect grid;     // the 10 × 10 cells
    wxRect legend;   // the four masteries with their counts
    wxRect figures;  // the shown poem's figures
    wxRect plot;     // the runs' scores over time
    double cell = 0;
  };
  Layout ComputeLayout() const;
  void OnPaint(wxPaintEvent& event);
  void PaintForecast(wxGraphicsContext& gc, const Layout& layout, const wxColour& text) const;
  void OnMotion(wxMouseEvent& event);
  void OnLeave(wxMouseEvent& event);
  void OnClick(wxMouseEvent& event);
  void OnDoubleClick(wxMouseEvent& event);
  void OnKey(wxKeyEvent& event);

  const PoemCatalogue& catalogue_;
  const PlanSettings plan_;
  std::vector<RunRecord> runs_;
  std::int64_t now_ = 0;
  HistoryOutlook outlook_;
  std::vector<std::string> forecast_;
  std::optional<int> hovered_;
  std::optional<int> selected_;
};

class MasteryDialog : public wxDialog {
 public:
  MasteryDialog(wxWindow* parent, const PoemCatalogue& catalogue, const HistoryOutlook& history,
                const PlanSettings& plan);
  MasteryView* view() const { return view_; }

 private:
  MasteryView* view_ = nullptr;
};

// Shows the window over `owner` until it is closed.
void ShowMastery(wxWindow* owner, const PoemCatalogue& catalogue, const HistoryOutlook& history,
                 const PlanSettings& plan);

}  // namespace verselane
