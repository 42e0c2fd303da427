// The median of a list of whole numbers that only grows, known after each number added without
// going over the list again: the history keeps the medians of its answer times up to date as each
// answer is recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <queue>
#include <vector>

namespace verselane {

class RunningMedian {
 public:
  void Add(int value) {
    if (upper_.empty() || value >= upper_.top()) {
      upper_.push(value);
    } else {
      lower_.push(value);
    }
    // The upper half holds the middle value, or the upper of the two middle ones.
    if (upper_.size() > lower_.size() + 1) {
      lower_.push(upper_.top());
      upper_.pop();
    } else if (lower_.size() > upper_.size()) {
      upper_.push(lower_.top());
      lower_.pop();
    }
  }
  int count() const { return static_cast<int>(lower_.size() + upper_.size()); }
  // The middle value, or the upper of the two middle values; 0 when empty.
  int UpperMiddle() const { return upper_.empty() ? 0 : upper_.top(); }
  // The middle value, or the mean of the two middle values rounded down; nothing when empty.
  std::optional<int> Median() const {
    if (upper_.empty()) return std::nullopt;
    if (upper_.size() > lower_.size()) return upper_.top();
    // In 64 bits: the sum of two large times must not overflow.
    return static_cast<int>((std::int64_t{lower_.top()} + upper_.top()) / 2);
  }

 private:
  std::priority_queue<int> lower_;                                       // the lower half
  std::priority_queue<int, std::vector<int>, std::greater<int>> upper_;  // the upper half
};

}  // namespace verselane
