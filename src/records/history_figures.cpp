// The figures of each poem drawn from its answers, and the lines of `verselane --history`.
#include <algorithm>
#include <map>

#include "records/answer_history.h"

namespace verselane {
namespace {

std::optional<int> Median(std::vector<int> values) {
  if (values.empty()) return std::nullopt;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  // In 64 bits: the sum of two large times must not overflow.
  return static_cast<int>((std::int64_t{values[middle - 1]} + values[middle]) / 2);
}

}  // namespace

std::vector<PoemFigures> SummarisePoems(const std::vector<AnswerRecord>& answers) {
  std::map<int, std::vector<const AnswerRecord*>> byPoem;
  for (const AnswerRecord& answer : answers) byPoem[answer.poem].push_back(&answer);
  std::vector<PoemFigures> poems;
  for (const auto& [poem, list] : byPoem) {
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
      figures.lastAnsweredAt = answer.answeredAt;
      figures.lastLocalTime = answer.localTime;
    }
    figures.medianRightMs = Median(std::move(rightMs));
    figures.recentMedianRightMs = Median(std::move(recentRightMs));
    poems.push_back(std::move(figures));
  }
  return poems;
}

std::string FormatHistoryLine(const PoemFigures& poem) {
  std::string median = "-";
  if (poem.medianRightMs) {
    const int tenths = (*poem.medianRightMs + 50) / 100;
    median = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  }
  return std::to_string(poem.poem + 1) + "\t" + std::to_string(poem.answers) + "\t" +
         std::to_string(poem.right) + "\t" + median + "\t" + poem.lastLocalTime.substr(0, 10);
}

}  // namespace verselane
