// The reversible byte scrambling that keeps the program's own files from being read or edited as
// plain text: bytes reversed, each shifted by one.
#pragma once

#include <string>

namespace verselane {

enum class ScrambleDirection { kEncode, kDecode };

// Transforms `text` in place and returns true; returns false, changing nothing, when it is empty.
// A byte that becomes 0x00 (0xFF encoded, 0x01 decoded) ends the result there.
bool Scramble(std::string& text, ScrambleDirection direction);

}  // namespace verselane
