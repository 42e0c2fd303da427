#include "ui/wx_surface.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include "ui/display_text.h"

namespace verselane {
namespace {

class WxSurfaceFont : public SurfaceFont {
 public:
  explicit WxSurfaceFont(wxFont font) : font_(std::move(font)) {}
  const wxFont& font() const { return font_; }

 private:
  wxFont font_;
};

const wxBitmap& BitmapOf(const CanvasBitmap& bitmap) {
  return static_cast<const WxCanvasBitmap&>(bitmap).bitmap();
}

// Texts measured at most before the measurements are forgotten; a frame measures a dozen.
constexpr std::size_t kMeasuredTexts = 256;

}  // namespace

const wxBitmap& WxCanvasBitmap::Part(const wxRect& part) const {
  const std::array<int, 4> key{part.x, part.y, part.width, part.height};
  auto found = parts_.find(key);
  if (found == parts_.end()) found = parts_.emplace(key, bitmap_.GetSubBitmap(part)).first;
  return found->second;
}

wxImage ImageFromBytes(const unsigned char* data, std::size_t size) {
  wxImage image;
  if (data == nullptr || size == 0) return image;
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryInputStream stream(data, size);
  wxLogNull quiet;  // an unreadable file is reported by the caller, not by a log window
  if (!image.LoadFile(stream, wxBITMAP_TYPE_ANY)) return wxImage();
  return image;
}

std::unique_ptr<WxCanvasBitmap> BitmapFromBytes(const unsigned char* data, std::size_t size) {
  wxImage image = ImageFromBytes(data, size);
  if (!image.IsOk()) return nullptr;
  if (image.HasAlpha()) image.ClearAlpha();
  if (image.HasMask()) image.SetMask(false);
  wxBitmap bitmap(image, 24);
  if (!bitmap.IsOk()) return nullptr;
  return std::make_unique<WxCanvasBitmap>(std::move(bitmap));
}

std::unique_ptr<CanvasBitmap> EmbeddedBitmapLoader::Load(std::string_view name) {
  const auto bytes = finder_(name);
  if (!bytes) return nullptr;
  return BitmapFromBytes(bytes->first, bytes->second);
}

WxSurface::WxSurface() {
  defaultFont_ = faces_.FontFor(FontSpec{});
}

bool WxSurface::CreateBackBuffer(int width, int height) {
  wxBitmap buffer(width, height, 24);
  if (!buffer.IsOk()) return false;
  {
    wxMemoryDC dc(buffer);
    if (!dc.IsOk()) return false;
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
  }
  backBuffer_ = buffer;
  return true;
}

bool WxSurface::BeginDrawing() {
  if (!backBuffer_.IsOk()) return false;
  dc_.SelectObject(backBuffer_);
  if (!dc_.IsOk()) return false;
  dc_.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc_.SetFont(defaultFont_);
  return true;
}

void WxSurface::EndDrawing() { dc_.SelectObject(wxNullBitmap); }

bool WxSurface::Present() {
  if (!backBuffer_.IsOk() || view_ == nullptr) return false;
  // Painting goes through the view's paint handler, which GTK double-buffers and which also
  // serves every expose.
  presenting_ = true;
  view_->Refresh(false);
  view_->Update();
  presenting_ = false;
  return true;
}

bool WxSurface::PaintTo(wxDC& dc) const {
  if (!backBuffer_.IsOk()) return false;
  dc.DrawBitmap(backBuffer_, 0, 0, false);
  return true;
}

bool WxSurface::Copy(const CanvasBitmap& source, int sourceX, int sourceY, int width, int height,
                     int x, int y) {
  if (!dc_.IsOk()) return false;
  const auto& bitmap = static_cast<const WxCanvasBitmap&>(source);
  if (!bitmap.bitmap().IsOk()) return false;
  const wxRect asked(sourceX, sourceY, width, height);
  if (asked == wxRect(0, 0, bitmap.width(), bitmap.height())) {
    dc_.DrawBitmap(bitmap.bitmap(), x, y, false);
    return true;
  }
  // What lies outside the source is not copied, as with a clipped copy.
  const wxRect part = asked.Intersect(wxRect(0, 0, bitmap.width(), bitmap.height()));
  if (part.IsEmpty()) return true;
  dc_.DrawBitmap(bitmap.Part(part), x + part.x - sourceX, y + part.y - sourceY, false);
  return true;
}

// Nearest pixel, as a Windows stretch copies colour onto colour: cairo would smooth the edges.
bool WxSurface::Stretch(const CanvasBitmap& source, int sourceX, int sourceY, int sourceWidth,
                        int sourceHeight, int x, int y, int width, int height) {
  if (!dc_.IsOk() || sourceWidth <= 0 || sourceHeight <= 0) return false;
  if (width <= 0 || height <= 0) return true;
  const wxBitmap& bitmap = BitmapOf(source);
  if (!bitmap.IsOk()) return false;
  Stretched& last = stretched_;
  const bool same = last.source == &source && last.sourceX == sourceX &&
                    last.sourceY == sourceY && last.sourceWidth == sourceWidth &&
                    last.sourceHeight == sourceHeight && last.width == width &&
                    last.height == height && last.bitmap.IsOk();
  if (!same) {
    const wxImage cell =
        bitmap.GetSubBitmap(wxRect(sourceX, sourceY, sourceWidth, sourceHeight)).ConvertToImage();
    last = {&source, sourceX, sourceY, sourceWidth, sourceHeight, width, height,
            wxBitmap(cell.Scale(width, height, wxIMAGE_QUALITY_NEAREST), 24)};
  }
  dc_.DrawBitmap(last.bitmap, x, y, false);
  return true;
}

bool WxSurface::SetTextColour(Rgb colour) {
  if (!dc_.IsOk()) return false;
  dc_.SetTextForeground(wxColour(colour.red, colour.green, colour.blue));
  return true;
}

std::unique_ptr<SurfaceFont> WxSurface::CreateFont(const FontSpec& setup) {
  wxFont font = faces_.FontFor(setup);
  if (!font.IsOk()) return nullptr;
  extents_.clear();  // a new font may take the address of one gone
  return std::make_unique<WxSurfaceFont>(std::move(font));
}

void WxSurface::SelectFont(const SurfaceFont* font) {
  if (!dc_.IsOk()) return;
  dc_.SetFont(font ? static_cast<const WxSurfaceFont*>(font)->font() : defaultFont_);
  selectedFont_ = font;
}

const wxString& WxSurface::Utf8Text(std::string_view sjis) {
  if (sjis != lastSjis_) {
    lastSjis_.assign(sjis);
    lastText_ = FromSjis(sjis);
  }
  return lastText_;
}

TextExtent WxSurface::MeasureText(std::string_view text) {
  if (!dc_.IsOk()) return {};
  auto key = std::make_pair(selectedFont_, std::string(text));
  if (const auto known = extents_.find(key); known != extents_.end()) return known->second;
  wxCoord width = 0;
  wxCoord height = 0;
  dc_.GetTextExtent(Utf8Text(text), &width, &height);
  // An empty text still has the font's height, as Windows measures it.
  if (text.empty()) height = dc_.GetCharHeight();
  if (extents_.size() >= kMeasuredTexts) extents_.clear();
  return extents_.emplace(std::move(key), TextExtent{width, height}).first->second;
}

bool WxSurface::DrawText(std::string_view text, int x, int y) {
  if (!dc_.IsOk()) return false;
  dc_.DrawText(Utf8Text(text), x, y);
  return true;
}

}  // namespace verselane
