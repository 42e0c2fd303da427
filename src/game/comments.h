// The comments of the results dialog: seven characters, five levels each, as CP932 text.
#pragma once

#include <string>

namespace verselane {

inline constexpr int kCommentCharacters = 7;
inline constexpr int kCommentLevels = 5;

// Copies the comment of `character` (0 to 6) at `level` (0 to 4) into `text`; leaves `text`
// untouched when either is out of range. Line breaks inside a comment are CR LF.
void GetComment(int character, int level, std::string& text);

}  // namespace verselane
