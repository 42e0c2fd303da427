#include "ui/dialogs/dialog_pictures.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/window.h>

#include "ui/assets.h"
#include "ui/wx_surface.h"
#include "ui/zoomed_window.h"

namespace verselane {
namespace {

constexpr int kPortraitSize = 45;
constexpr int kPortraitFrames = 7;

constexpr int kLargestDrawnFactor = 3;

wxImage AssetImage(const std::string& name) {
  const std::optional<AssetData> asset = FindAsset(name);
  if (!asset) return wxImage();
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryInputStream stream(asset->data, asset->size);
  return wxImage(stream, wxBITMAP_TYPE_ANY);
}

// The whole factor of the version drawn for a window at `scale`: 1, 2 or 3.
int DrawnFactor(double scale) {
  return std::clamp(static_cast<int>(std::ceil(scale - 0.01)), 1, kLargestDrawnFactor);
}

}  // namespace

double ScaleOf(const wxWindow* window) {
  return window != nullptr ? window->GetContentScaleFactor() * ZoomOf(window) : 1.0;
}

wxBitmap AssetBitmap(const char* name, double scale) {
  const int factor = DrawnFactor(scale);
  if (factor > 1) {
    const wxImage larger = AssetImage(DrawnVersionName(name, factor));
    if (larger.IsOk()) return wxBitmap(larger, -1, factor);
  }
  const wxImage image = AssetImage(name);
  return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

wxBitmap Portrait(int frame, double scale) {
  const wxBitmap strip = AssetBitmap("bitmap-141.png", scale);
  const int factor = static_cast<int>(strip.IsOk() ? strip.GetScaleFactor() : 1.0);
  const int side = kPortraitSize * factor;
  if (!strip.IsOk() || frame < 0 || frame >= kPortraitFrames ||
      strip.GetWidth() < side * (frame + 1) || strip.GetHeight() < side) {
    return wxBitmap();
  }
  const wxImage cell = strip.ConvertToImage().GetSubImage(wxRect(frame * side, 0, side, side));
  return wxBitmap(cell, -1, factor);
}

}  // namespace verselane
