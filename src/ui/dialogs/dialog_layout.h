// Placing a dialog's controls at their designed rectangles when some controls need more room
// than the design gives them (GTK buttons, entries and check boxes are taller and wider than the
// design allowed for at the same font). A control is never made smaller than it needs; what
// grows pushes what lies below it, and to its right, by as much, so rows stay rows and the gaps
// of the design stay as they were; group boxes grow around what they hold, and the dialog
// around everything. No toolkit here: rectangles in, rectangles out.
#pragma once

#include <vector>

namespace verselane {

struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int right() const { return x + width; }
  int bottom() const { return y + height; }
  bool operator==(const LayoutRect&) const = default;
};

enum class LayoutRole {
  kControl,    // an ordinary control
  kContainer,  // a group box or frame: grows around the controls inside its rectangle
  kRule,       // a thin line: its ends move with what lies before them
};

enum LayoutAnchor : unsigned {
  kAnchorNone = 0,
  kAnchorRight = 1,  // keeps its distance from the dialog's right edge when the dialog widens
  kCentreX = 2,      // stays centred in the dialog
  kStretchRight = 4,  // its right edge keeps its distance from the dialog's right edge
  // Right-aligned values: those whose designed rectangles end at one x end at one x, however
  // each grew, so that a column of figures stays a column.
  kEndsAligned = 8,
};

struct LayoutItem {
  LayoutRect rect;  // the designed rectangle, in pixels
  int minWidth = 0;  // what the control needs
  int minHeight = 0;
  LayoutRole role = LayoutRole::kControl;
  unsigned anchors = kAnchorNone;
};

struct LayoutOptions {
  // A control's growth pushes everything to its right, in every row, so that the columns of a
  // table stay aligned. Otherwise only the controls of its own row move.
  bool tableColumns = false;
};

struct LayoutResult {
  std::vector<LayoutRect> rects;  // one per item, in order
  int clientWidth = 0;
  int clientHeight = 0;
};

// Lays out `items`, made for a client area of `clientWidth` × `clientHeight`.
LayoutResult LayOutDialog(const std::vector<LayoutItem>& items, int clientWidth, int clientHeight,
                    const LayoutOptions& options = {});

}  // namespace verselane
