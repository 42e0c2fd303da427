// The game's sounds through SDL2 audio: the five WAVs built into the program, played on one output
// device, a new sound replacing the one that is playing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "game/desktop_ports.h"

struct SDL_AudioSpec;

namespace verselane {

struct SdlAudio;

// Where a recording (the reader's voice) is played.
class RecordingOutput {
 public:
  virtual ~RecordingOutput() = default;
  // Recordings are coming: the device can be readied now, off the timer tick.
  virtual void PrepareRecordings() = 0;
  // Starts the RIFF WAV `wav` (a file's bytes, read beforehand: nothing here opens a file),
  // cutting off whatever plays; false when it could not be decoded or there is no device.
  virtual bool PlayRecording(std::string_view wav) = 0;
  virtual void StopRecording() = 0;
};

// The file of assets/ that holds `sound`.
const char* SoundAssetName(SoundId sound);

class SdlSoundPlayer : public SoundPort, public RecordingOutput {
 public:
  // Opens nothing yet: the device is opened by Prepare or, failing that, by the first
  // call that needs it. Without a sound device (or without a readable sound) the player stays
  // silent: Play then does nothing, and nothing is ever reported.
  SdlSoundPlayer();
  ~SdlSoundPlayer() override;
  SdlSoundPlayer(const SdlSoundPlayer&) = delete;
  SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

  // Starts SDL's audio, decodes the built-in sounds into the output device's format and opens the
  // device on a thread of its own: a sound server can take a good part of a second to answer, and
  // the game need not wait for it. Done when a run starts; the first sound is an answer away.
  void Prepare() override;

  // Starts `sound` at once, cutting off whatever still plays. Returns immediately once the
  // device is open (the first sound waits for the opening if it is still going on).
  void Play(SoundId sound) override;

  // On the same device as the sounds, in its format: a sound cuts the recording off, and the
  // other way round.
  void PrepareRecordings() override { Prepare(); }
  bool PlayRecording(std::string_view wav) override;
  void StopRecording() override;

  // Whether an output device is open (false: every Play is silent).
  bool HasDevice();
  // The bytes `sound` takes in the device's format; 0 when it could not be prepared.
  std::size_t SoundBytes(SoundId sound);
  // The bytes still waiting in the device's queue; 0 without a device.
  std::uint32_t QueuedBytes();

 private:
  // The opening itself; on the opener thread or the caller's.
  void Open();
  // Waits for the opener thread, or opens here when nobody has.
  void EnsureOpen();

  std::thread opener_;
  bool opened_ = false;  // written before the opener starts, or by the only thread using the player
  const SdlAudio* sdl_ = nullptr;  // null until opened, and without SDL
  bool audioStarted_ = false;
  std::uint32_t device_ = 0;  // SDL_AudioDeviceID
  std::unique_ptr<SDL_AudioSpec> format_;  // the open device's
  bool recordingQueued_ = false;  // what was queued last is a recording
  std::map<SoundId, std::vector<std::uint8_t>> sounds_;
};

}  // namespace verselane
