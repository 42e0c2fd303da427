#include "game/voice_timing.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "base/shift_jis.h"

namespace verselane {
namespace {

constexpr std::string_view kLabelHeading = "[Output label]";
constexpr long long kLabelUnitsPerMs = 10000;  // label times count 100 ns

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

// "<start> <end> <context label>", where the label holds the phoneme as "…-name+…".
bool ReadLabelLine(std::string_view line, TimedPhoneme& phoneme) {
  long long start = 0;
  const auto [afterStart, error] = std::from_chars(line.data(), line.data() + line.size(), start);
  if (error != std::errc() || start < 0) return false;
  const std::string_view rest(afterStart,
                              static_cast<std::size_t>(line.data() + line.size() - afterStart));
  const std::size_t minus = rest.find('-');
  const std::size_t plus = rest.find('+', minus == std::string_view::npos ? 0 : minus);
  if (rest.find(' ', 1) == std::string_view::npos || minus == std::string_view::npos ||
      plus == std::string_view::npos || plus == minus + 1) {
    return false;
  }
  phoneme.name = std::string(rest.substr(minus + 1, plus - minus - 1));
  phoneme.startMs = static_cast<int>(start / kLabelUnitsPerMs);
  return true;
}

std::string Lowered(std::string name) {
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');  // whatever the locale
  }
  return name;
}

std::string WithoutSpaces(std::string_view said) {
  std::string kana;
  for (char c : said) {
    if (c != ' ') kana += c;
  }
  return kana;
}

// The last sound of each kana of `kana` (its vowel, ん's N, っ's cl), which tells a historical
// spelling from another word: ほ and お both end in o.
std::vector<std::string> EndingSounds(std::string_view kana) {
  std::vector<std::string> endings;
  for (std::size_t n = 0; n < CellCount(kana); ++n) {
    const auto phonemes = PhonemesOf(CellAt(kana, n));
    endings.push_back(phonemes && !phonemes->empty() ? phonemes->back().name : "");
  }
  // A held vowel sounds as the vowel before it.
  for (std::size_t n = 1; n < endings.size(); ++n) {
    if (endings[n].empty()) endings[n] = endings[n - 1];
  }
  return endings;
}

// An edit distance over kana: the same kana costs nothing, kana that end in the same sound
// little, anything else (another kana, one left out or added) more.
int SubstitutionCost(std::string_view a, std::string_view b, const std::string& endA,
                     const std::string& endB) {
  if (a == b) return 0;
  return endA == endB ? 1 : 3;
}
constexpr int kGapCost = 2;

}  // namespace

std::optional<std::vector<TimedPhoneme>> ReadTraceLabels(std::string_view trace) {
  const std::size_t heading = trace.find(kLabelHeading);
  if (heading == std::string_view::npos) return std::nullopt;
  trace.remove_prefix(heading + kLabelHeading.size());
  NextLine(trace);
  std::vector<TimedPhoneme> phonemes;
  bool any = false;
  while (!trace.empty()) {
    const std::string_view line = NextLine(trace);
    if (line.empty() || line.front() == '[') break;
    TimedPhoneme phoneme;
    if (!ReadLabelLine(line, phoneme)) return std::nullopt;
    any = true;
    if (phoneme.name != "sil" && phoneme.name != "pau") phonemes.push_back(std::move(phoneme));
  }
  if (!any) return std::nullopt;
  return phonemes;
}

bool SamePhonemes(const std::vector<SpokenPhoneme>& planned,
                  const std::vector<TimedPhoneme>& spoken) {
  return std::equal(planned.begin(), planned.end(), spoken.begin(), spoken.end(),
                    [](const SpokenPhoneme& a, const TimedPhoneme& b) {
                      return a.name == (b.name == "N" ? b.name : Lowered(b.name));
                    });
}

std::vector<int> SaidKanaOfCells(std::string_view shown, std::string_view saidText) {
  const std::string said = WithoutSpaces(saidText);
  const std::size_t rows = CellCount(shown);
  const std::size_t columns = CellCount(said);
  if (columns == 0) return std::vector<int>(rows, 0);
  const std::vector<std::string> shownEnds = EndingSounds(shown);
  const std::vector<std::string> saidEnds = EndingSounds(said);
  // cost[i][j]: the cheapest match of the first i shown cells with the first j said kana.
  std::vector<std::vector<int>> cost(rows + 1, std::vector<int>(columns + 1, 0));
  for (std::size_t i = 0; i <= rows; ++i) cost[i][0] = static_cast<int>(i) * kGapCost;
  for (std::size_t j = 0; j <= columns; ++j) cost[0][j] = static_cast<int>(j) * kGapCost;
  for (std::size_t i = 1; i <= rows; ++i) {
    for (std::size_t j = 1; j <= columns; ++j) {
      const int substitute =
          cost[i - 1][j - 1] + SubstitutionCost(CellAt(shown, i - 1), CellAt(said, j - 1),
                                                shownEnds[i - 1], saidEnds[j - 1]);
      cost[i][j] = std::min({substitute, cost[i - 1][j] + kGapCost, cost[i][j - 1] + kGapCost});
    }
  }
  // Back from the end: a shown cell matched with a kana is heard with it; one with none, with
  // the kana that follows.
  std::vector<int> kanaOf(rows, 0);
  std::size_t i = rows;
  std::size_t j = columns;
  while (i > 0) {
    const bool matched =
        j > 0 && cost[i][j] == cost[i - 1][j - 1] +
                                   SubstitutionCost(CellAt(shown, i - 1), CellAt(said, j - 1),
                                                    shownEnds[i - 1], saidEnds[j - 1]);
    // Between equally good matches, a said kana left over is the later one: a cell is heard
    // from the first sound said for it.
    if (j > 0 && cost[i][j] == cost[i][j - 1] + kGapCost) {
      --j;
    } else if (matched) {
      kanaOf[--i] = static_cast<int>(--j);
    } else {
      kanaOf[--i] = static_cast<int>(std::min(j, columns - 1));
    }
  }
  for (std::size_t n = 1; n < rows; ++n) kanaOf[n] = std::max(kanaOf[n], kanaOf[n - 1]);
  return kanaOf;
}

std::vector<int> CellStartTimes(std::string_view shown, std::string_view said,
                                const std::vector<TimedPhoneme>& spoken) {
  const std::size_t cells = CellCount(shown);
  std::vector<int> starts(cells, 0);
  if (spoken.empty()) return starts;
  const auto planned = PhonemesOf(said);
  if (!planned || !SamePhonemes(*planned, spoken)) {
    const int first = spoken.front().startMs;
    const int span = spoken.back().startMs - first;
    for (std::size_t n = 0; n < cells; ++n) {
      starts[n] =
          first + static_cast<int>(static_cast<long long>(span) * static_cast<long long>(n) /
                                   static_cast<long long>(cells));
    }
    return starts;
  }
  // When each said kana begins: the start of its first phoneme.
  std::vector<int> kanaStart;
  for (std::size_t p = 0; p < planned->size(); ++p) {
    if (static_cast<int>(kanaStart.size()) <= (*planned)[p].kana) {
      kanaStart.push_back(spoken[p].startMs);
    }
  }
  const std::vector<int> kanaOf = SaidKanaOfCells(shown, said);
  for (std::size_t n = 0; n < cells; ++n) {
    starts[n] = kanaStart[std::min(static_cast<std::size_t>(kanaOf[n]), kanaStart.size() - 1)];
  }
  return starts;
}

}  // namespace verselane
