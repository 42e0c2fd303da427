// オプション → 成績を見る: the hundred poems as a 10 × 10 grid coloured by mastery, the figures
// of the poem under the pointer or selected, and the scores of the runs over time. Everything is
// drawn as shapes at paint time, so it stays sharp at any size and scale; each mastery differs in
// lightness, pattern and mark as well as in hue, for players who cannot tell the hues apart.
#pragma once

#include <optional>
#include <string>

#include <wx/dialog.h>
#include <wx/window.h>

#include "game/desktop_ports.h"
#include "game/weak_poems.h"

namespace verselane {

class PoemCatalogue;

// The grid, the figures and the plot, in one window that lays them out by its size.
class MasteryView : public wxWindow {
 public:
  MasteryView(wxWindow* parent, const PoemCatalogue& catalogue, HistorySnapshot history);

  // The poem whose cell holds `point` (in this window's pixels), or nothing.
  std::optional<int> PoemAt(const wxPoint& point) const;
  // The middle of poem `poem`'s cell.
  wxPoint CellCentre(int poem) const;
  void Select(int poem);
  // The poem whose figures are shown: the one under the pointer, else the selected one.
  std::optional<int> shownPoem() const { return hovered_ ? hovered_ : selected_; }
  // The lines of figures shown for shownPoem() (UTF-8).
  std::vector<std::string> FigureLines() const;
  Mastery MasteryOfPoem(int poem) const;

 private:
  struct Layout {
    wxRect grid;     // the 10 × 10 cells
    wxRect legend;   // the four masteries with their counts
    wxRect figures;  // the shown poem's figures
    wxRect plot;     // the runs' scores over time
    double cell = 0;
  };
  Layout ComputeLayout() const;
  const PoemFigures* FiguresOf(int poem) const;
  void OnPaint(wxPaintEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeave(wxMouseEvent& event);
  void OnClick(wxMouseEvent& event);
  void OnKey(wxKeyEvent& event);

  const PoemCatalogue& catalogue_;
  HistorySnapshot history_;
  std::optional<int> hovered_;
  std::optional<int> selected_;
};

class MasteryDialog : public wxDialog {
 public:
  MasteryDialog(wxWindow* parent, const PoemCatalogue& catalogue, HistorySnapshot history);
  MasteryView* view() const { return view_; }

 private:
  MasteryView* view_ = nullptr;
};

// Shows the window over `owner` until it is closed.
void ShowMastery(wxWindow* owner, const PoemCatalogue& catalogue, HistorySnapshot history);

}  // namespace verselane
