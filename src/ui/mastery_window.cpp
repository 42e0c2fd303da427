#include "ui/mastery_window.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "base/shift_jis.h"
#include "catalogue/poem_catalogue.h"
#include "game/poem_card.h"
#include "ui/dialogs/poem_card_dialog.h"

namespace verselane {
namespace {

constexpr int kGridSide = 10;
constexpr int kPoems = kGridSide * kGridSide;
constexpr double kMargin = 12;
constexpr double kLineHeight = 21;  // of the figures and the forecast
constexpr int kForecastLines = 2;

wxString U8(const std::string& text) { return wxString::FromUTF8(text); }

std::string Utf8Field(const PoemCatalogue& catalogue, int poem, int field) {
  return SjisToUtf8(catalogue.FieldView(poem, field)).text;
}

// How each mastery looks. The fills step down in lightness from never asked to weak, learning is
// hatched, and each has a mark of its own, so none depends on telling hues apart.
struct Look {
  wxColour fill;
  wxColour ink;     // the number and the mark
  wxColour border;
  const char* label;
};

Look LookOf(Mastery mastery) {
  switch (mastery) {
    case Mastery::kWeak: return {wxColour(168, 60, 0), *wxWHITE, wxColour(90, 30, 0), "苦手"};
    case Mastery::kLearning:
      return {wxColour(240, 228, 66), wxColour(60, 50, 0), wxColour(150, 140, 0), "練習中"};
    case Mastery::kKnown:
      return {wxColour(86, 180, 233), wxColour(0, 30, 60), wxColour(0, 90, 150), "習得"};
    case Mastery::kNeverAsked:
    default:
      return {*wxWHITE, wxColour(120, 120, 120), wxColour(160, 160, 160), "未出題"};
  }
}

// One cell, or a legend swatch: fill, pattern, mark and (when given) the number.
void DrawCell(wxGraphicsContext& gc, double x, double y, double side, Mastery mastery,
              const wxString& number, const wxFont& font) {
  const Look look = LookOf(mastery);
  const double width = std::max(1.0, side / 28);
  gc.SetBrush(wxBrush(look.fill));
  wxPen border(look.border, 1);
  if (mastery == Mastery::kNeverAsked) border.SetStyle(wxPENSTYLE_SHORT_DASH);
  gc.SetPen(border);
  gc.DrawRectangle(x, y, side, side);
  const double mark = side * 0.22;
  const double mx = x + side - mark - side * 0.08;
  const double my = y + side * 0.08;
  switch (mastery) {
    case Mastery::kLearning: {
      gc.Clip(x, y, side, side);
      gc.SetPen(wxPen(look.border, std::max(1, static_cast<int>(width))));
      for (double d = -side; d < side; d += side / 5) {
        gc.StrokeLine(x + d, y + side, x + d + side, y);
      }
      gc.ResetClip();
      wxGraphicsPath triangle = gc.CreatePath();
      triangle.MoveToPoint(mx + mark / 2, my);
      triangle.AddLineToPoint(mx + mark, my + mark);
      triangle.AddLineToPoint(mx, my + mark);
      triangle.CloseSubpath();
      gc.SetBrush(wxBrush(look.ink));
      gc.SetPen(*wxTRANSPARENT_PEN);
      gc.FillPath(triangle);
      break;
    }
    case Mastery::kWeak:
      gc.SetPen(wxPen(look.ink, std::max(1, static_cast<int>(width * 2))));
      gc.StrokeLine(mx, my, mx + mark, my + mark);
      gc.StrokeLine(mx, my + mark, mx + mark, my);
      break;
    case Mastery::kKnown:
      gc.SetBrush(wxBrush(look.ink));
      gc.SetPen(*wxTRANSPARENT_PEN);
      gc.DrawEllipse(mx, my, mark, mark);
      break;
    default:
      break;
  }
  if (number.empty()) return;
  gc.SetFont(font, look.ink);
  double tw = 0, th = 0;
  gc.GetTextExtent(number, &tw, &th);
  // The number sits low and left of the mark; a learning cell gets a plate so it reads over the
  // hatching.
  const double tx = x + (side - tw) / 2 - side * 0.06;
  const double ty = y + side * 0.58 - th / 2;
  if (mastery == Mastery::kLearning) {
    gc.SetBrush(wxBrush(look.fill));
    gc.SetPen(*wxTRANSPARENT_PEN);
    gc.DrawRoundedRectangle(tx - 2, ty, tw + 4, th, 2);
  }
  gc.DrawText(number, tx, ty);
}

std::vector<std::string> Utf8Lines(const std::vector<std::string>& sjis) {
  std::vector<std::string> lines;
  for (const std::string& line : sjis) lines.push_back(SjisToUtf8(line).text);
  return lines;
}

}  // namespace

MasteryView::MasteryView(wxWindow* parent, const PoemCatalogue& catalogue,
                         const HistoryOutlook& history, const PlanSettings& plan)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(720, 480), wxWANTS_CHARS),
      catalogue_(catalogue),
      plan_(plan),
      runs_(history.runs),
      now_(history.now),
      outlook_(history),
      forecast_(
          Utf8Lines(verselane::ForecastLines(ForecastMastery(outlook_, catalogue, plan), plan))) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetMinSize(wxSize(560, 400));
  Bind(wxEVT_PAINT, &MasteryView::OnPaint, this);
  Bind(wxEVT_MOTION, &MasteryView::OnMotion, this);
  Bind(wxEVT_LEAVE_WINDOW, &MasteryView::OnLeave, this);
  Bind(wxEVT_LEFT_DOWN, &MasteryView::OnClick, this);
  Bind(wxEVT_LEFT_DCLICK, &MasteryView::OnDoubleClick, this);
  Bind(wxEVT_KEY_DOWN, &MasteryView::OnKey, this);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    Refresh();
    event.Skip();
  });
}

