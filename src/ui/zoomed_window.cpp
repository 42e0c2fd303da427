#include "ui/zoomed_window.h"

#include <wx/window.h>

namespace verselane {

double ZoomOf(const wxWindow* window) {
  for (; window != nullptr; window = window->GetParent()) {
    if (const auto* zoomed = dynamic_cast<const ZoomedWindow*>(window)) return zoomed->zoom();
  }
  return 1.0;
}

}  // namespace verselane
