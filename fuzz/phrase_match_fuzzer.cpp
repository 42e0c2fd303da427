// Any typed bytes are judged against every phrase of every poem without harm: the match never
// reads past the typed text or the reading, and what the favourite search finds accepts the text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "catalogue/phrase_match.h"
#include "catalogue/poem_catalogue.h"
#include "settings/favourite.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const verselane::PoemCatalogue catalogue;
  const std::string_view typed(reinterpret_cast<const char*>(data), size);
  for (int poem = 0; poem < catalogue.poemCount(); ++poem) {
    for (verselane::Phrase phrase : {verselane::Phrase::kUpper, verselane::Phrase::kLower}) {
      const verselane::PhraseRows rows = verselane::LoadPhraseRows(catalogue, poem, phrase);
      const verselane::PhraseMatch match = verselane::MatchPhrase(typed, rows);
      if (match.typedBytes > typed.size() || match.readingBytes > rows.reading().size()) {
        std::abort();
      }
      if ((match.end == verselane::MatchEnd::kComplete) !=
          (match.readingBytes == rows.reading().size())) {
        std::abort();
      }
    }
  }
  if (const auto found = verselane::FindPoemByUpperPhrase(catalogue, typed)) {
    const verselane::PhraseRows rows =
        verselane::LoadPhraseRows(catalogue, *found, verselane::Phrase::kUpper);
    if (!verselane::MatchPhrase(typed, rows).AcceptedFrom(rows.kimarijiBytes)) std::abort();
  }
  return 0;
}
