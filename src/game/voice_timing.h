// When each kana of a recitation is heard: Open JTalk's phoneme times read from its trace, and
// the kana said mapped onto the cells of the prompt as shown.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "catalogue/pronunciation.h"

namespace verselane {

struct TimedPhoneme {
  std::string name;  // as Open JTalk names it; a vowel it whispers is in capitals ("U")
  int startMs = 0;
};

// The phonemes of the "[Output label]" part of an Open JTalk trace, in order, without the
// silences ("sil") and pauses ("pau") around and between the lines; nothing when the trace
// holds no labels.
std::optional<std::vector<TimedPhoneme>> ReadTraceLabels(std::string_view trace);

// True when the phonemes spoken are the ones planned, a whispered vowel counting as the vowel.
bool SamePhonemes(const std::vector<SpokenPhoneme>& planned,
                  const std::vector<TimedPhoneme>& spoken);

// For each cell of `shown` (CP932 kana as the prompt shows them), the index of the kana of
// `said` (the pronunciation, its spaces not counted) heard at that cell: the two are matched
// kana by kana where a historical spelling is said otherwise (ほ said お, ふ said う), where one
// kana is said as two (てふ said ちょう) and where a vowel is held (のう said のー). Never
// decreasing.
std::vector<int> SaidKanaOfCells(std::string_view shown, std::string_view said);

// For each cell of `shown`, the milliseconds from the start of the sound at which it is heard,
// from the pronunciation `said` and the phonemes Open JTalk reports for it. When the reported
// phonemes are not the planned ones (another dictionary), the cells are spread evenly over the
// speech instead.
std::vector<int> CellStartTimes(std::string_view shown, std::string_view said,
                                const std::vector<TimedPhoneme>& spoken);

}  // namespace verselane
