// How the poems are read aloud, as CP932 text, and the phonemes a pronunciation is made of.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verselane {

// What is read of a poem: its upper or lower phrase, or its poet's name.
enum class SpokenPart { kUpper, kLower, kPoet };

struct SpokenText {
  std::string said;   // the kana as pronounced, lines parted by ASCII spaces (CP932)
  std::string input;  // what the synthesiser is given to say it (CP932)
};

// The pronunciation of a part of poem `poem` (0 to 99, or 100 for the opening poem, whose poet
// is empty). The poem must be in range.
SpokenText Pronunciation(int poem, SpokenPart part);

// One sound of a pronunciation, named as Open JTalk names its phonemes ("a", "k", "sh", "N",
// "cl"), and which kana of the pronunciation (counting kana only, not the spaces) it belongs to.
struct SpokenPhoneme {
  std::string name;
  int kana = 0;
};

// The phonemes of CP932 kana as pronounced (hiragana, ー for a vowel or ん held, spaces between
// lines); nothing when the text holds anything else.
std::optional<std::vector<SpokenPhoneme>> PhonemesOf(std::string_view said);

}  // namespace verselane
