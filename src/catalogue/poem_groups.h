// The question sources a player can choose from: fifteen built-in poem groups and the poems of a
// loaded question file.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace verselane {

// Source indices. 0 to 14 are the built-in groups; the question file follows them.
inline constexpr int kAllPoemsSource = 0;
inline constexpr int kBuiltInGroupCount = 15;
inline constexpr int kFileSource = 15;

// Entries of the settings dialog's source list: the built-in groups and the file choice.
inline constexpr int kListedSourceCount = 16;

// Name of listed source `source` (0 to 15) as CP932 bytes, e.g. "全て (100首)"; the file choice
// is "ファイルから読み込む". Empty for any other index.
const std::string& GetGroupName(int source);

// The built-in groups as fixed data, plus the question file's poems once one is loaded.
class QuestionSources {
 public:
  // Replace the question file's poems (source 15) with a copy of `poems`.
  void SetFileList(std::span<const int> poems);

  // Number of poems of `source`; 0 for an index outside 0 to 15.
  int GetGroupSize(int source) const;
  // The poem indices of `source` in stored order, GetGroupSize(source) of them; empty for an
  // index outside 0 to 15. A copy, so a caller that draws from it never changes the source.
  std::vector<int> GetGroupPoems(int source) const;

 private:
  std::vector<int> fileList_;
};

}  // namespace verselane
