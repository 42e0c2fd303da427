#include "ui/text_layouts.h"

#include <wx/fontutil.h>
#include <wx/graphics.h>

#include "base/native_symbols.h"

namespace verselane {
namespace {

// Texts kept at most before they are all let go; a frame draws a dozen.
constexpr std::size_t kKeptTexts = 128;

// Pango and cairo as wx itself uses them, found in the process rather than linked: the program
// links only wx, which brings them.
struct Pango {
  void* (*createLayout)(void* cairo);
  void (*updateLayout)(void* cairo, void* layout);
  void (*showLayout)(void* cairo, void* layout);
  void (*setFont)(void* layout, const void* description);
  void (*setText)(void* layout, const char* text, int length);
  void (*unref)(void* object);
  void (*moveTo)(void* cairo, double x, double y);
  void (*setColour)(void* cairo, double red, double green, double blue);
};

const Pango* LoadPango() {
  static const Pango* const loaded = [] () -> const Pango* {
    static Pango pango{};
    const auto find = [](const char* name, auto& function) {
      return FindSymbol(RTLD_DEFAULT, name, function);
    };
    const bool found = find("pango_cairo_create_layout", pango.createLayout) &&
                       find("pango_cairo_update_layout", pango.updateLayout) &&
                       find("pango_cairo_show_layout", pango.showLayout) &&
                       find("pango_layout_set_font_description", pango.setFont) &&
                       find("pango_layout_set_text", pango.setText) &&
                       find("g_object_unref", pango.unref) &&
                       find("cairo_move_to", pango.moveTo) &&
                       find("cairo_set_source_rgb", pango.setColour);
    return found ? &pango : nullptr;
  }();
  return loaded;
}

}  // namespace

TextLayouts::~TextLayouts() { Forget(); }

void TextLayouts::Forget() {
  if (const Pango* pango = LoadPango()) {
    for (auto& [key, layout] : layouts_) pango->unref(layout);
  }
  layouts_.clear();
}

bool TextLayouts::Draw(wxDC& dc, const void* key, const wxFont& font, const wxString& text,
                       const wxColour& colour, int x, int y) {
  const Pango* pango = LoadPango();
  wxGraphicsContext* graphics = dc.GetGraphicsContext();
  void* cairo = graphics != nullptr ? graphics->GetNativeContext() : nullptr;
  const wxNativeFontInfo* info = font.IsOk() ? font.GetNativeFontInfo() : nullptr;
  if (pango == nullptr || cairo == nullptr || info == nullptr || info->description == nullptr) {
    return false;
  }
  const wxScopedCharBuffer utf8 = text.utf8_str();
  auto name = std::make_pair(key, std::string(utf8.data(), utf8.length()));
  auto found = layouts_.find(name);
  if (found == layouts_.end()) {
    if (layouts_.size() >= kKeptTexts) Forget();
    void* layout = pango->createLayout(cairo);
    if (layout == nullptr) return false;
    pango->setFont(layout, info->description);
    pango->setText(layout, utf8.data(), static_cast<int>(utf8.length()));
    found = layouts_.emplace(std::move(name), layout).first;
  } else {
    // The drawing context is a new one each frame; the layout keeps its shaping unless the
    // new one transforms or renders differently.
    pango->updateLayout(cairo, found->second);
  }
  pango->setColour(cairo, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0);
  pango->moveTo(cairo, x, y);
  pango->showLayout(cairo, found->second);
  return true;
}

}  // namespace verselane
