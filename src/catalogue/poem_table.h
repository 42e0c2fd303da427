// The poem table as written in the source: readable UTF-8, one entry per poem in anthology order.
#pragma once

#include <array>

namespace verselane {

// One poem as entered. Overlay rows are aligned cell by cell with their reading: "〃" marks a
// continuation cell and two ASCII spaces a blank cell (each takes the width of one kana in a
// monospaced editor, so a row lines up under its reading).
//
// `overlays` holds fields 7 to 12 in order. nullptr ends the record (no further fields); "" is an
// empty field that stands between separators because a later row follows.
struct PoemEntry {
  const char* fullText;
  const char* poet;
  const char* poetReading;
  int upperKimarijiBytes;
  int lowerKimarijiBytes;
  const char* upperReading;
  const char* lowerReading;
  std::array<const char*, 6> overlays;
};

inline constexpr int kPoemTableSize = 100;
extern const std::array<PoemEntry, kPoemTableSize> kPoemTable;

}  // namespace verselane
