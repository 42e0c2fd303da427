// The program's one top-level window: a fixed-size frame with a 400 x 150 client area.
#pragma once

#include <wx/frame.h>

namespace verselane {

inline constexpr int kClientWidth = 400;
inline constexpr int kClientHeight = 150;

class MainFrame : public wxFrame {
 public:
  MainFrame();
};

}  // namespace verselane
