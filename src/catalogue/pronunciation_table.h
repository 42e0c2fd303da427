// How each poem is read aloud, as written in the source: readable UTF-8, one entry per poem in
// anthology order, then the poem a competition reading opens with.
#pragma once

#include <array>

namespace verselane {

struct PronunciationEntry {
  const char* upper;  // the upper phrase as pronounced, its lines parted by spaces
  const char* lower;
  const char* poet;  // the poet's name as read; empty for the opening poem
  // What the synthesiser is given in place of the pronunciation above, or nullptr for the
  // pronunciation itself.
  const char* upperInput;
  const char* lowerInput;
  const char* poetInput;
};

// The hundred poems, then the opening poem at index 100.
inline constexpr int kPronouncedPoemCount = 101;
extern const std::array<PronunciationEntry, kPronouncedPoemCount> kPronunciationTable;

}  // namespace verselane
