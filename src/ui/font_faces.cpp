#include "ui/font_faces.h"

#include <algorithm>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/fontenum.h>
#include <wx/settings.h>

namespace verselane {
namespace {

// The size each face is measured at once. The cell height grows in proportion to the size, so
// one measurement gives every other size; wx's own pixel-size fonts search a dozen sizes per font
// instead, each through a Pango layout of its own, which made half of the start-up.
constexpr double kReferencePoints = 100.0;

wxString FirstInstalled(std::initializer_list<const char*> faces) {
  for (const char* face : faces) {
    if (wxFontEnumerator::IsValidFacename(face)) return face;
  }
  return {};
}

// Cell height of the face at the reference size, per face and weight, measured once for the
// program's life: the installed faces do not change under it.
int CellHeightAtReference(const wxString& face, int weight) {
  static std::map<std::pair<wxString, int>, int> measured;
  const auto key = std::make_pair(face, weight);
  if (const auto known = measured.find(key); known != measured.end()) return known->second;
  wxBitmap scratch(1, 1);
  wxMemoryDC dc(scratch);
  dc.SetFont(wxFont(wxFontInfo(kReferencePoints).FaceName(face).Weight(weight)));
  const wxFontMetrics metrics = dc.GetFontMetrics();
  const int cell = metrics.ascent + metrics.descent;
  measured.emplace(key, cell);
  return cell;
}

}  // namespace

wxFont FontWithCellHeight(const wxString& face, int weight, double pixels) {
  // Pango rounds the ascent and the descent up to whole pixels each, so a cell measures up to two
  // pixels more than its exact height; aiming 1.2 below keeps it within `pixels` (the 0.2 for the
  // rounding of the reference itself): a text never stands taller than the box laid out for it.
  const double exact = std::max(pixels - 1.2, 1.0);
  const int cell = CellHeightAtReference(face, weight);
  const double points = cell > 0 ? kReferencePoints * exact / cell : exact * 0.75;
  return wxFont(wxFontInfo(points).FaceName(face).Weight(weight));
}

const FontFaces::Faces& FontFaces::Found() const {
  if (found_) return *found_;
  Faces faces;
  faces.japaneseDefault = FirstInstalled({"IPAexGothic", "IPAGothic"});
  faces.japaneseInstalled = !faces.japaneseDefault.empty();
  if (!faces.japaneseInstalled) {
    faces.japaneseDefault = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName();
  }
  // Asked for weight 900, fontconfig gives the heaviest style the family has.
  faces.heavySans = wxFontEnumerator::IsValidFacename("Arial Black")
                        ? wxString("Arial Black")
                        : FirstInstalled({"DejaVu Sans", "Liberation Sans", "FreeSans"});
  if (faces.heavySans.empty()) faces.heavySans = faces.japaneseDefault;
  return found_.emplace(std::move(faces));
}

wxString FontFaces::FaceFor(const FontSpec& setup) const {
  if (setup.face.empty()) return japaneseDefault();
  const wxString face = wxString::FromUTF8(setup.face);
  if (face == "Arial Black") return heavySans();
  return wxFontEnumerator::IsValidFacename(face) ? face : japaneseDefault();
}

wxFont FontFaces::FontFor(const FontSpec& setup, double scale) {
  const auto key = std::make_tuple(setup.height, setup.weight, setup.charset, setup.face, scale);
  if (const auto known = fonts_.find(key); known != fonts_.end()) return known->second;
  const int weight = setup.weight <= 0 ? kNormalWeight : std::clamp(setup.weight, 100, 900);
  wxFont font = FontWithCellHeight(FaceFor(setup), weight, std::max(setup.height, 1) * scale);
  if (font.IsOk()) fonts_.emplace(key, font);
  return font;
}

}  // namespace verselane
