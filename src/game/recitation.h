// A poem's part spoken aloud: the sound, and when each of the prompt's kana is heard, so that the
// prompt can be revealed in step with the voice.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/file_status.h"

namespace verselane {

// Which part of a poem is recited: the upper phrase (the prompt of the normal mode), the lower
// phrase (the reverse mode's) or the poet's name (the poet mode's).
enum class RecitedPart { kUpper, kLower, kPoet };

// The poem a competition reading opens with (the 序歌, なにはづに…), which is not one of the
// hundred: asked for as this index, its upper and lower phrases only, with no cells to reveal.
inline constexpr int kOpeningPoem = 100;

struct RecitationRequest {
  int poem = 0;  // poem index, 0 to 99, or kOpeningPoem
  RecitedPart part = RecitedPart::kUpper;
  // The reader's pace: 1.0 reads the upper phrase in about five seconds, as a competition reader
  // does; larger is faster.
  double speed = 1.0;
};

struct Recitation {
  std::string wavPath;  // a RIFF WAV file, kept in the voice cache
  int lengthMs = 0;     // how long it plays
  // For each cell of the prompt as the reveal counts them (in the order shown), the milliseconds
  // from the start of the sound at which that cell is heard; never decreasing.
  std::vector<int> cellStartMs;
  // The file's bytes, read once and checked where the recitation was made: what is played, so
  // that the file is never opened again where waiting on it would stall the game.
  std::shared_ptr<const std::string> sound;
};

// Makes (or finds in the cache) the recitation asked for. Blocks while the synthesiser runs: call
// it on a worker thread. Safe to call from one thread at a time.
using RecitationMaker = std::function<FileStatus(const RecitationRequest&, Recitation&)>;

}  // namespace verselane
