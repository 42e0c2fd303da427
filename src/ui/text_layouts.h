// Texts drawn through Pango layouts kept from frame to frame. wx's DrawText makes, shapes and
// measures a new layout on every call (the measuring only for its bounding box), which was half
// the cost of a question frame, while a frame draws the same texts tick after tick.
#pragma once

#include <map>
#include <string>
#include <utility>

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/font.h>
#include <wx/string.h>

namespace verselane {

class TextLayouts {
 public:
  TextLayouts() = default;
  ~TextLayouts();
  TextLayouts(const TextLayouts&) = delete;
  TextLayouts& operator=(const TextLayouts&) = delete;

  // Draws `text` in `font` and `colour`, its layout's top left at (x, y) in the pixels of `dc`,
  // as wxDC::DrawText does. `key` names the font (and anything that makes it draw differently)
  // for as long as Forget is not called. False when the toolkit underneath offers no layouts:
  // the caller draws through wx then.
  bool Draw(wxDC& dc, const void* key, const wxFont& font, const wxString& text,
            const wxColour& colour, int x, int y);
  // The fonts named by the keys have changed, or gone.
  void Forget();

 private:
  std::map<std::pair<const void*, std::string>, void*> layouts_;  // PangoLayout*, one reference
};

}  // namespace verselane
