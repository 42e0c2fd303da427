// The reader of a run, as a karuta reader recites: the run's recitations asked of the voice while
// the START countdown runs, each prompt spoken as its question is put, and when its kana are heard.
// A run without the voice, or whose voice failed, is read as text: the reveal of one kana a
// second.
#pragma once

#include <vector>

#include "game/recitation.h"
#include "settings/types.h"

namespace verselane {

class VoicePort;
struct Preferences;

// The prompt as spoken: when each of its cells is heard, from the moment the question is put.
struct SpokenPrompt {
  std::vector<int> cellStartMs;  // empty: not spoken, revealed as text
  bool textHidden = false;       // listening only: no text until the question is answered
};

class Reader {
 public:
  // Reads the voice's options from `preferences` at each run's start.
  Reader(VoicePort& voice, const Preferences& preferences);
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  bool installed() const;
  // Whether a run starting now is recited: the voice is on and installed.
  bool WantsOrder() const;
  // A run starts that asks `poems` in this order in `mode`, after showing those of `shown` whole:
  // their recitations, the opening poem's first when it opens the run, are made ready in the
  // background.
  void BeginRun(const std::vector<int>& poems, QuestionMode mode,
                const std::vector<int>& shown);
  // Whether the run opens with the opening poem.
  bool opensRun() const { return reciting_ && opening_; }
  // Speaks one phrase of the opening poem (kOpeningPoem) or of a poem shown whole; the
  // milliseconds it lasts, 0 when it is not ready.
  int SpeakPhrase(int poem, RecitedPart part);
  // Speaks the prompt of `poem` when its recitation is ready.
  SpokenPrompt SpeakPrompt(int poem, QuestionMode mode);
  // Cuts off what is being said (the question answered, the game paused or reset).
  void Stop();
  // Once a tick of a run: a failure of the voice ends the reading for the rest of the run and is
  // told to the player once.
  void CheckFailure();

 private:
  RecitationRequest Request(int poem, RecitedPart part) const;

  VoicePort& voice_;
  const Preferences& preferences_;
  bool reciting_ = false;  // this run is recited and its voice has not failed
  bool opening_ = false;
  double speed_ = 1.0;     // the pace of this run, fixed at its start
};

}  // namespace verselane
