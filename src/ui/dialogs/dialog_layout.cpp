#include "ui/dialogs/dialog_layout.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace verselane {
namespace {

// Controls whose centres lie this close are on one line of the dialog: a label beside an entry,
// a value beside its caption. The shorter is centred on the taller one when that one grows.
constexpr int kSameLineTolerance = 3;

bool Contains(const LayoutRect& outer, const LayoutRect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() &&
         inner.bottom() <= outer.bottom();
}

bool OverlapVertically(const LayoutRect& a, const LayoutRect& b) {
  return a.y < b.bottom() && b.y < a.bottom();
}

bool OnOneLine(const LayoutRect& a, const LayoutRect& b) {
  return OverlapVertically(a, b) &&
         std::abs((2 * a.y + a.height) - (2 * b.y + b.height)) <= 2 * kSameLineTolerance;
}

class Solver {
 public:
  Solver(const std::vector<LayoutItem>& items, int clientWidth, int clientHeight,
         const LayoutOptions& options)
      : items_(items), clientWidth_(clientWidth), clientHeight_(clientHeight), options_(options) {
    const std::size_t n = items.size();
    width_.resize(n);
    height_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      const LayoutItem& item = items[i];
      width_[i] = std::max(item.rect.width, item.minWidth);
      height_[i] = std::max(item.rect.height, item.minHeight);
    }
    containers_.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t g = 0; g < n; ++g) {
        if (g != i && IsContainer(g) && items[i].role != LayoutRole::kRule &&
            Contains(items[g].rect, items[i].rect)) {
          containers_[i].push_back(g);
        }
      }
    }
  }

  LayoutResult Solve() {
    Vertical();
    Horizontal();
    return Result();
  }

 private:
  bool IsContainer(std::size_t i) const { return items_[i].role == LayoutRole::kContainer; }
  bool IsControl(std::size_t i) const { return items_[i].role == LayoutRole::kControl; }
  const LayoutRect& Rect(std::size_t i) const { return items_[i].rect; }
  int GrowthX(std::size_t i) const { return width_[i] - Rect(i).width; }
  int GrowthY(std::size_t i) const { return height_[i] - Rect(i).height; }

  std::vector<std::size_t> Ordered(bool byX) const {
    std::vector<std::size_t> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      const int pa = byX ? Rect(a).x : Rect(a).y;
      const int pb = byX ? Rect(b).x : Rect(b).y;
      if (pa != pb) return pa < pb;
      return IsContainer(a) && !IsContainer(b);  // a container before what it holds
    });
    return order;
  }

  // How far the bottom (or right) edge of a container moves: as far as the furthest of what it
  // holds, keeping the margins inside it.
  int ContainerDelta(std::size_t g, const std::vector<int>& shift, const std::vector<int>& delta) {
    int result = shift[g];
    for (std::size_t c = 0; c < items_.size(); ++c) {
      if (std::find(containers_[c].begin(), containers_[c].end(), g) != containers_[c].end()) {
        result = std::max(result, delta[c]);
      }
    }
    return result;
  }

  void Vertical() {
    const std::size_t n = items_.size();
    shiftY_.assign(n, 0);
    deltaY_.assign(n, 0);
    centringY_.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
      if (!IsControl(i)) continue;
      int tallest = GrowthY(i);
      for (std::size_t j = 0; j < n; ++j) {
        if (IsControl(j) && OnOneLine(Rect(i), Rect(j))) tallest = std::max(tallest, GrowthY(j));
      }
      centringY_[i] = (tallest - GrowthY(i)) / 2;
    }
    for (const std::size_t i : Ordered(false)) {
      if (items_[i].role == LayoutRole::kRule) continue;
      int shift = 0;
      for (std::size_t j = 0; j < n; ++j) {
        if (j == i || items_[j].role == LayoutRole::kRule) continue;
        if (Rect(j).bottom() <= Rect(i).y) shift = std::max(shift, FinalDeltaY(j));
      }
      for (const std::size_t g : containers_[i]) shift = std::max(shift, shiftY_[g]);
      shiftY_[i] = shift;
      if (IsControl(i)) deltaY_[i] = shift + centringY_[i] + GrowthY(i);
    }
    for (std::size_t g = 0; g < n; ++g) {
      if (IsContainer(g)) deltaY_[g] = ContainerDelta(g, shiftY_, deltaY_);
    }
  }

  int FinalDeltaY(std::size_t j) {
    if (IsContainer(j)) deltaY_[j] = ContainerDelta(j, shiftY_, deltaY_);
    return deltaY_[j];
  }

  // The container nearest around `i`; kDialog when there is none.
  static constexpr std::size_t kDialog = static_cast<std::size_t>(-1);
  std::size_t InnermostContainer(std::size_t i) const {
    std::size_t best = kDialog;
    for (const std::size_t g : containers_[i]) {
      if (best == kDialog || Contains(Rect(best), Rect(g))) best = g;
    }
    return best;
  }

  void Horizontal() {
    const std::size_t n = items_.size();
    shiftX_.assign(n, 0);
    deltaX_.assign(n, 0);
    // Controls that start at one x in one container form a column and move together; that can
    // move others again, so repeat until nothing moves any more (shifts only ever grow).
    for (bool changed = true; changed;) {
      changed = false;
      for (const std::size_t i : Ordered(true)) {
        if (items_[i].role == LayoutRole::kRule) continue;
        int shift = shiftX_[i];
        for (std::size_t j = 0; j < n; ++j) {
          if (j == i || items_[j].role == LayoutRole::kRule) continue;
          if (Rect(j).right() > Rect(i).x) continue;
          const bool sameRow = OverlapVertically(Rect(i), Rect(j));
          if (IsContainer(j) ? sameRow : (sameRow || options_.tableColumns)) {
            shift = std::max(shift, IsContainer(j) ? ContainerDelta(j, shiftX_, deltaX_) : deltaX_[j]);
          }
        }
        for (const std::size_t g : containers_[i]) shift = std::max(shift, shiftX_[g]);
        if (IsControl(i) && !options_.tableColumns) {
          const std::size_t home = InnermostContainer(i);
          for (std::size_t j = 0; j < n; ++j) {
            if (IsControl(j) && Rect(j).x == Rect(i).x && InnermostContainer(j) == home) {
              shift = std::max(shift, shiftX_[j]);
            }
          }
        }
        if (shift != shiftX_[i]) changed = true;
        shiftX_[i] = shift;
        if (IsControl(i)) deltaX_[i] = shift + GrowthX(i);
      }
    }
    for (std::size_t g = 0; g < n; ++g) {
      if (IsContainer(g)) deltaX_[g] = ContainerDelta(g, shiftX_, deltaX_);
    }
  }

  // How far a point at `edge` of the design has moved: as far as the furthest edge before it.
  int MovedX(int edge) const {
    int moved = 0;
    for (std::size_t j = 0; j < items_.size(); ++j) {
      if (IsControl(j) && Rect(j).right() <= edge) moved = std::max(moved, deltaX_[j]);
    }
    return moved;
  }
  int MovedY(int edge) const {
    int moved = 0;
    for (std::size_t j = 0; j < items_.size(); ++j) {
      if (IsControl(j) && Rect(j).bottom() <= edge) moved = std::max(moved, deltaY_[j]);
    }
    return moved;
  }

  LayoutResult Result() {
    const std::size_t n = items_.size();
    LayoutResult layout;
    layout.rects.resize(n);
    int rightMargin = clientWidth_;
    int bottomMargin = clientHeight_;
    for (std::size_t i = 0; i < n; ++i) {
      if (items_[i].role == LayoutRole::kRule) continue;
      rightMargin = std::min(rightMargin, std::max(0, clientWidth_ - Rect(i).right()));
      bottomMargin = std::min(bottomMargin, std::max(0, clientHeight_ - Rect(i).bottom()));
    }
    for (std::size_t i = 0; i < n; ++i) {
      const LayoutRect& from = Rect(i);
      LayoutRect& to = layout.rects[i];
      switch (items_[i].role) {
        case LayoutRole::kControl:
          to = {from.x + shiftX_[i], from.y + shiftY_[i] + centringY_[i], width_[i], height_[i]};
          break;
        case LayoutRole::kContainer:
          to = {from.x + shiftX_[i], from.y + shiftY_[i], from.width + deltaX_[i] - shiftX_[i],
                from.height + deltaY_[i] - shiftY_[i]};
          break;
        case LayoutRole::kRule: {
          const int left = from.x + MovedX(from.x);
          const int top = from.y + MovedY(from.y);
          to = {left, top, std::max(width_[i], from.right() + MovedX(from.right()) - left),
                std::max(height_[i], from.bottom() + MovedY(from.bottom()) - top)};
          break;
        }
      }
    }
    int width = clientWidth_;
    int height = clientHeight_;
    for (std::size_t i = 0; i < n; ++i) {
      if (items_[i].role == LayoutRole::kRule) continue;
      width = std::max(width, layout.rects[i].right() + rightMargin);
      height = std::max(height, layout.rects[i].bottom() + bottomMargin);
    }
    for (std::size_t i = 0; i < n; ++i) {
      LayoutRect& to = layout.rects[i];
      if (items_[i].anchors & kAnchorRight) {
        to.x = std::max(to.x, width - (clientWidth_ - Rect(i).right()) - to.width);
      }
      if (items_[i].anchors & kStretchRight) {
        to.width = std::max(to.width, width - (clientWidth_ - Rect(i).right()) - to.x);
      }
      if (items_[i].anchors & kCentreX) to.x = (width - to.width) / 2;
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (!(items_[i].anchors & kEndsAligned)) continue;
      int right = layout.rects[i].right();
      for (std::size_t j = 0; j < n; ++j) {
        if ((items_[j].anchors & kEndsAligned) && Rect(j).right() == Rect(i).right()) {
          right = std::max(right, layout.rects[j].right());
        }
      }
      layout.rects[i].width = right - layout.rects[i].x;
    }
    layout.clientWidth = width;
    layout.clientHeight = height;
    return layout;
  }

  const std::vector<LayoutItem>& items_;
  int clientWidth_;
  int clientHeight_;
  LayoutOptions options_;
  std::vector<int> width_, height_;
  std::vector<std::vector<std::size_t>> containers_;
  std::vector<int> shiftY_, deltaY_, centringY_, shiftX_, deltaX_;
};

}  // namespace

LayoutResult LayOutDialog(const std::vector<LayoutItem>& items, int clientWidth, int clientHeight,
                    const LayoutOptions& options) {
  return Solver(items, clientWidth, clientHeight, options).Solve();
}

}  // namespace verselane
