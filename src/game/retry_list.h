// The log of poems answered wrongly in the current run, from which a retry run is built.
#pragma once

#include <array>
#include <vector>

namespace verselane {

class RetryList {
 public:
  // Each poem is logged once, so a hundred entries hold any run.
  static constexpr int kCapacity = 100;

  // Appends `poem` and returns true; a poem already logged is not logged again. When the list is
  // full, changes nothing and returns false.
  bool Append(int poem);

  int count() const { return count_; }

  // The entries in the order they were appended.
  std::vector<int> CopyEntries() const;

 private:
  std::array<int, kCapacity> entries_{};
  int count_ = 0;
};

}  // namespace verselane
