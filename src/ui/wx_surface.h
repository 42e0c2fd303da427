// The Canvas's surface on wxWidgets: a back buffer bitmap drawn through a memory DC, presented
// into the game view, and the bitmaps and fonts it draws with. The canvas speaks in the screen's
// 400 x 150 logical pixels; the surface draws at a scale underneath (the player's zoom times the
// desktop's own scale), with text and pictures made at that size, so the screen stays sharp.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/region.h>
#include <wx/window.h>

#include "ui/canvas.h"
#include "ui/drawn_frame.h"
#include "ui/font_faces.h"
#include "ui/text_layouts.h"

namespace verselane {

class WxCanvasBitmap : public CanvasBitmap {
 public:
  explicit WxCanvasBitmap(wxBitmap bitmap) : bitmap_(std::move(bitmap)) {}
  // The size at scale 1, in logical pixels.
  int width() const override { return bitmap_.GetWidth(); }
  int height() const override { return bitmap_.GetHeight(); }
  const wxBitmap& bitmap() const { return bitmap_; }
  // The pixels of `part` of the picture at `scale` (device pixels, inside it) as a bitmap of their
  // own, made on first use: the
  // digits and frames are cells of strips, copied many times a frame, and a whole small bitmap
  // draws several times faster than a clipped large one.
  const wxBitmap& Part(double scale, const wxRect& part) const;

  // Keeps the same picture drawn at `factor` times its size (2, 3) for larger screens.
  void AddDrawnAt(int factor, wxBitmap bitmap);
  // The same from image file bytes that outlive the picture, read when a scale first needs them:
  // at 100 % on an ordinary screen they never are, and the larger versions take nine times the
  // memory of the screen's own pictures and most of their decoding time.
  void AddDrawnAt(int factor, const unsigned char* data, std::size_t size);
  // The picture at `scale` times its size: the version drawn at that size when there is one,
  // else the nearest larger one (or the largest) scaled smoothly, made once for the last scale.
  const wxBitmap& AtScale(double scale) const;
  // The version drawn at the smallest factor of at least `scale` (else the largest), and its
  // factor: cells are cut from it exactly, whatever the scale.
  struct Version {
    const wxBitmap* bitmap;
    int factor;
  };
  Version NearestVersion(double scale) const;

 private:

  struct Drawn {
    int factor = 1;
    const unsigned char* data = nullptr;  // not yet read; null once read, or from a bitmap
    std::size_t size = 0;
    wxBitmap bitmap;  // not Ok when the bytes do not read
  };
  // The version's bitmap, read on first use; null when it does not read.
  const wxBitmap* Read(Drawn& drawn) const;

  wxBitmap bitmap_;
  mutable std::vector<Drawn> drawn_;
  mutable double madeScale_ = 0.0;
  mutable wxBitmap made_;
  // Cells cut from the version at partsScale_, made on first use.
  mutable double partsScale_ = 0.0;
  mutable std::map<std::array<int, 4>, wxBitmap> parts_;
};

// The name of a picture's version drawn at `factor` times its size: "bitmap-130.png" at 2 is
// "bitmap-130@2x.png".
std::string DrawnVersionName(std::string_view name, int factor);

// An opaque bitmap from image file bytes (PNG, BMP, ...). Copies never blend, so an alpha
// channel is dropped. Null when the bytes are not a readable image.
std::unique_ptr<WxCanvasBitmap> BitmapFromBytes(const unsigned char* data, std::size_t size);

// An image file's bytes as they are, alpha included (for icons); an invalid image when unreadable.
wxImage ImageFromBytes(const unsigned char* data, std::size_t size);

// Bitmaps by name, from the files embedded in the program ("bitmap-130.png"), with the versions
// drawn at twice and three times the size where there are some ("bitmap-130@2x.png").
class EmbeddedBitmapLoader : public BitmapLoader {
 public:
  // Finds the bytes of an embedded file by name; nothing when there is no such file. The bytes
  // live as long as the program: the larger versions are read from them when first needed.
  using Finder =
      std::function<std::optional<std::pair<const unsigned char*, std::size_t>>(std::string_view)>;
  explicit EmbeddedBitmapLoader(Finder finder) : finder_(std::move(finder)) {}
  std::unique_ptr<CanvasBitmap> Load(std::string_view name) override;

