// The drawing rules of the game screen: a back buffer the size of the client area, pixel copies
// of whole bitmaps and of cells, bitmap-digit numbers, text in a box with the overflow rule, and
// fonts created on first use. The rules live here, above a small Surface that only copies pixels
// and draws text; the desktop's surface is wx_surface.h, tests use a recording one. Nothing here
// includes wx, so every rule can be checked without a display.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/frame.h"

namespace verselane {

class NoticePort;

// A picture the surface can copy from; its pixels live on the surface's side.
class CanvasBitmap {
 public:
  virtual ~CanvasBitmap() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
};

// What a font is asked for: `height` is the cell height in pixels (ascent + descent), `weight`
// 100 to 900, `charset` the script it must cover, an empty `face` means the character set's
// default face.
inline constexpr int kShiftJisCharset = 128;
inline constexpr int kAnsiCharset = 0;
inline constexpr int kNormalWeight = 400;

struct FontSpec {
  int height = 0;
  int weight = kNormalWeight;
  int charset = kShiftJisCharset;
  std::string face;
  bool operator==(const FontSpec&) const = default;
};

// A font made by the surface from a FontSpec.
class SurfaceFont {
 public:
  virtual ~SurfaceFont() = default;
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

// The pixels underneath. Texts are CP932 bytes; copies never blend; text is drawn without a
// background, in the selected font and colour.
class Surface {
 public:
  virtual ~Surface() = default;

  // Makes the back buffer, filled black.
  virtual bool CreateBackBuffer(int width, int height) = 0;
  // Drawing into the back buffer happens between these two.
  virtual bool BeginDrawing() = 0;
  virtual void EndDrawing() = 0;
  // Shows the back buffer in the window.
  virtual bool Present() = 0;

  // Copies the `width` x `height` pixels at (sourceX, sourceY) of `source` to (x, y).
  virtual bool Copy(const CanvasBitmap& source, int sourceX, int sourceY, int width, int height,
                    int x, int y) = 0;
  // Scales the given source rectangle into the rectangle (x, y, width, height).
  virtual bool Stretch(const CanvasBitmap& source, int sourceX, int sourceY, int sourceWidth,
                       int sourceHeight, int x, int y, int width, int height) = 0;

  virtual bool SetTextColour(Rgb colour) = 0;
  // Null when no font can be made for `setup`.
  virtual std::unique_ptr<SurfaceFont> CreateFont(const FontSpec& setup) = 0;
  // Null selects the surface's own default font.
  virtual void SelectFont(const SurfaceFont* font) = 0;
  virtual TextExtent MeasureText(std::string_view text) = 0;
  // Draws `text` with its top left corner at (x, y).
  virtual bool DrawText(std::string_view text, int x, int y) = 0;
};

// One font description with its font, made on first use and kept until deleted: asking again
// with other values returns the font already made. To change a font, delete it and create again.
class CanvasFont {
 public:
  CanvasFont(Surface& surface, NoticePort& errors) : surface_(surface), errors_(errors) {}

  const SurfaceFont* Create(int height);
  const SurfaceFont* Create(int height, int weight);
  const SurfaceFont* Create(int height, int weight, int charset, std::string face);
  void Delete() { font_.reset(); }

  const SurfaceFont* handle() const { return font_.get(); }
  const FontSpec& setup() const { return setup_; }

 private:
  const SurfaceFont* Make();

  Surface& surface_;
  NoticePort& errors_;
  FontSpec setup_;
  std::unique_ptr<SurfaceFont> font_;
};

// Pictures loaded by name from the files built into the program.
class BitmapLoader {
 public:
  virtual ~BitmapLoader() = default;
  // The picture in the file of assets/ named `name`; null when it is missing or unreadable.
  virtual std::unique_ptr<CanvasBitmap> Load(std::string_view name) = 0;
};

class BitmapList {
 public:
  explicit BitmapList(NoticePort& errors) : errors_(errors) {}

  // Loads the pictures `names` in order. The first failure is reported and ends the loading; the
  // bitmaps loaded before it stay in the list. An empty list succeeds.
  bool Load(std::span<const std::string_view> names, BitmapLoader& loader);
  // Null outside 0 ... count - 1 and for a bitmap that did not load.
  const CanvasBitmap* Get(int index) const;
  int count() const { return static_cast<int>(bitmaps_.size()); }

 private:
  NoticePort& errors_;
  std::vector<std::unique_ptr<CanvasBitmap>> bitmaps_;
};

// How a text is placed in its box across: 'l' (or any other letter) left, 'c' centred, 'r' right.
inline constexpr char kAlignLeft = 'l';
inline constexpr char kAlignCentre = 'c';
inline constexpr char kAlignRight = 'r';

class Canvas {
 public:
  Canvas(Surface& surface, NoticePort& errors) : surface_(surface), errors_(errors) {}

  // Creates the black back buffer once; a second call fails and changes nothing.
  bool CreateBackBuffer(int width, int height);
  // A frame or a repaint is drawn between these; opening twice fails.
  bool OpenDrawing();
  bool CloseDrawing();
  bool Present();

  bool DrawBitmap(const CanvasBitmap* bitmap) { return DrawBitmapAt(bitmap, 0, 0); }
  bool DrawBitmapAt(const CanvasBitmap* bitmap, int x, int y);
  // Cell `index` of a strip of `count` equal cells side by side; the index is not checked
  // against the count.
  bool DrawCell(const CanvasBitmap* bitmap, int index, int count, int x, int y);
  // The same cell scaled into (x, y, width, height): the time bar's body.
  bool DrawCellStretched(const CanvasBitmap* bitmap, int index, int count, int x, int y,
                         int width, int height);
  // `value` in decimal from a strip of the ten digits, padded with 0 to `minimumDigits`. With
  // alignment 'r' the number ends at x, otherwise it begins there.
  bool DrawNumber(int value, int minimumDigits, const CanvasBitmap* digits, int x, int y,
                  char alignment);

  bool SetTextColour(Rgb colour);
  // Returns the font selected before, to be selected back when done.
  const SurfaceFont* SelectFont(const SurfaceFont* font);
  // Single line, vertically centred in the box. A text measured wider than the box is not
  // drawn: the result is false and `overflow` the excess width, so the caller can try a smaller
  // font. Otherwise `overflow` is 0.
  bool DrawText(std::string_view text, int x, int y, int boxWidth, int boxHeight, int& overflow) {
    return DrawTextAligned(text, x, y, boxWidth, boxHeight, kAlignLeft, overflow);
  }
  bool DrawTextAligned(std::string_view text, int x, int y, int boxWidth, int boxHeight,
                       char alignment, int& overflow);

  Surface& surface() { return surface_; }

 private:
  bool CanCopy(const CanvasBitmap* bitmap) const;

  Surface& surface_;
  NoticePort& errors_;
  bool hasBackBuffer_ = false;
  bool drawingOpen_ = false;
  const SurfaceFont* selectedFont_ = nullptr;
};

// Error boxes of the drawing layer: "ERROR(<operation>):<what>", caption "ERROR", error icon.
void ShowDrawingError(NoticePort& errors, const char* messageUtf8);

}  // namespace verselane
