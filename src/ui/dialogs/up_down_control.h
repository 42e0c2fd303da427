// The up-down arrows beside the question count: a narrow control of two arrow buttons, one above
// the other, that steps the number in the edit control it is bound to. A click on an arrow sends
// wxEVT_SPIN_UP or wxEVT_SPIN_DOWN, and holding the button down repeats it. It never takes the
// keyboard focus, so clicking it leaves the focus in the count box, where the arrow keys step.
// (GTK's own spin button lays its "-" and "+" side by side, four times as wide.)
#pragma once

#include <wx/control.h>
#include <wx/timer.h>

namespace verselane {

class UpDownControl : public wxControl {
 public:
  UpDownControl(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size);

  bool AcceptsFocus() const override { return false; }
  bool AcceptsFocusFromKeyboard() const override { return false; }

  // Sends the event of one step, as one click on that arrow does.
  void Step(bool up);

 protected:
  wxSize DoGetBestSize() const override;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnRepeat(wxTimerEvent& event);
  void Release();

  enum class Arrow { kNone, kUp, kDown };
  Arrow pressed_ = Arrow::kNone;
  wxTimer repeat_;
};

}  // namespace verselane
