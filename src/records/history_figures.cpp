// The figures of each poem drawn from its answers, and the lines of `verselane --history`.
#include <algorithm>
#include <unordered_map>
#include <utility>

#include "records/answer_history.h"

namespace verselane {
namespace {

// Found without sorting everything: the mastery window waits for the medians of every poem.
std::optional<int> Median(std::vector<int> values) {
  if (values.empty()) return std::nullopt;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  if (values.size() % 2 == 1) return *middle;
  const int below = *std::max_element(values.begin(), middle);
  // In 64 bits: the sum of two large times must not overflow.
  return static_cast<int>((std::int64_t{below} + *middle) / 2);
}

// The answers of each poem, in the order given, by poem number. A history holds a hundred poems
// and a hundred thousand answers or more: each answer finds its poem in a hash table, quicker
// than a tree of them.
std::vector<std::pair<int, std::vector<const AnswerRecord*>>> ByPoem(
    const std::vector<AnswerRecord>& answers) {
  std::unordered_map<int, std::size_t> slots;
  std::vector<std::pair<int, std::vector<const AnswerRecord*>>> byPoem;
  for (const AnswerRecord& answer : answers) {
    const auto [slot, added] = slots.try_emplace(answer.poem, byPoem.size());
    if (added) byPoem.emplace_back(answer.poem, std::vector<const AnswerRecord*>());
    byPoem[slot->second].second.push_back(&answer);
  }
  std::sort(byPoem.begin(), byPoem.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return byPoem;
}

}  // namespace

std::vector<PoemFigures> SummarisePoems(const std::vector<AnswerRecord>& answers) {
  std::vector<PoemFigures> poems;
  for (const auto& [poem, list] : ByPoem(answers)) {
    PoemFigures figures;
    figures.poem = poem;
    std::vector<int> rightMs;
    std::vector<int> recentRightMs;
    const std::size_t recentFrom =
        list.size() > static_cast<std::size_t>(kRecentAnswers) ? list.size() - kRecentAnswers : 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const AnswerRecord& answer = *list[i];
      const bool recent = i >= recentFrom;
      ++figures.answers;
      if (recent) ++figures.recentAnswers;
      if (answer.correct) {
        ++figures.right;
        rightMs.push_back(answer.milliseconds);
        if (recent) recentRightMs.push_back(answer.milliseconds);
        figures.lastRightAt = std::max(figures.lastRightAt.value_or(answer.answeredAt),
                                       answer.answeredAt);
      } else if (recent) {
        ++figures.recentWrong;
      }
    }
    figures.lastAnsweredAt = list.back()->answeredAt;
    figures.lastLocalTime = list.back()->localTime;
    figures.lastRight = list.back()->correct;
    figures.medianRightMs = Median(std::move(rightMs));
    figures.recentMedianRightMs = Median(std::move(recentRightMs));
    poems.push_back(std::move(figures));
  }
  return poems;
}

std::string SecondsWithTenths(int milliseconds) {
  const int tenths = (milliseconds + 50) / 100;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string FormatHistoryLine(const PoemFigures& poem) {
  const std::string median = poem.medianRightMs ? SecondsWithTenths(*poem.medianRightMs) : "-";
  return std::to_string(poem.poem + 1) + "\t" + std::to_string(poem.answers) + "\t" +
         std::to_string(poem.right) + "\t" + median + "\t" + poem.lastLocalTime.substr(0, 10);
}

}  // namespace verselane
