// The reversible byte scrambling that keeps the program's own files from being read or edited as
// plain text: bytes reversed, each shifted by one.
#pragma once

#include <string>
#include <string_view>

namespace verselane {

enum class ScrambleDirection { kEncode, kDecode };

// Transforms `text` in place and returns true; returns false, changing nothing, when it is empty.
// A byte that becomes 0x00 (0xFF encoded, 0x01 decoded) ends the result there.
bool Scramble(std::string& text, ScrambleDirection direction);

// True when `text` holds a byte below 0x20, 0x7F or 0xFF. Such a byte would break a scrambled
// file's one line apart (a tab becomes a line end, 0xFF the end of the text), so no record or
// settings line may carry one.
bool HoldsControlByte(std::string_view text);

}  // namespace verselane
