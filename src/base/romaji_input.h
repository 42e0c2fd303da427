// Romaji typed in ASCII turned into hiragana key by key, for players without a Japanese input
// method.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace verselane {

// One answer line typed in romaji. Keys are taken the way typing games and input methods take
// them:
// - letters, in either case: Hepburn, Kunrei and the usual variants (shi/si, chi/ti, tsu/tu,
//   fu/hu, ji/zi, sha/sya, cha/tya/cya, ja/zya/jya, di/du for ぢ/づ, dya, wo for を, wi/we,
//   ye, she/che/je, fa, thi, dhi, tsa, wyi/wye for ゐ/ゑ, ...);
// - an x or l before a kana gives its small form: xa, la, xtu, ltsu, xya, xwa, ...;
// - a doubled consonant gives っ and stays pending (kka → っか, and tchi as well as cchi → っち);
// - n gives ん with nn, with n', or before any other key that cannot follow n in a kana
//   (kanta → かんた); nn gives ん at once, so kanni → かんい and kannni → かんに;
// - '-' gives ー.
// Letters that make no kana yet stay pending. A key that cannot continue them drops them, since
// they can never make a kana, and starts afresh ("kt" leaves "t"). A key that cannot begin
// anything is ignored and changes nothing: digits, space, punctuation other than '-' and the
// apostrophe after n, and q and v (no kana begins with q, and ゔ has no CP932 form).
//
// A line that keeps the text itself takes typing up anywhere with Resume: the letters just before
// the caret are what is pending there, and each key replaces them with kana() and pending().
class RomajiInput {
 public:
  // Starts afresh after `before`, the text before the caret (UTF-8 or ASCII): its last letters
  // that can still become a kana are pending, in lower case. Returns how many letters that is.
  std::size_t Resume(std::string_view before);
  void Type(char key);
  // For Enter: a pending n becomes ん and other pending letters are dropped, so that kana() is
  // all the answer.
  void Finish();
  void Clear();

  // The kana made so far: CP932, two bytes each.
  const std::string& kana() const { return kana_; }
  // The letters typed after them that make no kana yet, in lower case.
  const std::string& pending() const { return pending_; }
  // How many letters typed made no kana and were dropped: q and v, letters a key could not
  // continue ("kt" loses the k), and those pending at Finish.
  std::size_t lostLetters() const { return lostLetters_; }

 private:
  std::string kana_;
  std::string pending_;
  std::size_t lostLetters_ = 0;
};

// An answer (CP932) typed with its Latin letters, by a player whose input method was off or had
// not switched on yet, read by the same rules as if its keys had been typed into a romaji line:
// letters in either case and in either width (Ａ and ａ as some input methods type them), the
// hyphen (- or －) for ー, the apostrophe (' ’ or ＇) after n, and spaces in either width, which
// are dropped as the line ignores them. Each other character (kana, kanji) ends the romaji before
// it, as Enter would, and stays as it is. An answer without a Latin letter comes back unchanged.
// Nothing when something is left over that is not kana: letters that make no kana, or another
// half-width character (a digit, a mark).
std::optional<std::string> ReadRomajiAnswer(std::string_view sjis);

}  // namespace verselane
