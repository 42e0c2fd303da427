// Matching typed text against a phrase of a poem, cell by cell: at every position the kana of the
// reading, a kanji of the kanji row or a character of a variant row may be typed, and a kanji (or
// variant) stands for the kana its continuation cells cover. Answer checking and the search for a
// poem by its upper phrase both judge with this one matcher.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace verselane {

class PoemCatalogue;

enum class Phrase { kUpper, kLower };

// The reading of one phrase (row 0), its kanji row (1), its two variant rows (2, 3; empty when the
// record has none) and the byte length of its kimariji. The rows are views into the catalogue.
struct PhraseRows {
  std::array<std::string_view, 4> rows;
  int kimarijiBytes = 0;

  std::string_view reading() const { return rows[0]; }
};

PhraseRows LoadPhraseRows(const PoemCatalogue& catalogue, int poem, Phrase phrase);

enum class MatchEnd {
  kComplete,   // the whole reading was matched; typed text after it does not matter
  kTypedEnded, // the typed text ended first, after `readingBytes` bytes of the reading
  kMismatch,   // a typed character fits no row at its position
};

struct PhraseMatch {
  MatchEnd end = MatchEnd::kMismatch;
  std::size_t readingBytes = 0;  // how far into the reading the match got
  std::size_t typedBytes = 0;    // how much of the typed text it used

  // Accepted when the whole reading matched, or when the typed text stopped at or after
  // `minimumBytes` of the reading (the kimariji, where stopping early is allowed).
  bool AcceptedFrom(std::size_t minimumBytes) const {
    return end == MatchEnd::kComplete ||
           (end == MatchEnd::kTypedEnded && readingBytes >= minimumBytes);
  }
};

// Walks the reading one cell at a time; rows are tried in order and the first whose cell equals
// the two typed bytes wins, after which that row's continuation cells are skipped.
PhraseMatch MatchPhrase(std::string_view typed, const PhraseRows& phrase);

// The phrase as the poem is written (its part of the whole poem), a view into the catalogue.
std::string_view WrittenPhrase(const PoemCatalogue& catalogue, int poem, Phrase phrase);

// How many bytes of `written`, the phrase as written, stand for no more than the first
// `readingBytes` of its reading: where a typed text that left the reading there left the written
// phrase too. A kanji is counted only when the whole of the kana it stands for is.
std::size_t WrittenBytesWithin(std::string_view written, const PhraseRows& phrase,
                               std::size_t readingBytes);

// Whether `typed` (CP932) holds a kanji (or 々, 〆): then it was typed converted, and is read
// against the phrase as written rather than against its reading.
bool HoldsKanji(std::string_view typed);

}  // namespace verselane
