#include "ui/canvas.h"

#include <algorithm>
#include <string>

#include "base/shift_jis.h"
#include "base/file_ports.h"

namespace verselane {

void ShowDrawingError(NoticePort& errors, const char* messageUtf8) {
  errors.ShowNotice(SjisLiteral(messageUtf8), "ERROR", NoticeIcon::kError);
}

// CanvasFont -------------------------------------------------------------------------------------

const SurfaceFont* CanvasFont::Create(int height) {
  if (font_) return font_.get();
  setup_.height = height;
  return Make();
}

const SurfaceFont* CanvasFont::Create(int height, int weight) {
  if (font_) return font_.get();
  setup_.height = height;
  setup_.weight = weight;
  return Make();
}

const SurfaceFont* CanvasFont::Create(int height, int weight, int charset, std::string face) {
  if (font_) return font_.get();
  setup_.height = height;
  setup_.weight = weight;
  setup_.charset = charset;
  setup_.face = std::move(face);
  return Make();
}

const SurfaceFont* CanvasFont::Make() {
  font_ = surface_.CreateFont(setup_);
  if (!font_) ShowDrawingError(errors_, "ERROR(CreateFontDat):Fontの生成に失敗しました");
  return font_.get();
}

// BitmapList -------------------------------------------------------------------------------------

bool BitmapList::Load(std::span<const std::string_view> names, BitmapLoader& loader) {
  bitmaps_.clear();
  bitmaps_.resize(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    bitmaps_[i] = loader.Load(names[i]);
    if (!bitmaps_[i]) {
      ShowDrawingError(errors_, "ERROR(LoadResource):リソースの読込に失敗しました");
      return false;
    }
  }
  return true;
}

const CanvasBitmap* BitmapList::Get(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  return bitmaps_[index].get();
}

// Canvas -----------------------------------------------------------------------------------------

bool Canvas::CreateBackBuffer(int width, int height) {
  if (hasBackBuffer_) return false;
  if (!surface_.CreateBackBuffer(width, height)) {
    ShowDrawingError(errors_, "ERROR(InitDraw):描画の初期処理に失敗しました");
    return false;
  }
  hasBackBuffer_ = true;
  return true;
}

bool Canvas::OpenDrawing() {
  if (!hasBackBuffer_ || drawingOpen_) return false;
  if (!surface_.BeginDrawing()) return false;
  drawingOpen_ = true;
  return true;
}

bool Canvas::CloseDrawing() {
  if (!drawingOpen_) return false;
  surface_.EndDrawing();
  drawingOpen_ = false;
  selectedFont_ = nullptr;
  return true;
}

bool Canvas::Present() {
  if (!drawingOpen_) return false;
  return surface_.Present();
}

bool Canvas::CanCopy(const CanvasBitmap* bitmap) const {
  return hasBackBuffer_ && drawingOpen_ && bitmap != nullptr;
}

bool Canvas::DrawBitmapAt(const CanvasBitmap* bitmap, int x, int y) {
  if (!CanCopy(bitmap)) return false;
  return surface_.Copy(*bitmap, 0, 0, bitmap->width(), bitmap->height(), x, y);
}

bool Canvas::DrawCell(const CanvasBitmap* bitmap, int index, int count, int x, int y) {
  if (!CanCopy(bitmap) || index < 0 || count <= 0) return false;
  if (bitmap->width() % count != 0) return false;
  const int cellWidth = bitmap->width() / count;
  return surface_.Copy(*bitmap, index * cellWidth, 0, cellWidth, bitmap->height(), x, y);
}

bool Canvas::DrawCellStretched(const CanvasBitmap* bitmap, int index, int count, int x, int y,
                               int width, int height) {
  if (!CanCopy(bitmap) || index < 0 || count <= 0) return false;
  if (bitmap->width() % count != 0) return false;
  const int cellWidth = bitmap->width() / count;
  return surface_.Stretch(*bitmap, index * cellWidth, 0, cellWidth, bitmap->height(), x, y, width,
                          height);
}

bool Canvas::DrawNumber(int value, int minimumDigits, const CanvasBitmap* digits, int x, int y,
                        char alignment) {
  if (!CanCopy(digits) || value < 0) return false;
  if (digits->width() % 10 != 0) return false;
  const int cellWidth = digits->width() / 10;
  const std::string decimal = std::to_string(value);
  const int count = std::max(minimumDigits, static_cast<int>(decimal.size()));
  const std::string shown = std::string(count - decimal.size(), '0') + decimal;
  const int left = alignment == kAlignRight ? x - count * cellWidth : x;
  for (int i = 0; i < count; ++i) {
    const int digit = shown[i] - '0';
    if (!surface_.Copy(*digits, digit * cellWidth, 0, cellWidth, digits->height(),
                       left + i * cellWidth, y)) {
      return false;
    }
  }
  return true;
}

bool Canvas::SetTextColour(Rgb colour) {
  if (!drawingOpen_) return false;
  return surface_.SetTextColour(colour);
}

const SurfaceFont* Canvas::SelectFont(const SurfaceFont* font) {
  if (!drawingOpen_) return nullptr;
  const SurfaceFont* previous = selectedFont_;
  selectedFont_ = font;
  surface_.SelectFont(font);
  return previous;
}

bool Canvas::DrawTextAligned(std::string_view text, int x, int y, int boxWidth, int boxHeight,
                             char alignment, int& overflow) {
  if (!hasBackBuffer_ || !drawingOpen_) return false;
  const TextExtent extent = surface_.MeasureText(text);
  if (extent.width > boxWidth) {
    overflow = extent.width - boxWidth;
    return false;
  }
  overflow = 0;
  int left = x;
  if (alignment == kAlignCentre) left = x + (boxWidth - extent.width) / 2;
  if (alignment == kAlignRight) left = x + boxWidth - extent.width;
  const int top = y + (boxHeight - extent.height) / 2;
  return surface_.DrawText(text, left, top);
}

}  // namespace verselane