 private:
  Finder finder_;
};

class WxSurface : public Surface {
 public:
  WxSurface();
  // The window the back buffer is presented into; it paints itself with PaintTo.
  void SetView(wxWindow* view) {
    view_ = view;
    drawn_.Forget();
  }
  // Draws from now on at `scale` device pixels a logical pixel (1 and up). A back buffer already
  // made is made again at the new size, black: the caller draws the screen again. False when it
  // cannot be made.
  bool SetScale(double scale);
  double scale() const { return scale_; }

  bool CreateBackBuffer(int width, int height) override;
  bool BeginDrawing() override;
  void EndDrawing() override;
  bool Present() override;

  bool Copy(const CanvasBitmap& source, int sourceX, int sourceY, int width, int height, int x,
            int y) override;
  bool Stretch(const CanvasBitmap& source, int sourceX, int sourceY, int sourceWidth,
               int sourceHeight, int x, int y, int width, int height) override;

  bool SetTextColour(Rgb colour) override;
  std::unique_ptr<SurfaceFont> CreateFont(const FontSpec& setup) override;
  void SelectFont(const SurfaceFont* font) override;
  TextExtent MeasureText(std::string_view text) override;
  bool DrawText(std::string_view text, int x, int y) override;

  // Copies the back buffer into a paint DC of the view (the repaint), device pixel for device
  // pixel.
  bool PaintTo(wxDC& dc);
  // True while Present has the view paint itself, inside a frame cycle.
  bool presenting() const { return presenting_; }
  // Frames presented so far.
  int presents() const { return presents_; }
  const wxBitmap& backBuffer() const { return backBuffer_; }
  FontFaces& faces() { return faces_; }

 private:
  const wxString& Utf8Text(std::string_view sjis);
  bool MakeBackBuffer();
  bool CopyBackBuffer(wxDC& dc) const;
  // The part of the view the frame is copied into: the view less its shown child controls.
  wxRegion Uncovered() const;
  // Records a copy ('C', `part` in device pixels) or a stretch ('S', `part` in the picture's own
  // pixels) of `source` into `area` of the back buffer.
  void AddCopy(char kind, const CanvasBitmap& source, const wxRect& part, const wxRect& area);
  const wxBitmap& Scaled(const CanvasBitmap& bitmap) const;
  const wxFont& FontOf(const SurfaceFont* font);
  // The surface's own default font, made when first drawn with.
  const wxFont& DefaultFont();
  // A logical coordinate in device pixels, and a device length in logical pixels (rounded up, so
  // a text measured to fit still fits when drawn).
  int Device(int logical) const;
  int Logical(int device) const;

  wxWindow* view_ = nullptr;
  double scale_ = 1.0;
  int logicalWidth_ = 0;
  int logicalHeight_ = 0;
  wxBitmap backBuffer_;
  wxMemoryDC dc_;
  FontFaces faces_;
  wxFont defaultFont_;  // not Ok until first needed
  bool presenting_ = false;
  int presents_ = 0;
  // The steps of the frame in the back buffer and of the one in the window, and what the last
  // copy left uncovered: a frame is copied only where it differs from the one shown.
  DrawnFrame drawn_;
  wxRegion shownUncovered_;
  // The last stretch made: the time bar changes its width at most once a tick.
  // The cell it was cut from is kept too: cutting it out of the picture costs more than
  // stretching it.
  struct Stretched {
    const CanvasBitmap* source = nullptr;
    int sourceX = 0, sourceY = 0, sourceWidth = 0, sourceHeight = 0, width = 0, height = 0;
    wxBitmap bitmap;
    wxImage cell;
  } stretched_;
  // The last text converted from CP932: a frame draws the same texts tick after tick.
  std::string lastSjis_;
  wxString lastText_;
  // Texts measured, per font: a frame measures the same texts tick after tick, and each
  // measurement is a Pango layout. Emptied when it grows past a frame's worth of texts.
  const SurfaceFont* selectedFont_ = nullptr;
  std::map<std::pair<const SurfaceFont*, std::string>, TextExtent> extents_;
  TextLayouts layouts_;  // the texts drawn, per font, kept from frame to frame
};

}  // namespace verselane
