#include "base/romaji_input.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/shift_jis.h"

namespace verselane {
namespace {

enum class Match { kNone, kPrefix, kComplete };

class RomajiTable {
 public:
  RomajiTable();

  // Whether `romaji` is a whole spelling (then `kana` is set), only the start of one, or neither.
  Match Find(std::string_view romaji, const std::string*& kana) const {
    auto it = std::lower_bound(
        entries_.begin(), entries_.end(), romaji,
        [](const Entry& entry, std::string_view key) { return entry.romaji < key; });
    if (it == entries_.end() || !it->romaji.starts_with(romaji)) return Match::kNone;
    if (it->romaji.size() > romaji.size()) return Match::kPrefix;
    kana = &it->kana;
    return Match::kComplete;
  }

  const std::string n = SjisLiteral("ん");
  const std::string smallTsu = SjisLiteral("っ");
  // Letters pending are always fewer than those of the longest spelling.
  std::size_t longestPending = 0;

 private:
  struct Entry {
    std::string romaji;
    std::string kana;
  };
  std::vector<Entry> entries_;
};

// Each row: the letters before the vowel, then the kana for a|i|u|e|o (empty where none).
struct Row {
  const char* consonant;
  const char* kana;
};

constexpr Row kRows[] = {
    {"", "あ|い|う|え|お"},
    {"k", "か|き|く|け|こ"},
    {"s", "さ|し|す|せ|そ"},
    {"t", "た|ち|つ|て|と"},
    {"n", "な|に|ぬ|ね|の"},
    {"h", "は|ひ|ふ|へ|ほ"},
    {"m", "ま|み|む|め|も"},
    {"y", "や||ゆ|いぇ|よ"},
    {"r", "ら|り|る|れ|ろ"},
    {"w", "わ|うぃ|う|うぇ|を"},
    {"g", "が|ぎ|ぐ|げ|ご"},
    {"z", "ざ|じ|ず|ぜ|ぞ"},
    {"d", "だ|ぢ|づ|で|ど"},
    {"b", "ば|び|ぶ|べ|ぼ"},
    {"p", "ぱ|ぴ|ぷ|ぺ|ぽ"},
    {"f", "ふぁ|ふぃ|ふ|ふぇ|ふぉ"},
    {"j", "じゃ|じ|じゅ|じぇ|じょ"},
    {"sh", "しゃ|し|しゅ|しぇ|しょ"},
    {"ch", "ちゃ|ち|ちゅ|ちぇ|ちょ"},
    {"ts", "つぁ|つぃ|つ|つぇ|つぉ"},
    {"th", "てぁ|てぃ|てゅ|てぇ|てょ"},
    {"dh", "でゃ|でぃ|でゅ|でぇ|でょ"},
    {"wy", "|ゐ||ゑ|"},
    {"ky", "きゃ|きぃ|きゅ|きぇ|きょ"},
    {"sy", "しゃ|しぃ|しゅ|しぇ|しょ"},
    {"ty", "ちゃ|ちぃ|ちゅ|ちぇ|ちょ"},
    {"cy", "ちゃ|ちぃ|ちゅ|ちぇ|ちょ"},
    {"ny", "にゃ|にぃ|にゅ|にぇ|にょ"},
    {"hy", "ひゃ|ひぃ|ひゅ|ひぇ|ひょ"},
    {"fy", "ふゃ|ふぃ|ふゅ|ふぇ|ふょ"},
    {"my", "みゃ|みぃ|みゅ|みぇ|みょ"},
    {"ry", "りゃ|りぃ|りゅ|りぇ|りょ"},
    {"gy", "ぎゃ|ぎぃ|ぎゅ|ぎぇ|ぎょ"},
    {"zy", "じゃ|じぃ|じゅ|じぇ|じょ"},
    {"jy", "じゃ|じぃ|じゅ|じぇ|じょ"},
    {"dy", "ぢゃ|ぢぃ|ぢゅ|ぢぇ|ぢょ"},
    {"by", "びゃ|びぃ|びゅ|びぇ|びょ"},
    {"py", "ぴゃ|ぴぃ|ぴゅ|ぴぇ|ぴょ"},
    {"x", "ぁ|ぃ|ぅ|ぇ|ぉ"},
    {"l", "ぁ|ぃ|ぅ|ぇ|ぉ"},
    {"xy", "ゃ||ゅ||ょ"},
    {"ly", "ゃ||ゅ||ょ"},
    {"xw", "ゎ|ゐ||ゑ|"},
    {"lw", "ゎ|ゐ||ゑ|"},
};

struct Spelling {
  const char* romaji;
  const char* kana;
};

constexpr Spelling kSpellings[] = {
    {"xtu", "っ"}, {"ltu", "っ"}, {"xtsu", "っ"}, {"ltsu", "っ"},
    {"nn", "ん"},  {"n'", "ん"},  {"-", "ー"},
};

RomajiTable::RomajiTable() {
  constexpr std::string_view kVowels = "aiueo";
  for (const Row& row : kRows) {
    std::string_view cells = row.kana;
    for (char vowel : kVowels) {
      std::size_t bar = std::min(cells.find('|'), cells.size());
      if (bar > 0) {
        entries_.push_back({row.consonant + std::string(1, vowel), SjisLiteral(cells.substr(0, bar))});
      }
      cells.remove_prefix(std::min(bar + 1, cells.size()));
    }
  }
  for (const Spelling& spelling : kSpellings) {
    entries_.push_back({spelling.romaji, SjisLiteral(spelling.kana)});
  }
  std::sort(entries_.begin(), entries_.end(),
            [](const Entry& a, const Entry& b) { return a.romaji < b.romaji; });
  for (const Entry& entry : entries_) {
    longestPending = std::max(longestPending, entry.romaji.size() - 1);
  }
}

const RomajiTable& Table() {
  static const RomajiTable table;
  return table;
}

char Lower(char key) {
  return key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 'a') : key;
}

bool IsLetter(char key) { return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z'); }

// The key a character of an answer (CP932) stands for in romaji: a letter, the hyphen, the
// apostrophe or the space, in either width; 0 for any other character.
char RomajiKey(std::string_view character) {
  if (character.size() == 1) {
    const char key = character[0];
    return IsLetter(key) || key == '-' || key == '\'' || key == ' ' ? key : 0;
  }
  const auto lead = static_cast<unsigned char>(character[0]);
  const auto trail = static_cast<unsigned char>(character[1]);
  if (lead == 0x82 && trail >= 0x60 && trail <= 0x79) return static_cast<char>('A' + trail - 0x60);
  if (lead == 0x82 && trail >= 0x81 && trail <= 0x9A) return static_cast<char>('a' + trail - 0x81);
  if (lead == 0x81 && trail == 0x40) return ' ';   // the ideographic space
  if (lead == 0x81 && trail == 0x7C) return '-';   // the full-width hyphen-minus
  if ((lead == 0x81 && trail == 0x66) || (lead == 0xFA && trail == 0x56)) return '\'';
  return 0;
}

}  // namespace

// Bytes of characters other than letters match no spelling.
std::size_t RomajiInput::Resume(std::string_view before) {
  Clear();
  const RomajiTable& table = Table();
  const std::string* kana = nullptr;
  for (std::size_t length = std::min(before.size(), table.longestPending); length > 0; --length) {
    std::string letters(before.substr(before.size() - length));
    for (char& letter : letters) letter = Lower(letter);
    if (table.Find(letters, kana) == Match::kPrefix) {
      pending_ = std::move(letters);
      return length;
    }
  }
  return 0;
}

void RomajiInput::Type(char key) {
  key = Lower(key);
  const RomajiTable& table = Table();
  const std::string* kana = nullptr;

  std::string candidate = pending_;
  candidate += key;
  switch (table.Find(candidate, kana)) {
    case Match::kComplete:
      kana_ += *kana;
      pending_.clear();
      return;
    case Match::kPrefix:
      pending_ = std::move(candidate);
      return;
    case Match::kNone:
      break;
  }

  const Match alone = table.Find(std::string_view(&key, 1), kana);
  if (alone == Match::kNone) {
    if (IsLetter(key)) ++lostLetters_;
    return;
  }
  if (pending_ == "n") {
    kana_ += table.n;
  } else if (pending_.size() == 1 && (pending_[0] == key || (pending_[0] == 't' && key == 'c'))) {
    // Vowels never stay pending and nn is a spelling of its own, so this is a doubled consonant.
    kana_ += table.smallTsu;
    pending_.assign(1, key);
    return;
  } else {
    lostLetters_ += pending_.size();
  }
  pending_.clear();
  if (alone == Match::kComplete) {
    kana_ += *kana;
  } else {
    pending_.assign(1, key);
  }
}

void RomajiInput::Finish() {
  if (pending_ == "n") {
    kana_ += Table().n;
  } else {
    lostLetters_ += pending_.size();
  }
  pending_.clear();
}

void RomajiInput::Clear() {
  kana_.clear();
  pending_.clear();
  lostLetters_ = 0;
}

std::optional<std::string> ReadRomajiAnswer(std::string_view sjis) {
  std::vector<std::string_view> characters;
  bool letters = false;
  for (std::size_t at = 0; at < sjis.size();) {
    const std::size_t length =
        IsSjisLeadByte(static_cast<unsigned char>(sjis[at])) && at + 1 < sjis.size() ? 2 : 1;
    characters.push_back(sjis.substr(at, length));
    letters = letters || IsLetter(RomajiKey(characters.back()));
    at += length;
  }
  if (!letters) return std::string(sjis);

  std::string read;
  RomajiInput input;
  // What was typed in romaji so far joins the answer, as Enter would leave it.
  auto finish = [&] {
    input.Finish();
    read += input.kana();
    const bool lost = input.lostLetters() > 0;
    input.Clear();
    return !lost;
  };
  for (std::string_view character : characters) {
    const char key = RomajiKey(character);
    if (key != 0) {
      input.Type(key);
    } else if (character.size() == 1) {
      return std::nullopt;
    } else {
      if (!finish()) return std::nullopt;
      read += character;
    }
  }
  if (!finish()) return std::nullopt;
  return read;
}

}  // namespace verselane