Mastery MasteryView::MasteryOfPoem(int poem) const {
  return MasteryOf(outlook_.FiguresOf(poem), now_);
}

// The forecast runs across the top; below it the grid takes a square on the left, the legend and
// figures the rest; the plot runs along the bottom.
MasteryView::Layout MasteryView::ComputeLayout() const {
  const wxSize size = GetClientSize();
  Layout layout;
  const int forecastHeight = static_cast<int>(kForecastLines * kLineHeight);
  layout.forecast = wxRect(kMargin, kMargin, std::max(10, static_cast<int>(size.x - 2 * kMargin)),
                           forecastHeight);
  const double gridTop = layout.forecast.GetBottom() + kMargin;
  const double plotHeight = std::max(110.0, size.y * 0.28);
  // The room between the forecast and the plot.
  const double top = size.y - plotHeight - 2 * kMargin - gridTop;
  const double side = std::max(50.0, std::min(top, size.x * 0.55));
  layout.cell = std::floor(side / kGridSide);
  const int gridSide = static_cast<int>(layout.cell * kGridSide);
  layout.grid = wxRect(kMargin, gridTop, gridSide, gridSide);
  const int right = layout.grid.GetRight() + 2 * kMargin;
  const int width = std::max(10, static_cast<int>(size.x - right - kMargin));
  layout.legend = wxRect(right, gridTop, width, 4 * 26);
  layout.figures = wxRect(right, layout.legend.GetBottom() + kMargin, width,
                          std::max(10, gridSide - layout.legend.height - static_cast<int>(kMargin)));
  layout.plot = wxRect(kMargin,
                       static_cast<int>(gridTop + kMargin + std::max<double>(gridSide, top)),
                       std::max(10, static_cast<int>(size.x - 2 * kMargin)),
                       static_cast<int>(plotHeight));
  return layout;
}

