#include "ui/dialogs/up_down_control.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/spinbutt.h>

namespace verselane {
namespace {

// Holding an arrow down repeats it after a pause, then steadily.
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 80;

void DrawArrow(wxDC& dc, const wxRect& box, bool up, bool enabled) {
  const int half = std::max(2, std::min(box.width, box.height) / 4);
  const int cx = box.x + box.width / 2;
  const int cy = box.y + box.height / 2;
  wxPoint points[3];
  if (up) {
    points[0] = wxPoint(cx - half, cy + half / 2);
    points[1] = wxPoint(cx + half, cy + half / 2);
    points[2] = wxPoint(cx, cy - half / 2 - 1);
  } else {
    points[0] = wxPoint(cx - half, cy - half / 2);
    points[1] = wxPoint(cx + half, cy - half / 2);
    points[2] = wxPoint(cx, cy + half / 2 + 1);
  }
  const wxColour colour = wxSystemSettings::GetColour(enabled ? wxSYS_COLOUR_BTNTEXT
                                                              : wxSYS_COLOUR_GRAYTEXT);
  dc.SetPen(wxPen(colour));
  dc.SetBrush(wxBrush(colour));
  dc.DrawPolygon(3, points);
}

}  // namespace

UpDownControl::UpDownControl(wxWindow* parent, wxWindowID id, const wxPoint& position,
                             const wxSize& size)
    : wxControl(parent, id, position, size, wxBORDER_NONE), repeat_(this) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &UpDownControl::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &UpDownControl::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &UpDownControl::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &UpDownControl::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &UpDownControl::OnCaptureLost, this);
  Bind(wxEVT_TIMER, &UpDownControl::OnRepeat, this);
}

wxSize UpDownControl::DoGetBestSize() const { return FromDIP(wxSize(16, 24)); }

void UpDownControl::Step(bool up) {
  wxSpinEvent event(up ? wxEVT_SPIN_UP : wxEVT_SPIN_DOWN, GetId());
  event.SetEventObject(this);
  ProcessWindowEvent(event);
}

void UpDownControl::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
  dc.Clear();
  const int upperHeight = size.y / 2;
  const wxRect upper(0, 0, size.x, upperHeight);
  const wxRect lower(0, upperHeight, size.x, size.y - upperHeight);
  wxRendererNative& renderer = wxRendererNative::Get();
  const int disabled = IsEnabled() ? 0 : static_cast<int>(wxCONTROL_DISABLED);
  const int pressed = static_cast<int>(wxCONTROL_PRESSED);
  renderer.DrawPushButton(this, dc, upper,
                          disabled | (pressed_ == Arrow::kUp ? pressed : 0));
  renderer.DrawPushButton(this, dc, lower,
                          disabled | (pressed_ == Arrow::kDown ? pressed : 0));
  DrawArrow(dc, upper, true, IsEnabled());
  DrawArrow(dc, lower, false, IsEnabled());
}

void UpDownControl::OnLeftDown(wxMouseEvent& event) {
  if (!IsEnabled()) return;
  pressed_ = event.GetY() < GetClientSize().y / 2 ? Arrow::kUp : Arrow::kDown;
  if (!HasCapture()) CaptureMouse();
  Refresh();
  Step(pressed_ == Arrow::kUp);
  repeat_.StartOnce(kFirstRepeatMs);
}

void UpDownControl::OnLeftUp(wxMouseEvent&) { Release(); }

void UpDownControl::OnCaptureLost(wxMouseCaptureLostEvent&) {
  pressed_ = Arrow::kNone;
  repeat_.Stop();
  Refresh();
}

void UpDownControl::OnRepeat(wxTimerEvent&) {
  if (pressed_ == Arrow::kNone) return;
  // Only while the pointer is still over the arrow that was pressed.
  const wxPoint pointer = ScreenToClient(wxGetMousePosition());
  const bool overUp = pointer.y < GetClientSize().y / 2;
  if (GetClientRect().Contains(pointer) && overUp == (pressed_ == Arrow::kUp)) {
    Step(pressed_ == Arrow::kUp);
  }
  repeat_.StartOnce(kRepeatMs);
}

void UpDownControl::Release() {
  repeat_.Stop();
  if (HasCapture()) ReleaseMouse();
  pressed_ = Arrow::kNone;
  Refresh();
}

}  // namespace verselane
