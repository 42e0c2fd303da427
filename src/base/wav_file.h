// The header of a RIFF WAV file, read to tell a whole recording from a damaged one.
#pragma once

#include <optional>
#include <string_view>

namespace verselane {

// How long the PCM WAV file `bytes` plays, in milliseconds, reckoned from the sound data it
// holds and the shape of its samples; nothing when it is not a PCM WAV file, holds no sound, its
// header's lengths do not match its size (cut short, grown) or its fields do not agree with one
// another or describe no sound a device plays.
std::optional<int> WavLengthMs(std::string_view bytes);

}  // namespace verselane