std::optional<int> MasteryView::PoemAt(const wxPoint& point) const {
  const Layout layout = ComputeLayout();
  if (!layout.grid.Contains(point) || layout.cell <= 0) return std::nullopt;
  const int column = static_cast<int>((point.x - layout.grid.x) / layout.cell);
  const int row = static_cast<int>((point.y - layout.grid.y) / layout.cell);
  if (column < 0 || column >= kGridSide || row < 0 || row >= kGridSide) return std::nullopt;
  return row * kGridSide + column;
}

wxPoint MasteryView::CellCentre(int poem) const {
  const Layout layout = ComputeLayout();
  return wxPoint(static_cast<int>(layout.grid.x + (poem % kGridSide + 0.5) * layout.cell),
                 static_cast<int>(layout.grid.y + (poem / kGridSide + 0.5) * layout.cell));
}

void MasteryView::Select(int poem) {
  if (poem < 0 || poem >= kPoems) return;
  selected_ = poem;
  Refresh();
}

std::vector<std::string> MasteryView::FigureLines() const {
  const std::optional<int> poem = shownPoem();
  if (!poem) return {"歌にポインタを合わせるか、", "クリックして選ぶと成績が出ます"};
  const PoemFigures* figures = outlook_.FiguresOf(*poem);
  std::vector<std::string> lines = {
      "第" + std::to_string(*poem + 1) + "首　" + LookOf(MasteryOfPoem(*poem)).label,
      Utf8Field(catalogue_, *poem, kPoet),
      Utf8Field(catalogue_, *poem, kUpperReading),
  };
  for (std::string& line : Utf8Lines(verselane::FigureLines(outlook_, *poem, plan_))) {
    lines.push_back(std::move(line));
  }
  if (figures == nullptr) return lines;
  char weakness[16];
  std::snprintf(weakness, sizeof weakness, "%.0f", Weakness(*figures, now_) * 100);
  lines.push_back(std::string("苦手度 ") + weakness + " / 100");
  return lines;
}

