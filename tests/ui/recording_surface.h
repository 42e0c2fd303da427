// A surface that draws nothing and remembers every call, for checking the canvas rules and the
// game screen without a display. Texts are measured by a simple rule: a double-byte character is
// as wide as the font is high, a single byte half that (at least 1 pixel), and a text is as high
// as its font.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/shift_jis.h"
#include "ui/canvas.h"

namespace verselane::uitest {

class FakeBitmap : public CanvasBitmap {
 public:
  FakeBitmap(int id, int width, int height) : id_(id), width_(width), height_(height) {}
  int width() const override { return width_; }
  int height() const override { return height_; }
  int id() const { return id_; }

 private:
  int id_;
  int width_;
  int height_;
};

class FakeFont : public SurfaceFont {
 public:
  explicit FakeFont(FontSpec setup) : setup(std::move(setup)) {}
  FontSpec setup;
};

// Hands out bitmaps of the given sizes by the number in their file's name ("bitmap-130.png" is
// 130, the id the fake bitmap carries); a missing number fails to load.
class FakeBitmapLoader : public BitmapLoader {
 public:
  std::unique_ptr<CanvasBitmap> Load(std::string_view name) override {
    const int id = std::atoi(std::string(name.substr(name.find('-') + 1)).c_str());
    loaded.push_back(id);
    const auto size = sizes.find(id);
    if (size == sizes.end()) return nullptr;
    return std::make_unique<FakeBitmap>(id, size->second.first, size->second.second);
  }
  // The game screen's bitmaps at their real sizes.
  static FakeBitmapLoader GameScreenSizes() {
    FakeBitmapLoader loader;
    loader.sizes = {{130, {400, 150}}, {135, {7, 11}},  {136, {25, 25}}, {137, {25, 25}},
                    {138, {25, 25}},  {139, {35, 25}},  {141, {315, 45}}, {142, {18, 9}},
                    {143, {3, 9}},    {144, {18, 9}},   {132, {140, 15}}, {133, {90, 11}},
                    {134, {90, 11}}};
    return loader;
  }
  std::map<int, std::pair<int, int>> sizes;
  std::vector<int> loaded;
};

struct SurfaceCall {
  enum Kind { kCopy, kStretch, kText } kind = kCopy;
  int bitmap = 0;  // FakeBitmap id
  int sourceX = 0, sourceY = 0, sourceWidth = 0, sourceHeight = 0;
  int x = 0, y = 0, width = 0, height = 0;
  std::string text;  // CP932
  Rgb colour;
  FontSpec font;
};

class RecordingSurface : public Surface {
 public:
  bool CreateBackBuffer(int width, int height) override {
    ++backBuffersMade;
    bufferWidth = width;
    bufferHeight = height;
    return !failBackBuffer;
  }
  bool BeginDrawing() override {
    ++drawingsBegun;
    return true;
  }
  void EndDrawing() override { ++drawingsEnded; }
  bool Present() override {
    ++presents;
    return true;
  }
  bool Copy(const CanvasBitmap& source, int sourceX, int sourceY, int width, int height, int x,
            int y) override {
    SurfaceCall call;
    call.kind = SurfaceCall::kCopy;
    call.bitmap = static_cast<const FakeBitmap&>(source).id();
    call.sourceX = sourceX;
    call.sourceY = sourceY;
    call.sourceWidth = call.width = width;
    call.sourceHeight = call.height = height;
    call.x = x;
    call.y = y;
    calls.push_back(call);
    return true;
  }
  bool Stretch(const CanvasBitmap& source, int sourceX, int sourceY, int sourceWidth,
               int sourceHeight, int x, int y, int width, int height) override {
    SurfaceCall call;
    call.kind = SurfaceCall::kStretch;
    call.bitmap = static_cast<const FakeBitmap&>(source).id();
    call.sourceX = sourceX;
    call.sourceY = sourceY;
    call.sourceWidth = sourceWidth;
    call.sourceHeight = sourceHeight;
    call.x = x;
    call.y = y;
    call.width = width;
    call.height = height;
    calls.push_back(call);
    return true;
  }
  bool SetTextColour(Rgb value) override {
    colour = value;
    return true;
  }
  std::unique_ptr<SurfaceFont> CreateFont(const FontSpec& setup) override {
    fontsMade.push_back(setup);
    if (failFonts) return nullptr;
    return std::make_unique<FakeFont>(setup);
  }
  void SelectFont(const SurfaceFont* font) override {
    selected = font ? static_cast<const FakeFont*>(font)->setup : FontSpec{};
  }
  TextExtent MeasureText(std::string_view text) override {
    ++measures;
    const int height = selected.height;
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
        width += height;
        ++i;
      } else {
        width += std::max(1, height / 2);
      }
    }
    return {width, height};
  }
  bool DrawText(std::string_view text, int x, int y) override {
    SurfaceCall call;
    call.kind = SurfaceCall::kText;
    call.text = std::string(text);
    call.x = x;
    call.y = y;
    const TextExtent extent = MeasureText(text);
    call.width = extent.width;
    call.height = extent.height;
    call.colour = colour;
    call.font = selected;
    calls.push_back(call);
    return true;
  }

  std::vector<SurfaceCall> Texts() const {
    std::vector<SurfaceCall> texts;
    for (const SurfaceCall& call : calls) {
      if (call.kind == SurfaceCall::kText) texts.push_back(call);
    }
    return texts;
  }

  std::vector<SurfaceCall> calls;
  std::vector<FontSpec> fontsMade;
  FontSpec selected;
  Rgb colour;
  int backBuffersMade = 0, bufferWidth = 0, bufferHeight = 0;
  int drawingsBegun = 0, drawingsEnded = 0, presents = 0, measures = 0;
  bool failBackBuffer = false;
  bool failFonts = false;
};

}  // namespace verselane::uitest
