#include "catalogue/pronunciation.h"

#include <map>
#include <utility>

#include "base/shift_jis.h"
#include "catalogue/pronunciation_table.h"

namespace verselane {
namespace {

// Each kana with the phonemes it is said with. A kana followed by a small ゃ, ゅ or ょ is said
// with its softened consonant (kSoftened) alone, and the small kana with its vowel.
constexpr std::pair<const char*, const char*> kKanaSounds[] = {
    {"あ", "a"},    {"い", "i"},    {"う", "u"},    {"え", "e"},    {"お", "o"},
    {"か", "k a"},  {"き", "k i"},  {"く", "k u"},  {"け", "k e"},  {"こ", "k o"},
    {"が", "g a"},  {"ぎ", "g i"},  {"ぐ", "g u"},  {"げ", "g e"},  {"ご", "g o"},
    {"さ", "s a"},  {"し", "sh i"}, {"す", "s u"},  {"せ", "s e"},  {"そ", "s o"},
    {"ざ", "z a"},  {"じ", "j i"},  {"ず", "z u"},  {"ぜ", "z e"},  {"ぞ", "z o"},
    {"た", "t a"},  {"ち", "ch i"}, {"つ", "ts u"}, {"て", "t e"},  {"と", "t o"},
    {"だ", "d a"},  {"ぢ", "j i"},  {"づ", "z u"},  {"で", "d e"},  {"ど", "d o"},
    {"な", "n a"},  {"に", "n i"},  {"ぬ", "n u"},  {"ね", "n e"},  {"の", "n o"},
    {"は", "h a"},  {"ひ", "h i"},  {"ふ", "f u"},  {"へ", "h e"},  {"ほ", "h o"},
    {"ば", "b a"},  {"び", "b i"},  {"ぶ", "b u"},  {"べ", "b e"},  {"ぼ", "b o"},
    {"ぱ", "p a"},  {"ぴ", "p i"},  {"ぷ", "p u"},  {"ぺ", "p e"},  {"ぽ", "p o"},
    {"ま", "m a"},  {"み", "m i"},  {"む", "m u"},  {"め", "m e"},  {"も", "m o"},
    {"や", "y a"},  {"ゆ", "y u"},  {"よ", "y o"},
    {"ら", "r a"},  {"り", "r i"},  {"る", "r u"},  {"れ", "r e"},  {"ろ", "r o"},
    {"わ", "w a"},  {"ゐ", "i"},    {"ゑ", "e"},    {"を", "o"},    {"ん", "N"},    {"っ", "cl"},
    {"ゃ", "a"},    {"ゅ", "u"},    {"ょ", "o"},
};

// The consonant a kana takes before a small ゃ, ゅ or ょ.
constexpr std::pair<const char*, const char*> kSoftened[] = {
    {"き", "ky"}, {"ぎ", "gy"}, {"し", "sh"}, {"じ", "j"}, {"ち", "ch"}, {"に", "ny"},
    {"ひ", "hy"}, {"び", "by"}, {"ぴ", "py"}, {"み", "my"}, {"り", "ry"},
};

using SoundMap = std::map<std::string, std::vector<std::string>, std::less<>>;

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  while (!text.empty()) {
    const std::size_t end = text.find(' ');
    if (end != 0) words.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return words;
}

SoundMap MakeMap(const auto& pairs) {
  SoundMap map;
  for (const auto& [kana, sounds] : pairs) map[SjisLiteral(kana)] = Words(sounds);
  return map;
}

const SoundMap& KanaSounds() {
  static const SoundMap map = MakeMap(kKanaSounds);
  return map;
}

const SoundMap& Softened() {
  static const SoundMap map = MakeMap(kSoftened);
  return map;
}

bool IsSmallY(std::string_view cell) {
  static const std::string small = SjisLiteral("ゃゅょ");
  for (std::size_t i = 0; i < small.size(); i += kCellBytes) {
    if (cell == std::string_view(small).substr(i, kCellBytes)) return true;
  }
  return false;
}

// The cell that begins at byte `at`, or nothing past the end.
std::string_view CellFrom(std::string_view text, std::size_t at) {
  return at < text.size() ? text.substr(at, kCellBytes) : std::string_view();
}

// The phonemes of the kana `cell`, given the cell after it.
const std::vector<std::string>* SoundsOf(std::string_view cell, std::string_view next) {
  const SoundMap& map = IsSmallY(next) ? Softened() : KanaSounds();
  const auto found = map.find(cell);
  return found == map.end() ? nullptr : &found->second;
}

// A vowel, or ん, which a reader can hold: ー after it says it once more.
bool IsHeldSound(const std::string& name) {
  return name.size() == 1 && std::string_view("aiueoN").find(name[0]) != std::string_view::npos;
}

const char* Field(const PronunciationEntry& entry, SpokenPart part, bool input) {
  switch (part) {
    case SpokenPart::kUpper: return input ? entry.upperInput : entry.upper;
    case SpokenPart::kLower: return input ? entry.lowerInput : entry.lower;
    case SpokenPart::kPoet: return input ? entry.poetInput : entry.poet;
  }
  return nullptr;
}

}  // namespace

SpokenText Pronunciation(int poem, SpokenPart part) {
  const PronunciationEntry& entry = kPronunciationTable[static_cast<std::size_t>(poem)];
  const char* input = Field(entry, part, true);
  SpokenText text{SjisLiteral(Field(entry, part, false)), ""};
  text.input = input != nullptr ? SjisLiteral(input) : text.said;
  return text;
}

std::optional<std::vector<SpokenPhoneme>> PhonemesOf(std::string_view said) {
  static const std::string longVowel = SjisLiteral("ー");
  std::vector<SpokenPhoneme> phonemes;
  int kana = 0;
  for (std::size_t at = 0; at < said.size(); at += kCellBytes, ++kana) {
    while (at < said.size() && said[at] == ' ') ++at;
    const std::string_view cell = CellFrom(said, at);
    if (cell == longVowel) {
      if (phonemes.empty() || !IsHeldSound(phonemes.back().name)) return std::nullopt;
      phonemes.push_back({phonemes.back().name, kana});
      continue;
    }
    const std::vector<std::string>* sounds = SoundsOf(cell, CellFrom(said, at + kCellBytes));
    if (sounds == nullptr) return std::nullopt;
    for (const std::string& name : *sounds) phonemes.push_back({name, kana});
  }
  return phonemes;
}

}  // namespace verselane