void MasteryView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return;
  const wxSize size = GetClientSize();
  const Layout layout = ComputeLayout();
  const wxColour background = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
  const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
  gc->SetBrush(wxBrush(background));
  gc->SetPen(*wxTRANSPARENT_PEN);
  gc->DrawRectangle(0, 0, size.x, size.y);

  // The grid.
  const double cell = layout.cell;
  wxFont numberFont = GetFont();
  numberFont.SetPixelSize(wxSize(0, std::max(8, static_cast<int>(cell * 0.34))));
  numberFont.SetWeight(wxFONTWEIGHT_BOLD);
  const double gap = std::max(1.0, cell / 24);
  for (int poem = 0; poem < kPoems; ++poem) {
    const double x = layout.grid.x + (poem % kGridSide) * cell + gap;
    const double y = layout.grid.y + (poem / kGridSide) * cell + gap;
    DrawCell(*gc, x, y, cell - 2 * gap, MasteryOfPoem(poem), std::to_string(poem + 1),
             numberFont);
  }
  // The selected cell in a heavy frame, the one under the pointer in a lighter one.
  auto frame = [&](std::optional<int> poem, int width, const wxColour& colour) {
    if (!poem) return;
    const double x = layout.grid.x + (*poem % kGridSide) * cell;
    const double y = layout.grid.y + (*poem / kGridSide) * cell;
    gc->SetBrush(*wxTRANSPARENT_BRUSH);
    gc->SetPen(wxPen(colour, width));
    gc->DrawRectangle(x + width / 2.0, y + width / 2.0, cell - width, cell - width);
  };
  frame(hovered_, 2, wxColour(80, 80, 80));
  frame(selected_, 3, text);

  // The legend, with how many poems stand at each mastery.
  int counts[4] = {};
  for (int poem = 0; poem < kPoems; ++poem) ++counts[static_cast<int>(MasteryOfPoem(poem))];
  wxFont font = GetFont();
  font.SetPixelSize(wxSize(0, 14));
  const Mastery order[] = {Mastery::kNeverAsked, Mastery::kWeak, Mastery::kLearning,
                           Mastery::kKnown};
  for (int i = 0; i < 4; ++i) {
    const double y = layout.legend.y + i * 26;
    DrawCell(*gc, layout.legend.x, y, 22, order[i], wxString(), font);
    gc->SetFont(font, text);
    gc->DrawText(U8(std::string(LookOf(order[i]).label) + "  " +
                    std::to_string(counts[static_cast<int>(order[i])]) + "首"),
                 layout.legend.x + 32, y + 3);
  }

  // The figures of the poem shown.
  wxFont figuresFont = GetFont();
  figuresFont.SetPixelSize(wxSize(0, 15));
  gc->SetFont(figuresFont, text);
  double y = layout.figures.y + 4;
  gc->Clip(layout.figures.x, layout.figures.y, layout.figures.width, layout.figures.height);
  for (const std::string& line : FigureLines()) {
    gc->DrawText(U8(line), layout.figures.x, y);
    y += kLineHeight;
  }
  gc->ResetClip();
  PaintForecast(*gc, layout, text);

  // The runs' scores over time: one point per finished run, placed by when it finished.
  const wxRect plot = layout.plot;
  gc->SetFont(font, text);
  gc->DrawText(U8("ゲームごとの得点"), plot.x, plot.y - 2);
  const double left = plot.x + 56;
  const double top = plot.y + 20;
  const double right = plot.GetRight() - 8;
  const double bottom = plot.GetBottom() - 20;
  gc->SetPen(wxPen(text, 1));
  gc->StrokeLine(left, top, left, bottom);
  gc->StrokeLine(left, bottom, right, bottom);
  const std::vector<RunRecord>& runs = runs_;
  if (runs.empty()) {
    gc->DrawText(U8("まだゲームの記録がありません"), left + 12, top + 12);
    return;
  }
  int highest = 1000;
  for (const RunRecord& run : runs) highest = std::max(highest, run.score);
  const int step = highest > 20000 ? 10000 : highest > 5000 ? 2000 : 1000;
  highest = (highest + step - 1) / step * step;
  std::int64_t first = runs.front().finishedAt;
  std::int64_t last = runs.back().finishedAt;
  for (const RunRecord& run : runs) {
    first = std::min(first, run.finishedAt);
    last = std::max(last, run.finishedAt);
  }
  const double span = std::max<double>(static_cast<double>(last - first), 1.0);
  auto at = [&](const RunRecord& run) {
    const double x = runs.size() == 1 ? (left + right) / 2
                                      : left + 8 + (run.finishedAt - first) / span * (right - left - 16);
    return wxPoint2DDouble(x, bottom - static_cast<double>(run.score) / highest * (bottom - top));
  };
  gc->SetPen(wxPen(wxColour(200, 200, 200), 1, wxPENSTYLE_SHORT_DASH));
  for (int value = step; value <= highest; value += step) {
    const double gy = bottom - static_cast<double>(value) / highest * (bottom - top);
    gc->StrokeLine(left, gy, right, gy);
  }
  double tw = 0, th = 0;
  for (int value : {0, highest}) {
    const wxString label = std::to_string(value);
    gc->GetTextExtent(label, &tw, &th);
    gc->DrawText(label, left - 6 - tw,
                 bottom - static_cast<double>(value) / highest * (bottom - top) - th / 2);
  }
  const wxString from = U8(runs.front().localTime.substr(0, 10));
  const wxString to = U8(runs.back().localTime.substr(0, 10));
  gc->DrawText(from, left, bottom + 3);
  gc->GetTextExtent(to, &tw, &th);
  if (to != from) gc->DrawText(to, right - tw, bottom + 3);
  const wxColour line(0, 114, 178);
  gc->SetPen(wxPen(line, 2));
  for (std::size_t i = 1; i < runs.size(); ++i) {
    const wxPoint2DDouble a = at(runs[i - 1]);
    const wxPoint2DDouble b = at(runs[i]);
    gc->StrokeLine(a.m_x, a.m_y, b.m_x, b.m_y);
  }
  gc->SetBrush(wxBrush(background));
  for (const RunRecord& run : runs) {
    const wxPoint2DDouble p = at(run);
    gc->DrawEllipse(p.m_x - 3.5, p.m_y - 3.5, 7, 7);
  }
}

