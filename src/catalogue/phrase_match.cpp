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

// The whole poem as written is the upper phrase as written followed by the lower one: the upper
// phrase ends where matching the whole against the upper rows stops.
std::string_view WrittenPhrase(const PoemCatalogue& catalogue, int poem, Phrase phrase) {
  const std::string_view whole = catalogue.FieldView(poem, kFullText);
  const PhraseRows upper = LoadPhraseRows(catalogue, poem, Phrase::kUpper);
  const std::size_t upperBytes = MatchPhrase(whole, upper).typedBytes;
  return phrase == Phrase::kUpper ? whole.substr(0, upperBytes) : whole.substr(upperBytes);
}

std::size_t WrittenBytesWithin(std::string_view written, const PhraseRows& phrase,
                               std::size_t readingBytes) {
  std::size_t within = 0;
  for (std::size_t bytes = kCellBytes; bytes <= written.size(); bytes += kCellBytes) {
    if (MatchPhrase(written.substr(0, bytes), phrase).readingBytes > readingBytes) break;
    within = bytes;
  }
  return within;
}

bool HoldsKanji(std::string_view typed) {
  for (std::size_t at = 0; at < typed.size(); ++at) {
    const auto lead = static_cast<unsigned char>(typed[at]);
    if (!IsSjisLeadByte(lead) || at + 1 >= typed.size()) continue;
    const auto trail = static_cast<unsigned char>(typed[++at]);
    // Kanji begin at 0x889F; 々 and 〆 stand among the symbols.
    if (lead >= 0x88 || (lead == 0x81 && (trail == 0x58 || trail == 0x59))) return true;
  }
  return false;
}

}  // namespace verselane
