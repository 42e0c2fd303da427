// One frame of the game screen as plain data. The engine decides everything a player sees; the
// window layer only paints it (fitting texts into their boxes is the painter's job).
#pragma once

#include <string>

#include "game/scoring.h"
#include "settings/types.h"

namespace verselane {

class Environment;
class GameController;

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

enum class PopupFont {
  kScore,    // "Arial Black", height 35, weight 900
  kReading,  // the default Shift-JIS face, height 25, weight 800
};

struct GameFrame {
  QuestionMode mode = QuestionMode::Normal;  // the icons, and the time bar pieces' frame
  PlayState playState = PlayState::Idle;
  int phase = 0;

  // The prompt, revealed kana by kana, in phases 4 to 8.
  bool promptShown = false;
  int reveal = 0;
  std::string prompt;  // the revealed bytes: twice `reveal`, or the whole reading

  int score = 0;
  int correctRate = 0;
  int correctCount = 0;
  int askedCount = 0;

  TimeSplit clock;  // the game clock
  bool colonShown = true;

  // The animated marker left of the answer line, in phase 4 only.
  int markerFrame = -1;
  bool markerShown = false;

  // The score pop-up, or the expected reading after a wrong answer; fades in from white.
  int popupFrame = -1;
  bool popupShown = false;
  std::string popupText;
  Rgb popupColour;
  PopupFont popupFont = PopupFont::kScore;

  // "START !!" before the first question, "PAUSE" while paused; grey, fading to white.
  int countdown = 10;
  bool bannerShown = false;
  std::string bannerText;
  Rgb bannerColour;

  int timeBarWidth = 302;  // 0 to 302
};

// The frame for the game as it stands now.
GameFrame ComposeFrame(const GameController& game, const Environment& environment);

}  // namespace verselane
