// The player's preferences that env.ini has no place for: kept in a file of our own
// ($XDG_CONFIG_HOME/verselane/verselane.conf), so env.ini keeps its bytes as they always were.
#pragma once

#include "settings/plan_settings.h"

namespace verselane {

struct Preferences {
  // The answer line turns romaji typed in ASCII into hiragana itself, without an input method.
  bool romajiInput = false;
  // The game screen shown at 100, 150 or 200 % of its 400 x 150 size.
  int zoomPercent = 100;
  // Whether romajiInput was chosen (by the player, or at the first start): false while the file
  // has no romaji= key, which a save then leaves out.
  bool romajiChosen = false;

  // The reader's voice: the prompt spoken as each question is put, its kana revealed as they
  // are heard.
  bool recite = false;
  // With the voice: the prompt's text stays hidden until the question is answered.
  bool listenOnly = false;
  // With the voice: a run opens with the opening poem read as a competition reading opens.
  bool opening = false;
  // The reader's pace: 1.0 reads an upper phrase in about five seconds; larger is faster.
  double voiceSpeed = 1.0;

  // How today's plan is made: new poems a day and the target chance of recall.
  PlanSettings plan;
};

// The paces the voice may take: from a slow, deliberate reading to a brisk one.
inline constexpr double kSlowestVoiceSpeed = 0.7;
inline constexpr double kFastestVoiceSpeed = 1.4;

inline constexpr int kZoomPercents[] = {100, 150, 200};

}  // namespace verselane
