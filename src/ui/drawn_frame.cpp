#include "ui/drawn_frame.h"

#include <algorithm>
#include <utility>

namespace verselane {
namespace {

// `area` cut to the buffer; empty when it lies outside.
PixelRect Inside(const PixelRect& area, int width, int height) {
  const int left = std::max(area.x, 0);
  const int top = std::max(area.y, 0);
  const int right = std::min(area.x + area.width, width);
  const int bottom = std::min(area.y + area.height, height);
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

}  // namespace

void DrawnFrame::Begin(int width, int height) {
  width_ = width;
  height_ = height;
  drawing_.clear();
}

void DrawnFrame::Add(DrawingStep step) { drawing_.push_back(std::move(step)); }

bool DrawnFrame::CoversTheBuffer() const {
  if (drawing_.empty()) return false;
  const DrawingStep& first = drawing_.front();
  return first.opaque && first.area.x <= 0 && first.area.y <= 0 &&
         first.area.x + first.area.width >= width_ && first.area.y + first.area.height >= height_;
}

// Step by step: a pixel that no differing step touches went through the same steps in both frames
// (a step the same in both leaves it as it was, or does the same to it), so it is the same.
std::vector<PixelRect> DrawnFrame::ChangedSinceShown() const {
  const PixelRect whole{0, 0, width_, height_};
  if (!shownKnown_ || shownWidth_ != width_ || shownHeight_ != height_ || !CoversTheBuffer()) {
    return {whole};
  }
  std::vector<PixelRect> changed;
  const auto add = [&](const PixelRect& area) {
    const PixelRect inside = Inside(area, width_, height_);
    if (inside.width > 0 && std::find(changed.begin(), changed.end(), inside) == changed.end()) {
      changed.push_back(inside);
    }
  };
  const std::size_t steps = std::max(drawing_.size(), shown_.size());
  for (std::size_t i = 0; i < steps; ++i) {
    const DrawingStep* now = i < drawing_.size() ? &drawing_[i] : nullptr;
    const DrawingStep* before = i < shown_.size() ? &shown_[i] : nullptr;
    if (now != nullptr && before != nullptr && *now == *before) continue;
    if (now != nullptr) add(now->area);
    if (before != nullptr) add(before->area);
  }
  return changed;
}

void DrawnFrame::Shown() {
  shownKnown_ = CoversTheBuffer();
  shown_ = drawing_;
  shownWidth_ = width_;
  shownHeight_ = height_;
}

}  // namespace verselane
