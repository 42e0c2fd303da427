// What the window already shows, kept as the list of drawing steps that made it, so that a new
// frame is copied into the window only where it differs: a question's tick changes the time bar,
// a kana of the prompt or a digit of the clock, and copying the whole back buffer (four times the
// pixels at 200 %) would cost most of the frame. Nothing here draws; the surface records each
// copy and text as it draws it, and asks for the rectangles to copy when it presents.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace verselane {

// A rectangle of device pixels.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

// One drawing step: what was drawn (a picture's part, or a text in a font and colour, summed up
// in `what`) and the pixels it may have touched.
struct DrawingStep {
  const void* source = nullptr;  // the picture copied from; null for a text
  std::string what;              // everything else that decides the step's pixels
  PixelRect area;
  bool opaque = false;  // every pixel of `area` replaced (a copy), not blended over (a text)
  bool operator==(const DrawingStep&) const = default;
};

class DrawnFrame {
 public:
  // A new frame is being drawn into the back buffer of `width` x `height` device pixels.
  void Begin(int width, int height);
  void Add(DrawingStep step);

  // Where the frame drawn since Begin differs from the one the window shows: nothing when they
  // are the same, the whole buffer when the window's content is not known or the frame does not
  // start by covering the whole buffer (what lay under it is then not in its steps).
  std::vector<PixelRect> ChangedSinceShown() const;
  // The frame drawn is now what the window shows.
  void Shown();
  // The window shows something not drawn from known steps (an expose painted part of it, a
  // new size): the next frame is copied whole.
  void Forget() { shownKnown_ = false; }

 private:
  bool CoversTheBuffer() const;

  int width_ = 0;
  int height_ = 0;
  std::vector<DrawingStep> drawing_;
  std::vector<DrawingStep> shown_;
  int shownWidth_ = 0;
  int shownHeight_ = 0;
  bool shownKnown_ = false;
};

}  // namespace verselane