// The count of learned poems in bold, the date's assumption beneath it.
void MasteryView::PaintForecast(wxGraphicsContext& gc, const Layout& layout,
                                const wxColour& text) const {
  wxFont font = GetFont();
  font.SetPixelSize(wxSize(0, 15));
  gc.Clip(layout.forecast.x, layout.forecast.y, layout.forecast.width, layout.forecast.height);
  double y = layout.forecast.y;
  for (std::size_t i = 0; i < forecast_.size(); ++i) {
    font.SetWeight(i == 0 ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    gc.SetFont(font, text);
    gc.DrawText(U8(forecast_[i]), layout.forecast.x, y);
    y += kLineHeight;
  }
  gc.ResetClip();
}

void MasteryView::OnMotion(wxMouseEvent& event) {
  const std::optional<int> poem = PoemAt(event.GetPosition());
  if (poem != hovered_) {
    hovered_ = poem;
    Refresh();
  }
}

void MasteryView::OnLeave(wxMouseEvent&) {
  if (!hovered_) return;
  hovered_.reset();
  Refresh();
}

void MasteryView::OnClick(wxMouseEvent& event) {
  SetFocus();
  if (const std::optional<int> poem = PoemAt(event.GetPosition())) Select(*poem);
}

void MasteryView::OnDoubleClick(wxMouseEvent& event) {
  if (const std::optional<int> poem = PoemAt(event.GetPosition())) {
    Select(*poem);
    OpenCard(*poem);
  }
}

void MasteryView::OpenCard(int poem) {
  ShowPoemCard(wxGetTopLevelParent(this), MakePoemCard(catalogue_, poem, outlook_, plan_));
}

// The arrows move the selection, so the figures can be read without a pointer; Enter opens the
// selected poem's card.
void MasteryView::OnKey(wxKeyEvent& event) {
  int poem = selected_.value_or(-1);
  switch (event.GetKeyCode()) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      if (selected_) {
        OpenCard(*selected_);
      } else {
        event.Skip();
      }
      return;
    case WXK_LEFT: poem = poem < 0 ? 0 : std::max(poem - 1, 0); break;
    case WXK_RIGHT: poem = poem < 0 ? 0 : std::min(poem + 1, kPoems - 1); break;
    case WXK_UP: poem = poem < 0 ? 0 : (poem >= kGridSide ? poem - kGridSide : poem); break;
    case WXK_DOWN: poem = poem < 0 ? 0 : (poem + kGridSide < kPoems ? poem + kGridSide : poem); break;
    default:
      event.Skip();
      return;
  }
  hovered_.reset();
  Select(poem);
}

MasteryDialog::MasteryDialog(wxWindow* parent, const PoemCatalogue& catalogue,
                             const HistoryOutlook& history, const PlanSettings& plan)
    : wxDialog(parent, wxID_ANY, U8(" 成績"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  view_ = new MasteryView(this, catalogue, history, plan);
  sizer->Add(view_, 1, wxEXPAND);
  auto* close = new wxButton(this, wxID_CANCEL, U8("閉じる"));
  sizer->Add(close, 0, wxALIGN_RIGHT | wxALL, 8);
  SetSizerAndFit(sizer);
  // Fit gives the least size; it opens roomier, and any size the player drags to is redrawn.
  SetClientSize(FromDIP(wxSize(760, 660)));
  SetEscapeId(wxID_CANCEL);
  view_->SetFocus();
  Centre();
}

void ShowMastery(wxWindow* owner, const PoemCatalogue& catalogue, const HistoryOutlook& history,
                 const PlanSettings& plan) {
  MasteryDialog dialog(owner, catalogue, history, plan);
  dialog.ShowModal();
}

}  // namespace verselane
