// The figures of each poem drawn from its answers, and the lines of `verselane --history`.
#include <algorithm>
#include <utility>

#include "records/answer_history.h"

namespace verselane {
namespace {

// Of the recent answers' right times: few, so sorted outright.
std::optional<int> Median(std::vector<int> values) {
  if (values.empty()) return std::nullopt;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return static_cast<int>((std::int64_t{values[middle - 1]} + values[middle]) / 2);
}

}  // namespace

void HistoryFigures::Add(const AnswerRecord& answer) {
  Tally& tally = poems_[answer.poem];
  PoemFigures& figures = tally.figures;
  figures.poem = answer.poem;
  tally.recent[figures.answers % kRecentAnswers] = {answer.correct, answer.milliseconds};
  ++figures.answers;
  if (answer.correct) {
    ++figures.right;
    tally.rightMs.Add(answer.milliseconds);
    figures.lastRightAt =
        std::max(figures.lastRightAt.value_or(answer.answeredAt), answer.answeredAt);
  }
  figures.lastAnsweredAt = answer.answeredAt;
  figures.lastLocalTime = answer.localTime;
  figures.lastRight = answer.correct;
}

std::vector<PoemFigures> HistoryFigures::Poems() const {
  std::vector<PoemFigures> poems;
  poems.reserve(poems_.size());
  for (const auto& [poem, tally] : poems_) {
    PoemFigures figures = tally.figures;
    figures.medianRightMs = tally.rightMs.Median();
    figures.recentAnswers = std::min(figures.answers, kRecentAnswers);
    std::vector<int> recentRightMs;
    for (int i = 0; i < figures.recentAnswers; ++i) {
      const Recent& recent = tally.recent[i];
      if (recent.correct) {
        recentRightMs.push_back(recent.milliseconds);
      } else {
        ++figures.recentWrong;
      }
    }
    figures.recentMedianRightMs = Median(std::move(recentRightMs));
    poems.push_back(std::move(figures));
  }
  return poems;
}

std::vector<PoemFigures> SummarisePoems(const std::vector<AnswerRecord>& answers) {
  HistoryFigures figures;
  for (const AnswerRecord& answer : answers) figures.Add(answer);
  return figures.Poems();
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
