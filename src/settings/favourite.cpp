#include "settings/favourite.h"

#include "catalogue/phrase_match.h"
#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"
#include "base/random_source.h"

namespace verselane {

std::optional<int> FindPoemByUpperPhrase(const PoemCatalogue& catalogue, std::string_view text) {
  for (int poem = 0; poem < catalogue.poemCount(); ++poem) {
    const PhraseRows rows = LoadPhraseRows(catalogue, poem, Phrase::kUpper);
    if (MatchPhrase(text, rows).AcceptedFrom(static_cast<std::size_t>(rows.kimarijiBytes))) {
      return poem;
    }
  }
  return std::nullopt;
}

FavouriteSearch SearchFavourite(const PoemCatalogue& catalogue, std::string_view typed) {
  constexpr std::size_t kPhraseMaxBytes = 49;
  const std::string_view text = typed.substr(0, SjisPrefixLength(typed, kPhraseMaxBytes));
  FavouriteSearch result;
  if (text.size() % 2 != 0) {
    result.refusal = Notice::kFavouriteNotFullWidth;
    return result;
  }
  result.poem = FindPoemByUpperPhrase(catalogue, text);
  if (!result.poem) result.refusal = Notice::kFavouriteNotFound;
  return result;
}

int RandomPoemPicker::PickRandomPoem() {
  constexpr int kPoems = 100;
  int poem = static_cast<int>(random_.Below(kPoems));
  // Draw once more among the other 99, so a repeat is impossible without a retry loop.
  if (poem == last_) poem = (last_ + 1 + static_cast<int>(random_.Below(kPoems - 1))) % kPoems;
  last_ = poem;
  return poem;
}

FavouriteTexts ShowFavourite(const PoemCatalogue& catalogue, int poem) {
  FavouriteTexts texts;
  std::string reading;
  catalogue.GetPoemField(poem, kFullText, texts.poem);
  catalogue.GetPoemField(poem, kPoet, texts.poet);
  catalogue.GetPoemField(poem, kPoetReading, reading);
  texts.poet += "(" + reading + ")";
  return texts;
}

}  // namespace verselane
