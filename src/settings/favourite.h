// The favourite poem: finding it by the beginning of its upper phrase, picking one at random,
// and the texts that show it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/notices.h"

namespace verselane {

class PoemCatalogue;
class RandomSource;

// The first poem, in anthology order, whose upper phrase `text` spells (in kana, kanji or
// accepted variants) at least up to its kimariji; text after the whole phrase is ignored.
std::optional<int> FindPoemByUpperPhrase(const PoemCatalogue& catalogue, std::string_view text);

// The outcome of the favourite dialog's OK: the poem found, or the notice to show instead.
struct FavouriteSearch {
  std::optional<int> poem;
  std::optional<Notice> refusal;  // nothing when a poem was found
};
// Judges what the player typed into the phrase box (at most 49 bytes of it are read).
FavouriteSearch SearchFavourite(const PoemCatalogue& catalogue, std::string_view typed);

// Picks poems at random for the favourite dialog, never the same poem twice in a row.
class RandomPoemPicker {
 public:
  explicit RandomPoemPicker(RandomSource& random) : random_(random) {}
  int PickRandomPoem();

 private:
  RandomSource& random_;
  int last_ = -1;
};

// What the settings dialog shows of a poem: its text, and its poet with the reading in
// parentheses ("凡河内躬恒(おおしこうちのみつね)"). CP932.
struct FavouriteTexts {
  std::string poem;
  std::string poet;
};
FavouriteTexts ShowFavourite(const PoemCatalogue& catalogue, int poem);

}  // namespace verselane
