// The program is shown at the player's zoom (100, 150 or 200 %): the main window holds it, and
// every dialog takes it from the window it opens over, so that its fonts and pictures grow with
// the game screen.
#pragma once

class wxWindow;

namespace verselane {

class ZoomedWindow {
 public:
  virtual ~ZoomedWindow() = default;
  // 1 for 100 %.
  virtual double zoom() const = 0;
};

// The zoom of `window`, or of the nearest window it belongs to that has one; 1 when none has.
double ZoomOf(const wxWindow* window);

}  // namespace verselane
