#include "ui/wx_surface.h"

#include <algorithm>
#include <cmath>

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/region.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include "ui/display_text.h"
#include "ui/gtk_native.h"

namespace verselane {
namespace {

// A font remembers what it was asked for, so that it is made again at a new scale.
class WxSurfaceFont : public SurfaceFont {
 public:
  WxSurfaceFont(FontSpec setup, wxFont font, double scale)
      : setup(std::move(setup)), font(std::move(font)), scale(scale) {}
  const FontSpec setup;
  mutable wxFont font;
  mutable double scale;
};

constexpr int kDrawnFactors[] = {2, 3};

// Texts measured at most before the measurements are forgotten; a frame measures a dozen.
constexpr std::size_t kMeasuredTexts = 256;

// Numbers as the bytes of a drawing step's description.
std::string StepNumbers(std::initializer_list<int> numbers) {
  std::string bytes;
  for (const int number : numbers) {
    bytes.append(reinterpret_cast<const char*>(&number), sizeof number);
  }
  return bytes;
}

}  // namespace

std::string DrawnVersionName(std::string_view name, int factor) {
  const std::size_t dot = name.rfind('.');
  std::string version(name.substr(0, dot));
  version += '@' + std::to_string(factor) + 'x';
  if (dot != std::string_view::npos) version += name.substr(dot);
  return version;
}

void WxCanvasBitmap::AddDrawnAt(int factor, wxBitmap bitmap) {
  drawn_.push_back({factor, nullptr, 0, std::move(bitmap)});
  madeScale_ = 0.0;
}

void WxCanvasBitmap::AddDrawnAt(int factor, const unsigned char* data, std::size_t size) {
  drawn_.push_back({factor, data, size, wxBitmap()});
  madeScale_ = 0.0;
}

const wxBitmap* WxCanvasBitmap::Read(Drawn& drawn) const {
  if (drawn.data != nullptr) {
    // A larger version that does not read leaves the picture scaled from the others.
    if (auto version = BitmapFromBytes(drawn.data, drawn.size)) drawn.bitmap = version->bitmap();
    drawn.data = nullptr;
  }
  return drawn.bitmap.IsOk() ? &drawn.bitmap : nullptr;
}

WxCanvasBitmap::Version WxCanvasBitmap::NearestVersion(double scale) const {
  Version nearest{&bitmap_, 1};
  for (Drawn& drawn : drawn_) {
    const int factor = drawn.factor;
    const bool better = nearest.factor < scale ? factor > nearest.factor
                                               : factor >= scale && factor < nearest.factor;
    if (!better) continue;
    if (const wxBitmap* bitmap = Read(drawn)) nearest = {bitmap, factor};
  }
  return nearest;
}

const wxBitmap& WxCanvasBitmap::AtScale(double scale) const {
  if (scale == 1.0) return bitmap_;
  for (Drawn& drawn : drawn_) {
    if (drawn.factor != scale) continue;
    if (const wxBitmap* bitmap = Read(drawn)) return *bitmap;
  }
  if (madeScale_ == scale && made_.IsOk()) return made_;
  const int width = std::max(1, static_cast<int>(std::lround(bitmap_.GetWidth() * scale)));
  const int height = std::max(1, static_cast<int>(std::lround(bitmap_.GetHeight() * scale)));
  const wxImage image = NearestVersion(scale).bitmap->ConvertToImage();
  made_ = wxBitmap(image.Scale(width, height, wxIMAGE_QUALITY_BICUBIC), 24);
  madeScale_ = scale;
  return made_;
}

const wxBitmap& WxCanvasBitmap::Part(double scale, const wxRect& part) const {
  if (scale != partsScale_) {
    parts_.clear();
    partsScale_ = scale;
  }
  const std::array<int, 4> key{part.x, part.y, part.width, part.height};
  auto found = parts_.find(key);
  if (found == parts_.end()) {
    found = parts_.emplace(key, AtScale(scale).GetSubBitmap(part)).first;
  }
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
  std::unique_ptr<WxCanvasBitmap> bitmap = BitmapFromBytes(bytes->first, bytes->second);
  if (!bitmap) return nullptr;
  for (int factor : kDrawnFactors) {
    if (const auto larger = finder_(DrawnVersionName(name, factor))) {
      bitmap->AddDrawnAt(factor, larger->first, larger->second);
    }
  }
  return bitmap;
}

WxSurface::WxSurface() = default;

const wxFont& WxSurface::DefaultFont() {
  if (!defaultFont_.IsOk()) defaultFont_ = faces_.FontFor(FontSpec{}, scale_);
  return defaultFont_;
}

int WxSurface::Device(int logical) const {
  if (scale_ == 1.0) return logical;
  return static_cast<int>(std::lround(logical * scale_));
}

int WxSurface::Logical(int device) const {
  if (scale_ == 1.0) return device;
  return static_cast<int>(std::ceil(device / scale_ - 1e-6));
}

const wxBitmap& WxSurface::Scaled(const CanvasBitmap& bitmap) const {
  return static_cast<const WxCanvasBitmap&>(bitmap).AtScale(scale_);
}

bool WxSurface::SetScale(double scale) {
  if (scale <= 0.0) return false;
  if (scale == scale_) return true;
  const double previous = scale_;
  scale_ = scale;
  if (backBuffer_.IsOk() && !MakeBackBuffer()) {
    scale_ = previous;  // the buffer as it was, drawn at the scale it was made for
    return false;
  }
  defaultFont_ = wxFont();  // made again at the new scale when needed
  stretched_ = {};
  extents_.clear();  // the fonts are made again at the new scale
  layouts_.Forget();
  return true;
}

bool WxSurface::CreateBackBuffer(int width, int height) {
  logicalWidth_ = width;
  logicalHeight_ = height;
  return MakeBackBuffer();
}

bool WxSurface::MakeBackBuffer() {
  wxBitmap buffer(Device(logicalWidth_), Device(logicalHeight_), 24);
  if (!buffer.IsOk()) return false;
  {
    wxMemoryDC dc(buffer);
    if (!dc.IsOk()) return false;
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
  }
  backBuffer_ = buffer;
  drawn_.Forget();
  return true;
}

bool WxSurface::BeginDrawing() {
  if (!backBuffer_.IsOk()) return false;
  dc_.SelectObject(backBuffer_);
  if (!dc_.IsOk()) return false;
  dc_.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc_.SetFont(DefaultFont());
  drawn_.Begin(backBuffer_.GetWidth(), backBuffer_.GetHeight());
  return true;
}

void WxSurface::EndDrawing() { dc_.SelectObject(wxNullBitmap); }

// On X11 the buffer is copied straight into the window: a paint cycle would first copy it into
// GTK's own buffer for the window, and cost twice as much as the whole frame's drawing. Under
// Wayland GTK draws a window only in its paint cycle, so the frame goes through the view's paint
// handler, which also serves every expose on both. On X11 only what differs from the frame the
// window shows is copied: the window keeps what was copied into it until an expose, which the
// paint handler answers with the whole buffer.
bool WxSurface::Present() {
  if (!backBuffer_.IsOk() || view_ == nullptr) return false;
  ++presents_;
  if (DrawsOutsidePaint() && view_->IsShownOnScreen()) {
    wxClientDC dc(view_);
    const wxRegion uncovered = Uncovered();
    // Rectangles of the buffer are the window's own only on a desktop of scale 1; a child control
    // shown or hidden since uncovers or covers pixels the frames' steps say nothing of.
    wxRegion copied = uncovered;
    if (dc.GetContentScaleFactor() == 1.0 && uncovered == shownUncovered_) {
      // (An empty region is no region to wx: intersecting with one changes nothing.)
      wxRegion changed;
      for (const PixelRect& area : drawn_.ChangedSinceShown()) {
        changed.Union(wxRect(area.x, area.y, area.width, area.height));
      }
      if (changed.IsEmpty()) {
        copied.Clear();
      } else {
        copied.Intersect(changed);
      }
    }
    drawn_.Shown();
    shownUncovered_ = uncovered;
    if (copied.IsEmpty()) return true;
    dc.SetDeviceClippingRegion(copied);
    return CopyBackBuffer(dc);
  }
  presenting_ = true;
  view_->Refresh(false);
  view_->Update();
  presenting_ = false;
  return true;
}

// GTK draws the view's child controls (the answer line) into the same window: they are left out,
// or the copy would cover them until their next repaint.
wxRegion WxSurface::Uncovered() const {
  wxRegion uncovered(wxRect(view_->GetClientSize()));
  for (const wxWindow* child : view_->GetChildren()) {
    if (child->IsShown()) uncovered.Subtract(child->GetRect());
  }
  return uncovered;
}

// A repaint outside Present may cover only part of the window, with a buffer drawn since the last
// frame shown: what the window shows is no longer a known frame.
bool WxSurface::PaintTo(wxDC& dc) {
  if (!presenting_) drawn_.Forget();
  return CopyBackBuffer(dc);
}

// On a desktop drawn at twice the size the paint DC counts in logical pixels: the buffer, made
// at device size already, is drawn at the inverse scale so that no pixel is doubled.
bool WxSurface::CopyBackBuffer(wxDC& dc) const {
  if (!backBuffer_.IsOk()) return false;
  const double desktop = dc.GetContentScaleFactor();
  if (desktop != 1.0) dc.SetUserScale(1.0 / desktop, 1.0 / desktop);
  dc.DrawBitmap(backBuffer_, 0, 0, false);
  return true;
}

bool WxSurface::Copy(const CanvasBitmap& source, int sourceX, int sourceY, int width, int height,
                     int x, int y) {
  if (!dc_.IsOk()) return false;
  const auto& picture = static_cast<const WxCanvasBitmap&>(source);
  const wxBitmap& bitmap = Scaled(source);
  if (!bitmap.IsOk()) return false;
  const bool whole =
      sourceX == 0 && sourceY == 0 && width == source.width() && height == source.height();
  if (whole) {
    dc_.DrawBitmap(bitmap, Device(x), Device(y), false);
    AddCopy('C', source, wxRect(bitmap.GetSize()),
            wxRect(wxPoint(Device(x), Device(y)), bitmap.GetSize()));
    return true;
  }
  const int left = Device(sourceX);
  const int top = Device(sourceY);
  const wxRect asked(left, top, Device(sourceX + width) - left, Device(sourceY + height) - top);
  // What lies outside the source is not copied, as with a clipped copy.
  const wxRect part = asked.Intersect(wxRect(0, 0, bitmap.GetWidth(), bitmap.GetHeight()));
  if (part.IsEmpty()) return true;
  const wxPoint to(Device(x) + part.x - left, Device(y) + part.y - top);
  dc_.DrawBitmap(picture.Part(scale_, part), to, false);
  AddCopy('C', source, part, wxRect(to, part.GetSize()));
  return true;
}

// Nearest pixel, so a stretched cell keeps the picture's sharp edges: cairo would smooth them.
bool WxSurface::Stretch(const CanvasBitmap& source, int sourceX, int sourceY, int sourceWidth,
                        int sourceHeight, int x, int y, int width, int height) {
  if (!dc_.IsOk() || sourceWidth <= 0 || sourceHeight <= 0) return false;
  if (width <= 0 || height <= 0) return true;
  const WxCanvasBitmap::Version version =
      static_cast<const WxCanvasBitmap&>(source).NearestVersion(scale_);
  if (!version.bitmap->IsOk()) return false;
  Stretched& last = stretched_;
  const bool sameCell = last.source == &source && last.sourceX == sourceX &&
                        last.sourceY == sourceY && last.sourceWidth == sourceWidth &&
                        last.sourceHeight == sourceHeight && last.cell.IsOk();
  if (!sameCell) {
    // The cell cut from a version drawn at a whole factor, so that no neighbour bleeds into it.
    const int factor = version.factor;
    const wxRect cellRect(sourceX * factor, sourceY * factor, sourceWidth * factor,
                          sourceHeight * factor);
    last = {&source, sourceX, sourceY, sourceWidth, sourceHeight, 0, 0, wxBitmap(),
            version.bitmap->GetSubBitmap(cellRect).ConvertToImage()};
  }
  if (last.width != width || last.height != height || !last.bitmap.IsOk()) {
    const wxImage stretched = last.cell.Scale(
        Device(x + width) - Device(x), Device(y + height) - Device(y), wxIMAGE_QUALITY_NEAREST);
    last.width = width;
    last.height = height;
    last.bitmap = wxBitmap(stretched, 24);
  }
  const wxPoint to(Device(x), Device(y));
  dc_.DrawBitmap(last.bitmap, to, false);
  AddCopy('S', source, wxRect(sourceX, sourceY, sourceWidth, sourceHeight),
          wxRect(to, last.bitmap.GetSize()));
  return true;
}

bool WxSurface::SetTextColour(Rgb colour) {
  if (!dc_.IsOk()) return false;
  dc_.SetTextForeground(wxColour(colour.red, colour.green, colour.blue));
  return true;
}

std::unique_ptr<SurfaceFont> WxSurface::CreateFont(const FontSpec& setup) {
  wxFont font = faces_.FontFor(setup, scale_);
  if (!font.IsOk()) return nullptr;
  extents_.clear();  // a new font may take the address of one gone
  layouts_.Forget();
  return std::make_unique<WxSurfaceFont>(setup, std::move(font), scale_);
}

// A font made before the scale changed is made again at the new one.
const wxFont& WxSurface::FontOf(const SurfaceFont* font) {
  if (font == nullptr) return DefaultFont();
  const auto* own = static_cast<const WxSurfaceFont*>(font);
  if (own->scale != scale_) {
    own->font = faces_.FontFor(own->setup, scale_);
    own->scale = scale_;
  }
  return own->font;
}

void WxSurface::SelectFont(const SurfaceFont* font) {
  if (!dc_.IsOk()) return;
  dc_.SetFont(FontOf(font));
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
  // An empty text still has the font's height: a line's height never depends on what it says.
  if (text.empty()) height = dc_.GetCharHeight();
  if (extents_.size() >= kMeasuredTexts) extents_.clear();
  return extents_.emplace(std::move(key), TextExtent{Logical(width), Logical(height)})
      .first->second;
}

bool WxSurface::DrawText(std::string_view text, int x, int y) {
  if (!dc_.IsOk()) return false;
  const TextExtent extent = MeasureText(text);
  const wxString& shown = Utf8Text(text);
  if (!layouts_.Draw(dc_, selectedFont_, dc_.GetFont(), shown, dc_.GetTextForeground(), Device(x),
                     Device(y))) {
    dc_.DrawText(shown, Device(x), Device(y));
  }
  // Glyphs may reach past the text's measured box (a bold face's overhang, the smoothing of its
  // edges): the step's area takes a margin of half a line all round.
  const int width = Device(x + extent.width) - Device(x);
  const int height = Device(y + extent.height) - Device(y);
  const int margin = std::max(2, height / 2);
  std::string what = StepNumbers({'T', static_cast<int>(dc_.GetTextForeground().GetRGB())});
  what.append(dc_.GetFont().GetNativeFontInfoDesc().utf8_string()).push_back('\0');
  what.append(text);
  drawn_.Add({nullptr, std::move(what),
              {Device(x) - margin, Device(y) - margin, width + 2 * margin, height + 2 * margin},
              false});
  return true;
}

void WxSurface::AddCopy(char kind, const CanvasBitmap& source, const wxRect& part,
                        const wxRect& area) {
  drawn_.Add({&source, StepNumbers({kind, part.x, part.y, part.width, part.height}),
              {area.x, area.y, area.width, area.height}, true});
}

}  // namespace verselane
