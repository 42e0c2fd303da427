#include "ui/font_faces.h"

#include <algorithm>
#include <cmath>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/fontenum.h>
#include <wx/settings.h>

namespace verselane {
namespace {

constexpr int kReferenceSize = 100;

wxString FirstInstalled(std::initializer_list<const char*> faces) {
  for (const char* face : faces) {
    if (wxFontEnumerator::IsValidFacename(face)) return face;
  }
  return {};
}

}  // namespace

FontFaces::FontFaces() {
  japaneseDefault_ = FirstInstalled({"IPAexGothic", "IPAGothic"});
  japaneseInstalled_ = !japaneseDefault_.empty();
  if (!japaneseInstalled_) {
    japaneseDefault_ = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName();
  }
  arialBlackInstalled_ = wxFontEnumerator::IsValidFacename("Arial Black");
  // Asked for weight 900, fontconfig gives the heaviest style the family has.
  heavySans_ = arialBlackInstalled_
                   ? wxString("Arial Black")
                   : FirstInstalled({"DejaVu Sans", "Liberation Sans", "FreeSans"});
  if (heavySans_.empty()) heavySans_ = japaneseDefault_;
}

wxString FontFaces::FaceFor(const FontSpec& setup) const {
  if (setup.face.empty()) return japaneseDefault_;
  const wxString face = wxString::FromUTF8(setup.face);
  if (face == "Arial Black") return heavySans_;
  return wxFontEnumerator::IsValidFacename(face) ? face : japaneseDefault_;
}

wxFont FontFaces::FontFor(const FontSpec& setup, double scale) {
  const auto key = std::make_tuple(setup.height, setup.weight, setup.charset, setup.face, scale);
  if (const auto known = fonts_.find(key); known != fonts_.end()) return known->second;
  const wxString face = FaceFor(setup);
  const int weight = setup.weight <= 0 ? kNormalWeight : std::clamp(setup.weight, 100, 900);
  const int cellAt100 = CellHeightAt100(face, weight);
  const int height = std::max(setup.height, 1);
  const double toCell = cellAt100 > 0 ? double(kReferenceSize) / cellAt100 : 1.0;
  const int pixels = std::max(1, static_cast<int>(std::lround(height * toCell * scale)));
  wxFont font(wxFontInfo(wxSize(0, pixels)).FaceName(face).Weight(weight));
  if (font.IsOk()) fonts_.emplace(key, font);
  return font;
}

int FontFaces::CellHeightAt100(const wxString& face, int weight) {
  const auto key = std::make_pair(face, weight);
  if (const auto known = cellHeights_.find(key); known != cellHeights_.end()) return known->second;
  wxBitmap scratch(1, 1);
  wxMemoryDC dc(scratch);
  dc.SetFont(wxFont(wxFontInfo(wxSize(0, kReferenceSize)).FaceName(face).Weight(weight)));
  const wxFontMetrics metrics = dc.GetFontMetrics();
  const int cell = metrics.ascent + metrics.descent;
  cellHeights_.emplace(key, cell);
  return cell;
}

}  // namespace verselane
