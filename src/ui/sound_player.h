// The game's sounds through SDL2 audio: the five WAVs built into the program, played on one output
// device, a new sound replacing the one that is playing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "game/desktop_ports.h"

namespace verselane {

class SdlSoundPlayer : public SoundPort {
 public:
  // Starts SDL's audio, decodes the built-in sounds into the output device's format and opens the
  // device. Without a sound device (or without a readable sound) the player stays silent: Play then
  // does nothing, and nothing is ever reported.
  SdlSoundPlayer();
  ~SdlSoundPlayer() override;
  SdlSoundPlayer(const SdlSoundPlayer&) = delete;
  SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

  // Starts `sound` at once, cutting off whatever still plays. Returns immediately.
  void Play(SoundId sound) override;

  // Whether an output device is open (false: every Play is silent).
  bool HasDevice() const { return device_ != 0; }
  // The bytes `sound` takes in the device's format; 0 when it could not be prepared.
  std::size_t SoundBytes(SoundId sound) const;
  // The bytes still waiting in the device's queue; 0 without a device.
  std::uint32_t QueuedBytes() const;

 private:
  bool audioStarted_ = false;
  std::uint32_t device_ = 0;  // SDL_AudioDeviceID
  std::map<SoundId, std::vector<std::uint8_t>> sounds_;
};

}  // namespace verselane
