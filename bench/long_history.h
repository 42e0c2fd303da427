// A long history of play for the benchmarks: three years, some 90 answers a day in runs over all
// three modes, one in five wrong.
#pragma once

#include <random>
#include <vector>

#include "game/memory_model.h"
#include "records/answer_history.h"

namespace verselane {

inline std::vector<AnswerRecord> LongHistory(int count) {
  std::mt19937 random(2027);
  std::vector<AnswerRecord> answers;
  answers.reserve(count);
  const Day first = *DayOf("2024-01-01");
  for (int i = 0; i < count; ++i) {
    AnswerRecord answer;
    answer.poem = static_cast<int>(random() % 100);
    answer.mode = static_cast<QuestionMode>(random() % 3);
    answer.correct = random() % 5 != 0;
    answer.milliseconds = 2000 + static_cast<int>(random() % 14000);
    answer.answeredAt = 1'704'100'000 + static_cast<std::int64_t>(i / 90) * 86'400 + i % 90;
    answer.localTime = DateText(first + i / 90) + " 20:15:00";
    answers.push_back(answer);
  }
  return answers;
}

}  // namespace verselane
