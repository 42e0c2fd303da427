#include "catalogue/retry_list.h"

#include <algorithm>

namespace verselane {

bool RetryList::Append(int poem) {
  if (count_ >= kCapacity) return false;
  entries_[count_++] = poem;
  return true;
}

void RetryList::SetCount(int count) { count_ = std::clamp(count, 0, kCapacity); }

std::vector<int> RetryList::CopyEntries() const {
  return {entries_.begin(), entries_.begin() + count_};
}

}  // namespace verselane
