#include "ui/dialogs/mastery_dialog.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/graphics.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <utility>

#include "base/shift_jis.h"
#include "catalogue/poem_catalogue.h"
#include "game/poem_card.h"
#include "ui/dialogs/dialog_builder.h"
#include "ui/dialogs/poem_card_dialog.h"

namespace verselane {
namespace {

constexpr int kGridSide = 10;
constexpr int kPoems = kGridSide * kGridSide;
constexpr double kMargin = 12;
constexpr double kLineHeight = 21;  // of the figures and the forecast
constexpr double kLegendRow = 26;
constexpr int kForecastLines = 2;
// The size it opens at, at 100 %, and the least it can be made.
constexpr int kOpenWidth = 760, kOpenHeight = 660;
constexpr int kLeastWidth = 560, kLeastHeight = 400;
constexpr int kButtonRow = 50;  // the close button's row under the view
// A window the screen cannot hold at the zoom opens at the largest zoom it can, a little within.
constexpr double kFittingMargin = 0.97;

wxString U8(const std::string& text) { return wxString::FromUTF8(text); }
wxString Sjis(const std::string& text) { return U8(SjisToUtf8(text).text); }

// How each stage looks. The fills step down in lightness from never asked to due today, learning
// is hatched, and each has a mark of its own, so none depends on telling hues apart.
struct Look {
  wxColour fill;
  wxColour ink;  // the number and the mark
  wxColour border;
};

Look LookOf(MemoryStage stage) {
  switch (stage) {
    case MemoryStage::kDueToday: return {wxColour(168, 60, 0), *wxWHITE, wxColour(90, 30, 0)};
    case MemoryStage::kLearning:
      return {wxColour(240, 228, 66), wxColour(60, 50, 0), wxColour(150, 140, 0)};
    case MemoryStage::kLearned:
      return {wxColour(86, 180, 233), wxColour(0, 30, 60), wxColour(0, 90, 150)};
    case MemoryStage::kNeverAsked:
    default: return {*wxWHITE, wxColour(120, 120, 120), wxColour(160, 160, 160)};
  }
}

// The stage's mark in the cell's upper right corner: a triangle for learning, a dot for learned,
// a diamond for due today, none for never asked.
void DrawMark(wxGraphicsContext& gc, double x, double y, double side, MemoryStage stage) {
  const Look look = LookOf(stage);
  const double mark = side * 0.22;
  const double mx = x + side - mark - side * 0.08;
  const double my = y + side * 0.08;
  gc.SetBrush(wxBrush(look.ink));
  gc.SetPen(*wxTRANSPARENT_PEN);
  wxGraphicsPath path = gc.CreatePath();
  switch (stage) {
    case MemoryStage::kLearning:
      path.MoveToPoint(mx + mark / 2, my);
      path.AddLineToPoint(mx + mark, my + mark);
      path.AddLineToPoint(mx, my + mark);
      break;
    case MemoryStage::kDueToday:
      path.MoveToPoint(mx + mark / 2, my - mark * 0.1);
      path.AddLineToPoint(mx + mark * 1.1, my + mark / 2);
      path.AddLineToPoint(mx + mark / 2, my + mark * 1.1);
      path.AddLineToPoint(mx - mark * 0.1, my + mark / 2);
      break;
    case MemoryStage::kLearned: gc.DrawEllipse(mx, my, mark, mark); return;
    default: return;
  }
  path.CloseSubpath();
  gc.FillPath(path);
}

// One cell, or a legend swatch: fill, pattern, mark and (when given) the number.
void DrawCell(wxGraphicsContext& gc, double x, double y, double side, MemoryStage stage,
              const wxString& number, const wxFont& font) {
  const Look look = LookOf(stage);
  gc.SetBrush(wxBrush(look.fill));
  wxPen border(look.border, 1);
  if (stage == MemoryStage::kNeverAsked) border.SetStyle(wxPENSTYLE_SHORT_DASH);
  gc.SetPen(border);
  gc.DrawRectangle(x, y, side, side);
  if (stage == MemoryStage::kLearning) {
    gc.Clip(x, y, side, side);
    gc.SetPen(wxPen(look.border, std::max(1, static_cast<int>(side / 28))));
    for (double d = -side; d < side; d += side / 5) gc.StrokeLine(x + d, y + side, x + d + side, y);
    gc.ResetClip();
  }
  DrawMark(gc, x, y, side, stage);
  if (number.empty()) return;
  gc.SetFont(font, look.ink);
  double tw = 0, th = 0;
  gc.GetTextExtent(number, &tw, &th);
  // The number sits low and left of the mark; a learning cell gets a plate so it reads over the
  // hatching.
  const double tx = x + (side - tw) / 2 - side * 0.06;
  const double ty = y + side * 0.58 - th / 2;
  if (stage == MemoryStage::kLearning) {
    gc.SetBrush(wxBrush(look.fill));
    gc.SetPen(*wxTRANSPARENT_PEN);
    gc.DrawRoundedRectangle(tx - 2, ty, tw + 4, th, 2);
  }
  gc.DrawText(number, tx, ty);
}

// Lines the width of `text`, one after another from `y`, clipped to `box`.
void DrawLines(wxGraphicsContext& gc, const wxRect& box, double lineHeight,
               const std::vector<std::string>& sjis) {
  gc.Clip(box.x, box.y, box.width, box.height);
  double y = box.y;
  for (const std::string& line : sjis) {
    gc.DrawText(Sjis(line), box.x, y);
    y += lineHeight;
  }
  gc.ResetClip();
}

}  // namespace

MasteryView::MasteryView(wxWindow* parent, const PoemCatalogue& catalogue,
                         const HistoryOutlook& outlook, const PlanSettings& plan)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(720, 480), wxWANTS_CHARS),
      catalogue_(catalogue),
      plan_(plan),
      zoom_(ZoomOf(parent)),
      outlook_(outlook),
      page_(ComposeMasteryPage(outlook, catalogue, plan)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetMinSize(wxSize(static_cast<int>(Px(kLeastWidth)), static_cast<int>(Px(kLeastHeight))));
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

wxFont MasteryView::FontOf(double pixels) const {
  wxFont font = GetFont();
  font.SetPixelSize(wxSize(0, std::max(6, static_cast<int>(Px(pixels)))));
  return font;
}

// The forecast runs across the top; below it the grid takes a square on the left, the legend and
// figures the rest; the next days' plans and the scores share the bottom.
MasteryView::Layout MasteryView::ComputeLayout() const {
  const wxSize size = GetClientSize();
  const double margin = Px(kMargin);
  Layout layout;
  const int forecastHeight = static_cast<int>(kForecastLines * Px(kLineHeight));
  layout.forecast = wxRect(margin, margin, std::max(10, static_cast<int>(size.x - 2 * margin)),
                           forecastHeight);
  const double gridTop = layout.forecast.GetBottom() + margin;
  const double plotHeight = std::max(Px(110), size.y * 0.28);
  // The room between the forecast and the bottom charts.
  const double top = size.y - plotHeight - 2 * margin - gridTop;
  const double side = std::max(50.0, std::min(top, size.x * 0.55));
  layout.cell = std::floor(side / kGridSide);
  const int gridSide = static_cast<int>(layout.cell * kGridSide);
  layout.grid = wxRect(margin, gridTop, gridSide, gridSide);
  const int right = layout.grid.GetRight() + 2 * margin;
  const int width = std::max(10, static_cast<int>(size.x - right - margin));
  layout.legend = wxRect(right, gridTop, width, static_cast<int>(kMemoryStages * Px(kLegendRow)));
  layout.figures = wxRect(right, layout.legend.GetBottom() + margin, width,
                          std::max(10, gridSide - layout.legend.height - static_cast<int>(margin)));
  const int bottomTop = static_cast<int>(gridTop + margin + std::max<double>(gridSide, top));
  const int bottomWidth = std::max(20, static_cast<int>(size.x - 3 * margin));
  const int upcomingWidth = static_cast<int>(bottomWidth * 0.42);
  layout.upcoming = wxRect(margin, bottomTop, upcomingWidth, static_cast<int>(plotHeight));
  layout.plot = wxRect(layout.upcoming.GetRight() + margin, bottomTop,
                       bottomWidth - upcomingWidth, static_cast<int>(plotHeight));
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
  std::vector<std::string> lines;
  for (const std::string& line : PoemLines(page_, outlook_, catalogue_, shownPoem(), plan_)) {
    lines.push_back(SjisToUtf8(line).text);
  }
  return lines;
}

std::vector<std::string> MasteryView::ForecastLines() const {
  std::vector<std::string> lines;
  for (const std::string& line : page_.forecast) lines.push_back(SjisToUtf8(line).text);
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
  PaintForecast(*gc, layout, text);
  PaintGrid(*gc, layout, text);
  PaintLegend(*gc, layout, text);
  PaintFigures(*gc, layout, text);
  PaintUpcoming(*gc, layout, text);
  PaintScores(*gc, layout, text, background);
}

// Each poem's cell in its stage; the selected cell in a heavy frame, the one under the pointer in
// a lighter one.
void MasteryView::PaintGrid(wxGraphicsContext& gc, const Layout& layout,
                            const wxColour& text) const {
  const double cell = layout.cell;
  wxFont numberFont = GetFont();
  numberFont.SetPixelSize(wxSize(0, std::max(8, static_cast<int>(cell * 0.34))));
  numberFont.SetWeight(wxFONTWEIGHT_BOLD);
  const double gap = std::max(1.0, cell / 24);
  for (int poem = 0; poem < kPoems; ++poem) {
    const double x = layout.grid.x + (poem % kGridSide) * cell + gap;
    const double y = layout.grid.y + (poem / kGridSide) * cell + gap;
    DrawCell(gc, x, y, cell - 2 * gap, StageOfPoem(poem), std::to_string(poem + 1), numberFont);
  }
  auto frame = [&](std::optional<int> poem, double width, const wxColour& colour) {
    if (!poem) return;
    const double x = layout.grid.x + (*poem % kGridSide) * cell;
    const double y = layout.grid.y + (*poem / kGridSide) * cell;
    gc.SetBrush(*wxTRANSPARENT_BRUSH);
    gc.SetPen(wxPen(colour, static_cast<int>(width)));
    gc.DrawRectangle(x + width / 2.0, y + width / 2.0, cell - width, cell - width);
  };
  frame(hovered_, std::round(Px(2)), wxColour(80, 80, 80));
  frame(selected_, std::round(Px(3)), text);
}

// Each stage with how many poems stand at it.
void MasteryView::PaintLegend(wxGraphicsContext& gc, const Layout& layout,
                              const wxColour& text) const {
  const wxFont font = FontOf(14);
  for (std::size_t i = 0; i < page_.legend.size(); ++i) {
    const double y = layout.legend.y + i * Px(kLegendRow);
    DrawCell(gc, layout.legend.x, y, Px(22), page_.legend[i].stage, wxString(), font);
    gc.SetFont(font, text);
    gc.DrawText(Sjis(page_.legend[i].label), layout.legend.x + Px(32), y + Px(3));
  }
}

// The lines close up, and their font with them, where the window is too low for them all (as at
// a large zoom on a small screen).
void MasteryView::PaintFigures(wxGraphicsContext& gc, const Layout& layout,
                               const wxColour& text) const {
  const std::vector<std::string> lines =
      PoemLines(page_, outlook_, catalogue_, shownPoem(), plan_);
  wxRect box = layout.figures;
  box.y += static_cast<int>(Px(4));
  box.height -= static_cast<int>(Px(4));
  const double shrink =
      std::min(1.0, box.height / (Px(kLineHeight) * std::max<std::size_t>(lines.size(), 1)));
  gc.SetFont(FontOf(15 * shrink), text);
  DrawLines(gc, box, Px(kLineHeight) * shrink, lines);
}

// The count of learned poems in bold, the date's assumption beneath it.
void MasteryView::PaintForecast(wxGraphicsContext& gc, const Layout& layout,
                                const wxColour& text) const {
  wxFont font = FontOf(15);
  for (std::size_t i = 0; i < page_.forecast.size(); ++i) {
    font.SetWeight(i == 0 ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    gc.SetFont(font, text);
    wxRect line = layout.forecast;
    line.y += static_cast<int>(i * Px(kLineHeight));
    line.height = static_cast<int>(Px(kLineHeight));
    DrawLines(gc, line, Px(kLineHeight), {page_.forecast[i]});
  }
}

// A bar for each of the next fourteen days: the poems due filled as a cell due today is, the new
// ones outlined as a cell never asked, the total above and the day below.
void MasteryView::PaintUpcoming(wxGraphicsContext& gc, const Layout& layout,
                                const wxColour& text) const {
  const wxRect box = layout.upcoming;
  const wxFont font = FontOf(14);
  const wxFont small = FontOf(11);
  gc.Clip(box.x, box.y - Px(2), box.width, box.height + Px(2));
  gc.SetFont(font, text);
  gc.DrawText(Sjis(page_.upcomingCaption), box.x, box.y - Px(2));
  const std::vector<PlanDayCount>& days = page_.upcoming;
  const double top = box.y + Px(54);  // under the caption, its key and the tallest total
  const double bottom = box.GetBottom() - Px(20);
  int highest = 1;
  for (const PlanDayCount& day : days) highest = std::max(highest, day.due + day.fresh);
  const double column = days.empty() ? 0 : static_cast<double>(box.width) / days.size();
  const double barWidth = std::max(2.0, column * 0.66);
  gc.SetPen(wxPen(text, 1));
  gc.StrokeLine(box.x, bottom, box.GetRight(), bottom);
  double labelsEnd = box.x;
  for (std::size_t i = 0; i < days.size(); ++i) {
    const double x = box.x + i * column + (column - barWidth) / 2;
    const double dueHeight = (bottom - top) * days[i].due / highest;
    const double freshHeight = (bottom - top) * days[i].fresh / highest;
    for (const auto& [stage, height, base] :
         {std::tuple{MemoryStage::kDueToday, dueHeight, bottom},
          std::tuple{MemoryStage::kNeverAsked, freshHeight, bottom - dueHeight}}) {
      if (height <= 0) continue;
      const Look look = LookOf(stage);
      gc.SetBrush(wxBrush(look.fill));
      wxPen border(look.border, 1);
      if (stage == MemoryStage::kNeverAsked) border.SetStyle(wxPENSTYLE_SHORT_DASH);
      gc.SetPen(border);
      gc.DrawRectangle(x, base - height, barWidth, height);
    }
    gc.SetFont(small, text);
    double tw = 0, th = 0;
    const wxString total = std::to_string(days[i].due + days[i].fresh);
    gc.GetTextExtent(total, &tw, &th);
    gc.DrawText(total, x + (barWidth - tw) / 2, bottom - dueHeight - freshHeight - th - Px(1));
    // A day's label is left out where the one before it reaches over.
    const wxString label = Sjis(page_.upcomingDays[i]);
    gc.GetTextExtent(label, &tw, &th);
    const double labelX = std::max<double>(box.x, x + (barWidth - tw) / 2);
    if (labelX < labelsEnd) continue;
    gc.DrawText(label, labelX, bottom + Px(3));
    labelsEnd = labelX + tw + Px(2);
  }
  // What the two fills stand for, under the caption.
  double x = box.x;
  const double y = box.y + Px(18);
  for (const auto& [stage, name] : {std::pair{MemoryStage::kDueToday, "復習"},
                                    std::pair{MemoryStage::kNeverAsked, "新しい歌"}}) {
    DrawCell(gc, x, y + Px(2), Px(12), stage, wxString(), small);
    gc.SetFont(small, text);
    double tw = 0, th = 0;
    gc.GetTextExtent(U8(name), &tw, &th);
    gc.DrawText(U8(name), x + Px(16), y);
    x += Px(16) + tw + Px(12);
  }
  gc.ResetClip();
}

// One point per finished run, placed by when it finished.
void MasteryView::PaintScores(wxGraphicsContext& gc, const Layout& layout, const wxColour& text,
                              const wxColour& background) const {
  const wxRect plot = layout.plot;
  const ScoreChart& chart = page_.scores;
  gc.SetFont(FontOf(14), text);
  gc.DrawText(U8("ゲームごとの得点"), plot.x, plot.y - Px(2));
  const double left = plot.x + Px(56);
  const double top = plot.y + Px(20);
  const double right = plot.GetRight() - Px(8);
  const double bottom = plot.GetBottom() - Px(20);
  gc.SetPen(wxPen(text, 1));
  gc.StrokeLine(left, top, left, bottom);
  gc.StrokeLine(left, bottom, right, bottom);
  if (chart.points.empty()) {
    gc.DrawText(U8("まだゲームの記録がありません"), left + Px(12), top + Px(12));
    return;
  }
  auto at = [&](const ScoreChart::Point& point) {
    return wxPoint2DDouble(left + Px(8) + point.x * (right - left - Px(16)),
                           bottom - point.y * (bottom - top));
  };
  gc.SetPen(wxPen(wxColour(200, 200, 200), 1, wxPENSTYLE_SHORT_DASH));
  for (int value = chart.step; value <= chart.highest; value += chart.step) {
    const double gy = bottom - static_cast<double>(value) / chart.highest * (bottom - top);
    gc.StrokeLine(left, gy, right, gy);
  }
  double tw = 0, th = 0;
  for (int value : {0, chart.highest}) {
    const wxString label = std::to_string(value);
    gc.GetTextExtent(label, &tw, &th);
    gc.DrawText(label, left - Px(6) - tw,
                bottom - static_cast<double>(value) / chart.highest * (bottom - top) - th / 2);
  }
  gc.DrawText(U8(chart.from), left, bottom + Px(3));
  gc.GetTextExtent(U8(chart.to), &tw, &th);
  if (chart.to != chart.from) gc.DrawText(U8(chart.to), right - tw, bottom + Px(3));
  gc.SetPen(wxPen(wxColour(0, 114, 178), static_cast<int>(std::round(Px(2)))));
  for (std::size_t i = 1; i < chart.points.size(); ++i) {
    const wxPoint2DDouble a = at(chart.points[i - 1]);
    const wxPoint2DDouble b = at(chart.points[i]);
    gc.StrokeLine(a.m_x, a.m_y, b.m_x, b.m_y);
  }
  gc.SetBrush(wxBrush(background));
  const double dot = Px(7);
  for (const ScoreChart::Point& point : chart.points) {
    const wxPoint2DDouble p = at(point);
    gc.DrawEllipse(p.m_x - dot / 2, p.m_y - dot / 2, dot, dot);
  }
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

namespace {

// The room of the screen `parent` is on.
wxRect ScreenArea(wxWindow* parent) {
  return (parent != nullptr ? wxDisplay(parent) : wxDisplay()).GetClientArea();
}

// The zoom of `parent`, or the largest below it at which the window's least size fits the screen.
double FittingZoom(wxWindow* parent, const wxSize& least) {
  const double zoom = ZoomOf(parent);
  const wxRect screen = ScreenArea(parent);
  const double fits = std::min(static_cast<double>(screen.width) / (least.x * zoom),
                               static_cast<double>(screen.height) / (least.y * zoom));
  return fits >= 1.0 ? zoom : std::max(1.0, zoom * fits * kFittingMargin);
}

}  // namespace

MasteryDialog::MasteryDialog(wxWindow* parent, const PoemCatalogue& catalogue,
                             const HistoryOutlook& outlook, const PlanSettings& plan)
    : wxDialog(parent, wxID_ANY, U8(" 成績"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      zoom_(FittingZoom(parent, FromDIP(wxSize(kLeastWidth, kLeastHeight + kButtonRow)))) {
  SetFont(DialogFont(zoom_));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  view_ = new MasteryView(this, catalogue, outlook, plan);
  sizer->Add(view_, 1, wxEXPAND);
  auto* close = new wxButton(this, wxID_CANCEL, U8("閉じる"));
  sizer->Add(close, 0, wxALIGN_RIGHT | wxALL, static_cast<int>(8 * zoom_));
  SetSizerAndFit(sizer);
  // Fit gives the least size; it opens roomier as far as the screen allows, and any size the
  // player drags to is redrawn.
  const wxRect screen = ScreenArea(parent);
  const wxSize open = FromDIP(wxSize(static_cast<int>(kOpenWidth * zoom_),
                                     static_cast<int>((kOpenHeight + kButtonRow) * zoom_)));
  const wxSize least = GetSize();
  SetSize(std::max(least.x, std::min(open.x, screen.width)),
          std::max(least.y, std::min(open.y, screen.height)));
  SetEscapeId(wxID_CANCEL);
  view_->SetFocus();
  CentreOnParent();
}

void ShowMastery(wxWindow* owner, const PoemCatalogue& catalogue, const HistoryOutlook& outlook,
                 const PlanSettings& plan) {
  MasteryDialog dialog(owner, catalogue, outlook, plan);
  dialog.ShowModal();
}

}  // namespace verselane
