#include "evaluate/scored_answers.h"

#include <bitset>
#include <optional>

#include "catalogue/poem_table.h"
#include "game/memory_model.h"
#include "game/weak_poems.h"

namespace verselane {
namespace {

// What the answers before a day tell of each poem.
struct Knowledge {
  std::vector<std::optional<MemoryState>> memory;
  std::vector<std::optional<PoemFigures>> figures;
};

Knowledge KnowledgeFrom(const std::vector<AnswerRecord>& before, const FsrsWeights& w) {
  Knowledge known{ReplayAnswers(before, w),
                  std::vector<std::optional<PoemFigures>>(kPoemTableSize)};
  for (PoemFigures& poem : SummarisePoems(before)) {
    if (poem.poem >= 0 && poem.poem < kPoemTableSize) known.figures[poem.poem] = std::move(poem);
  }
  return known;
}

}  // namespace

std::vector<ScoredAnswer> ScoreAnswers(const std::vector<AnswerRecord>& answers,
                                       const FsrsWeights& w) {
  std::vector<ScoredAnswer> scored;
  std::vector<AnswerRecord> before;
  std::optional<Day> today;
  Knowledge known;
  std::bitset<kPoemTableSize> askedToday;
  for (const AnswerRecord& answer : answers) {
    const std::optional<Day> day = DayOf(answer.localTime);
    if (day && answer.poem >= 0 && answer.poem < kPoemTableSize) {
      if (day != today) {
        today = day;
        known = KnowledgeFrom(before, w);
        askedToday.reset();
      }
      const std::optional<MemoryState>& memory = known.memory[answer.poem];
      const std::optional<PoemFigures>& figures = known.figures[answer.poem];
      if (!askedToday[answer.poem] && memory && figures && *day > memory->lastReview) {
        const double days = *day - memory->lastReview;
        scored.push_back({before.size(), Retrievability(days, memory->stability, w),
                          Weakness(*figures, answer.answeredAt), answer.correct});
      }
      askedToday.set(answer.poem);
    }
    before.push_back(answer);
  }
  return scored;
}

}  // namespace verselane
