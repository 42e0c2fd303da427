// One frame of the game screen as plain data. The engine decides everything a player sees; the
// window layer only paints it (fitting texts into their boxes is the painter's job).
#pragma once

#include <cstddef>
#include <string>

#include "game/phase.h"
#include "game/scoring.h"
#include "settings/types.h"

namespace verselane {

class GameController;
class PoemCatalogue;

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

enum class PopupFont {
  kScore,    // "Arial Black", height 35, weight 900
  kPenalty,  // the default Shift-JIS face, height 35, weight 900
  kReading,  // the default Shift-JIS face, height 25, weight 800
};

struct GameFrame {
  QuestionMode mode = QuestionMode::Normal;  // the icons, and the time bar pieces' frame
  PlayState playState = PlayState::Idle;

  // The prompt, revealed kana by kana, from the question put until its pop-up has gone.
  bool promptShown = false;
  int reveal = 0;
  std::string prompt;  // the revealed bytes: twice `reveal`, or the whole reading

  int score = 0;
  int correctRate = 0;
  int correctCount = 0;
  int askedCount = 0;

  TimeSplit clock;  // the game clock
  bool colonShown = true;

  // The animated marker left of the answer line, while the line takes the answer.
  int markerFrame = -1;
  bool markerShown = false;

  // The score pop-up, or the expected reading after a wrong answer; fades in from white.
  int popupFrame = -1;
  bool popupShown = false;
  std::string popupText;
  Rgb popupColour;
  PopupFont popupFont = PopupFont::kScore;

  // With a wrong answer's expected reading, the answer the player gave, above it: the bytes from
  // `missMarkFrom` on are marked, from the first cell that differs from the reading (a missing
  // rest of the reading shows as a marked "…", an empty answer as a marked "（空欄）").
  bool missShown = false;
  std::string missText;
  std::size_t missMarkFrom = 0;
  Rgb missColour;      // the part that agreed; fades in with the pop-up
  Rgb missMarkColour;  // the marked part
  // Under the answer, what was expected: the phrase as written, then its reading (`popupText`,
  // in `popupColour`). The one the answer was typed in (the phrase as written for an answer that
  // holds kanji, else the reading) is marked from where the answer left it, in `missMarkColour`;
  // the other is not marked (its mark is at its end).
  std::string missWritten;
  std::size_t missWrittenMarkFrom = 0;
  std::size_t missReadingMarkFrom = 0;

  // "START !!" before the first question, "PAUSE" while paused; grey, fading to white.
  int countdown = 10;
  bool bannerShown = false;
  std::string bannerText;
  Rgb bannerColour;

  int timeBarWidth = 302;  // 0 to 302

  // What to press when the game waits for the player, in small grey letters at the foot of the
  // prompt's panel: Enter after a wrong answer, Ctrl+P while paused, and over the answer line the
  // keys that type kana when its letters made none. Without it a newcomer takes the still screen
  // for a hang.
  bool hintShown = false;
  std::string hintText;
};

// The frame for the game as it stands now, in question mode `mode`.
GameFrame ComposeFrame(const GameController& game, const PoemCatalogue& catalogue,
                       QuestionMode mode);

}  // namespace verselane
