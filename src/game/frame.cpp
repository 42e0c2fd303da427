#include "game/frame.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "base/shift_jis.h"
#include "catalogue/phrase_match.h"
#include "catalogue/poem_catalogue.h"
#include "game/game_controller.h"
#include "game/menu_state.h"

namespace verselane {
namespace {

// The pop-up fades from white (d = 10, its first frame) to its own colour (d = 0). The factors
// are halves, so the integer quotients truncate as the fade should.
Rgb ScoreColour(int d) { return {100 + 31 * d / 2, 100 + 31 * d / 2, 150 + 21 * d / 2}; }
Rgb ReddishColour(int d) { return {200 + 11 * d / 2, 100 + 31 * d / 2, 100 + 31 * d / 2}; }
Rgb AgreedColour(int d) { return {100 + 31 * d / 2, 100 + 31 * d / 2, 100 + 31 * d / 2}; }
Rgb MarkedColour(int d) { return {190 + 13 * d / 2, 20 + 47 * d / 2, 20 + 47 * d / 2}; }

std::string PointsText(char sign, const QuestionState& question) {
  char text[48];
  std::snprintf(text, sizeof text, "%c%dpt.  %02d:%02d:%02d", sign, question.points,
                question.time.hours, question.time.minutes, question.time.seconds);
  return text;
}

void ComposePrompt(GameFrame& frame, const RunState& run, int reveal) {
  frame.reveal = reveal;
  frame.promptShown = IsPromptShown(run.phase);
  if (!frame.promptShown) return;
  const std::size_t bytes = std::min(run.prompt.size(), static_cast<std::size_t>(reveal) * 2);
  frame.prompt = run.prompt.substr(0, bytes);
}

void ComposeTallies(GameFrame& frame, const Tallies& tallies) {
  frame.score = tallies.score;
  frame.correctCount = tallies.correct;
  frame.askedCount = tallies.asked;
  frame.correctRate = CorrectRate(frame.correctCount, frame.askedCount);
}

void ComposeMiss(GameFrame& frame, const QuestionState& question, std::string_view written,
                 int d) {
  static const std::string label = SjisLiteral("入力：");
  static const std::string empty = SjisLiteral("（空欄）");
  static const std::string missing = SjisLiteral("…");
  frame.missShown = true;
  frame.missText = label + question.answer;
  frame.missMarkFrom = label.size() + question.answerAgreed;
  // An answer that stopped short agreed all the way: what it lacks is marked instead.
  if (question.answerAgreed >= question.answer.size()) {
    frame.missText += question.answer.empty() ? empty : missing;
  }
  frame.missColour = AgreedColour(d);
  frame.missMarkColour = MarkedColour(d);
  frame.missWritten = written;
  frame.missWrittenMarkFrom = written.size();
  frame.missReadingMarkFrom = frame.popupText.size();
  std::size_t& marked =
      question.answerAgainstWritten ? frame.missWrittenMarkFrom : frame.missReadingMarkFrom;
  marked = std::min(marked, question.expectedAgreed);
}

void ComposePopup(GameFrame& frame, const RunState& run, const PoemCatalogue& catalogue) {
  frame.popupShown = frame.playState == PlayState::Running && IsAnswered(run.phase) &&
                     frame.popupFrame != -1;
  if (!frame.popupShown) return;
  const int d = kPopupShown - frame.popupFrame;
  const bool penalty = run.question.favourite == FavouriteState::PenaltyShown;
  if (penalty || run.lastResult) {
    frame.popupText = PointsText(penalty ? '-' : '+', run.question);
    frame.popupColour = penalty ? ReddishColour(d) : ScoreColour(d);
    // Only the points won are drawn in the heavy face.
    frame.popupFont = penalty ? PopupFont::kPenalty : PopupFont::kScore;
    return;
  }
  const bool upper = frame.mode == QuestionMode::Reverse;
  frame.popupText = catalogue.FieldView(run.question.poem, upper ? kUpperReading : kLowerReading);
  frame.popupColour = ReddishColour(d);
  frame.popupFont = PopupFont::kReading;
  const Phrase phrase = upper ? Phrase::kUpper : Phrase::kLower;
  ComposeMiss(frame, run.question, WrittenPhrase(catalogue, run.question.poem, phrase), d);
}

void ComposeBanner(GameFrame& frame, Phase phase) {
  const bool starting = frame.playState == PlayState::Running && IsStarting(phase);
  const bool paused = frame.playState == PlayState::Paused;
  frame.bannerShown = (starting || paused) && frame.countdown != -1;
  if (!frame.bannerShown) return;
  frame.bannerText = paused ? "PAUSE" : "START !!";
  const int grey = 130 + 25 * (kCountdownStart - frame.countdown) / 2;
  frame.bannerColour = {grey, grey, grey};
}

// Only where a key of the player's is the one way on: a correct answer moves on by itself.
void ComposeHint(GameFrame& frame, const RunState& run) {
  const bool running = frame.playState == PlayState::Running;
  const bool paused = frame.playState == PlayState::Paused;
  const bool reviewing = running && run.phase == Phase::kReview && !run.lastResult &&
                         run.question.favourite != FavouriteState::PenaltyShown;
  const bool kana = running && IsAnswerLineOpen(run.phase) && run.question.kanaAsked;
  frame.hintShown = paused || reviewing || kana;
  if (!frame.hintShown) return;
  static const std::string resume = SjisLiteral("Ctrl+P で再開");
  static const std::string next = SjisLiteral("Enter で次へ");
  static const std::string typeKana =
      SjisLiteral("かなで入力: ローマ字入力 ") + kRomajiInputKey +
      SjisLiteral("／日本語入力 半角/全角");
  frame.hintText = paused ? resume : reviewing ? next : typeKana;
}

}  // namespace

GameFrame ComposeFrame(const GameController& game, const PoemCatalogue& catalogue,
                       QuestionMode mode) {
  const RunState& run = game.run();
  const GameAnimation& animation = game.animation();
  GameFrame frame;
  frame.mode = mode;
  frame.playState = game.playState();
  ComposePrompt(frame, run, animation.reveal());
  ComposeTallies(frame, run.tallies);
  frame.clock = SplitSeconds(game.seconds(GameClock::kGame));
  frame.colonShown = animation.colonShown();
  frame.markerFrame = animation.markerFrame();
  frame.markerShown = IsAnswerLineOpen(run.phase) && frame.markerFrame >= 0 &&
                      frame.markerFrame <= kMarkerLastFrame;
  frame.popupFrame = animation.popupFrame();
  ComposePopup(frame, run, catalogue);
  frame.countdown = animation.countdown();
  ComposeBanner(frame, run.phase);
  frame.timeBarWidth = animation.timeBar();
  ComposeHint(frame, run);
  return frame;
}

}  // namespace verselane
