// オプション → 成績を見る: the hundred poems as a 10 × 10 grid, each in its stage of the memory
// model, the legend with how many poems stand at each, the figures of the poem under the pointer or
// selected, the next fourteen days' plans and the scores of the runs over time; above the grid the
// memory model's forecast: how many poems are learned, and when all will be. Enter or a double
// click on a poem opens its card. What it shows is composed in the core (MasteryPage); everything
// is drawn as shapes at paint time, at the player's zoom, so it stays sharp at any size and scale;
// each stage differs in lightness, pattern and mark as well as in hue, for players who cannot tell
// the hues apart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/window.h>

#include "game/history_outlook.h"
#include "game/mastery_page.h"
#include "settings/plan_settings.h"
#include "ui/zoomed_window.h"

class wxGraphicsContext;

namespace verselane {

class PoemCatalogue;

// The grid, the figures and the charts, in one window that lays them out by its size.
class MasteryView : public wxWindow {
 public:
  MasteryView(wxWindow* parent, const PoemCatalogue& catalogue, const HistoryOutlook& outlook,
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
  std::vector<std::string> ForecastLines() const;
  // What is shown, as the core composed it (CP932).
  const MasteryPage& page() const { return page_; }
  MemoryStage StageOfPoem(int poem) const { return page_.stages.at(poem); }
  // The card of `poem`, over this window until it is closed.
  void OpenCard(int poem);

 private:
  struct Layout {
    wxRect forecast;  // the forecast's lines
    wxRect grid;      // the 10 × 10 cells
    wxRect legend;    // the four stages with their counts
    wxRect figures;   // the shown poem's figures
    wxRect upcoming;  // the next fourteen days' plans
    wxRect plot;      // the runs' scores over time
    double cell = 0;
  };
  Layout ComputeLayout() const;
  // Pixels at the zoom.
  double Px(double pixels) const { return pixels * zoom_; }
  wxFont FontOf(double pixels) const;
  void OnPaint(wxPaintEvent& event);
  void PaintGrid(wxGraphicsContext& gc, const Layout& layout, const wxColour& text) const;
  void PaintLegend(wxGraphicsContext& gc, const Layout& layout, const wxColour& text) const;
  void PaintFigures(wxGraphicsContext& gc, const Layout& layout, const wxColour& text) const;
  void PaintForecast(wxGraphicsContext& gc, const Layout& layout, const wxColour& text) const;
  void PaintUpcoming(wxGraphicsContext& gc, const Layout& layout, const wxColour& text) const;
  void PaintScores(wxGraphicsContext& gc, const Layout& layout, const wxColour& text,
                   const wxColour& background) const;
  void OnMotion(wxMouseEvent& event);
  void OnLeave(wxMouseEvent& event);
  void OnClick(wxMouseEvent& event);
  void OnDoubleClick(wxMouseEvent& event);
  void OnKey(wxKeyEvent& event);

  const PoemCatalogue& catalogue_;
  const PlanSettings plan_;
  const double zoom_;
  HistoryOutlook outlook_;
  MasteryPage page_;
  std::optional<int> hovered_;
  std::optional<int> selected_;
};

// At the zoom of the window it opens over (or less where the screen is too small for it), as
// the dialogs are; a card opened over it takes its zoom.
class MasteryDialog : public wxDialog, public ZoomedWindow {
 public:
  MasteryDialog(wxWindow* parent, const PoemCatalogue& catalogue, const HistoryOutlook& outlook,
                const PlanSettings& plan);
  MasteryView* view() const { return view_; }
  double zoom() const override { return zoom_; }

 private:
  double zoom_ = 1.0;
  MasteryView* view_ = nullptr;
};

// Shows the window over `owner` until it is closed.
void ShowMastery(wxWindow* owner, const PoemCatalogue& catalogue, const HistoryOutlook& outlook,
                 const PlanSettings& plan);

}  // namespace verselane
