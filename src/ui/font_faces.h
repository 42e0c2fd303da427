// Which installed face stands for a face the game asks for, and the pixel size that gives a font
// the cell height it asks for. A face that is not installed is found out by asking fontconfig:
// Pango silently substitutes another while wxFont still reports the name it was given.
#pragma once

#include <map>
#include <optional>
#include <tuple>

#include <wx/font.h>
#include <wx/string.h>

#include "ui/canvas.h"

namespace verselane {

// `face` at `weight` sized so that its cell height (ascent + descent) is at most `pixels`, as
// close to it as the whole pixels of Pango's measurements allow.
wxFont FontWithCellHeight(const wxString& face, int weight, double pixels);

class FontFaces {
 public:
  // The candidate faces are looked up once, when first asked for: that waits for fontconfig to
  // have read its configuration, which it does on a thread of its own from the start
  // (StartFontSetUp) while the program reads its files and builds its window.
  FontFaces() = default;

  // The Japanese face used wherever no face is named: IPAex Gothic, else IPA Gothic, whose pixel
  // metrics are those the screen's texts were laid out for; else whatever the system offers.
  const wxString& japaneseDefault() const { return Found().japaneseDefault; }
  // "Arial Black" where it is installed, else the heaviest sans present.
  const wxString& heavySans() const { return Found().heavySans; }
  bool japaneseDefaultInstalled() const { return Found().japaneseInstalled; }

  // The installed face for `setup`.
  wxString FaceFor(const FontSpec& setup) const;
  // A font whose cell (ascent + descent) is `setup.height` pixels high, the height a FontSpec
  // gives, times `scale` (a screen drawn larger); remembered per setup and scale.
  wxFont FontFor(const FontSpec& setup, double scale = 1.0);

 private:
  struct Faces {
    wxString japaneseDefault;
    wxString heavySans;
    bool japaneseInstalled = false;
  };
  const Faces& Found() const;

  mutable std::optional<Faces> found_;
  std::map<std::tuple<int, int, int, std::string, double>, wxFont> fonts_;
};

}  // namespace verselane
