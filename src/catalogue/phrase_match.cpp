#include "catalogue/phrase_match.h"

#include <charconv>

#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"

namespace verselane {

PhraseRows LoadPhraseRows(const PoemCatalogue& catalogue, int poem, Phrase phrase) {
  const bool upper = phrase == Phrase::kUpper;
  const int fields[4] = {
      upper ? kUpperReading : kLowerReading,
      upper ? kUpperKanjiOverlay : kLowerKanjiOverlay,
      upper ? kUpperVariant1 : kLowerVariant1,
      upper ? kUpperVariant2 : kLowerVariant2,
  };
  PhraseRows result;
  // An absent or empty field leaves its row empty, so it offers nothing at any cell.
  for (int row = 0; row < 4; ++row) result.rows[row] = catalogue.FieldView(poem, fields[row]);
  const std::string_view kimariji =
      catalogue.FieldView(poem, upper ? kUpperKimarijiBytes : kLowerKimarijiBytes);
  std::from_chars(kimariji.data(), kimariji.data() + kimariji.size(), result.kimarijiBytes);
  return result;
}

PhraseMatch MatchPhrase(std::string_view typed, const PhraseRows& phrase) {
  const std::size_t readingSize = phrase.reading().size();
  PhraseMatch match;
  std::size_t cell = 0;  // cell index into the reading
  while (cell * kCellBytes < readingSize) {
    match.readingBytes = cell * kCellBytes;
    if (match.typedBytes >= typed.size()) {
      match.end = MatchEnd::kTypedEnded;
      return match;
    }
    // A lone byte at the end never equals a whole cell.
    std::string_view typedCell = typed.substr(match.typedBytes, kCellBytes);
    const std::string_view* matchingRow = nullptr;
    for (const std::string_view& row : phrase.rows) {
      if (typedCell.size() == kCellBytes && CellAt(row, cell) == typedCell) {
        matchingRow = &row;
        break;
      }
    }
    if (matchingRow == nullptr) {
      match.end = MatchEnd::kMismatch;
      return match;
    }
    ++cell;
    while (IsContinuationCell(*matchingRow, cell)) ++cell;
    match.typedBytes += kCellBytes;
  }
  match.readingBytes = readingSize;
  match.end = MatchEnd::kComplete;
  return match;
}

}  // namespace verselane
