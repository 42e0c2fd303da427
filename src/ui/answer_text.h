// The answer line's text as the game reads it: CP932 bytes. No wx here.
#pragma once

#include <string>
#include <string_view>

namespace verselane {

// Converts the typed UTF-8 text to CP932. A character CP932 cannot hold (an emoji, a rare kanji)
// becomes "?", so the rest of the answer still counts.
std::string AnswerTextToSjis(std::string_view utf8);

// The code point of the last character of `utf8`, or 0 for an empty or broken text.
int LastCharacter(std::string_view utf8);

}  // namespace verselane
