#include "game/retry_list.h"

#include <algorithm>

namespace verselane {

bool RetryList::Append(int poem) {
  // A question file may list a poem twice; the log names each wrongly answered poem once, so it
  // never outgrows the hundred poems.
  if (std::find(entries_.begin(), entries_.begin() + count_, poem) != entries_.begin() + count_) {
    return true;
  }
  if (count_ >= kCapacity) return false;
  entries_[count_++] = poem;
  return true;
}

std::vector<int> RetryList::CopyEntries() const {
  return {entries_.begin(), entries_.begin() + count_};
}

}  // namespace verselane
