#include "ui/sound_player.h"

#include <climits>
#include <cstring>
#include <optional>
#include <utility>

#include "ui/assets.h"
#include "ui/sdl_audio.h"

namespace verselane {
namespace {

// Each sound and its WAV; the files keep the numbers the sounds were first made under.
struct BuiltInSound {
  SoundId sound;
  const char* asset;
};
constexpr BuiltInSound kBuiltInSounds[] = {
    {SoundId::kCorrect, "sound-147.wav"},
    {SoundId::kWrong, "sound-173.wav"},
    {SoundId::kRunFinished, "sound-174.wav"},
    {SoundId::kFavouriteHit, "sound-176.wav"},
    {SoundId::kFavouriteMissed, "sound-177.wav"},
};

// The WAV in `bytes`, decoded and converted to `target`; nothing when it is unreadable.
std::optional<std::vector<std::uint8_t>> Decode(const SdlAudio& sdl, const std::uint8_t* bytes,
                                                std::size_t size, const SDL_AudioSpec* target,
                                                SDL_AudioSpec* decodedFormat) {
  if (size > static_cast<std::size_t>(INT32_MAX)) return std::nullopt;
  SDL_RWops* stream = sdl.RWFromConstMem(bytes, static_cast<int>(size));
  if (stream == nullptr) return std::nullopt;
  SDL_AudioSpec format;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (sdl.LoadWAV_RW(stream, 1, &format, &buffer, &length) == nullptr) return std::nullopt;
  if (decodedFormat != nullptr) *decodedFormat = format;
  std::vector<std::uint8_t> samples(buffer, buffer + length);
  sdl.FreeWAV(buffer);
  if (target == nullptr) return samples;

  SDL_AudioCVT conversion;
  int needed = sdl.BuildAudioCVT(&conversion, format.format, format.channels, format.freq,
                                 target->format, target->channels, target->freq);
  if (needed < 0) return std::nullopt;
  if (needed == 0) return samples;
  conversion.len = static_cast<int>(samples.size());
  std::vector<std::uint8_t> converted(samples.size() * static_cast<std::size_t>(conversion.len_mult));
  std::memcpy(converted.data(), samples.data(), samples.size());
  conversion.buf = converted.data();
  if (sdl.ConvertAudio(&conversion) != 0) return std::nullopt;
  converted.resize(static_cast<std::size_t>(conversion.len_cvt));
  return converted;
}

// One built-in WAV, decoded and converted to `target`; nothing when it is missing or unreadable.
std::optional<std::vector<std::uint8_t>> Decode(const SdlAudio& sdl, SoundId sound,
                                                const SDL_AudioSpec* target,
                                                SDL_AudioSpec* decodedFormat) {
  std::optional<AssetData> asset = FindAsset(SoundAssetName(sound));
  if (!asset) return std::nullopt;
  return Decode(sdl, asset->data, asset->size, target, decodedFormat);
}

}  // namespace

const char* SoundAssetName(SoundId sound) {
  for (const BuiltInSound& builtIn : kBuiltInSounds) {
    if (builtIn.sound == sound) return builtIn.asset;
  }
  return "";
}

void SdlSoundPlayer::Prepare() {
  if (opened_) return;
  opened_ = true;
  opener_ = std::thread([this] { Open(); });
}

void SdlSoundPlayer::EnsureOpen() {
  if (opener_.joinable()) {
    opener_.join();
  } else if (!opened_) {
    opened_ = true;
    Open();
  }
}

void SdlSoundPlayer::Open() {
  sdl_ = LoadSdlAudio();
  if (sdl_ == nullptr) return;
  // The window toolkit handles Ctrl+C and the like; SDL is only here for sound.
  sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sdl_->SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Verselane");
  if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  audioStarted_ = true;

  // The device is opened in the format of the first sound that decodes; SDL converts from there
  // to whatever the hardware wants, and the other sounds are converted to it here, once.
  SDL_AudioSpec wanted;
  bool haveFormat = false;
  for (const BuiltInSound& builtIn : kBuiltInSounds) {
    if (Decode(*sdl_, builtIn.sound, nullptr, &wanted)) {
      haveFormat = true;
      break;
    }
  }
  if (!haveFormat) return;
  wanted.callback = nullptr;  // sounds are queued
  wanted.userdata = nullptr;
  wanted.samples = 1024;
  format_ = std::make_unique<SDL_AudioSpec>();
  SDL_AudioSpec& obtained = *format_;
  device_ = sdl_->OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device_ == 0) return;

  for (const BuiltInSound& builtIn : kBuiltInSounds) {
    if (auto samples = Decode(*sdl_, builtIn.sound, &obtained, nullptr)) {
      sounds_[builtIn.sound] = std::move(*samples);
    }
  }
}

SdlSoundPlayer::SdlSoundPlayer() = default;

SdlSoundPlayer::~SdlSoundPlayer() {
  if (opener_.joinable()) opener_.join();
  if (device_ != 0) sdl_->CloseAudioDevice(device_);
  if (audioStarted_) sdl_->QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundPlayer::Play(SoundId sound) {
  EnsureOpen();
  if (device_ == 0) return;
  auto found = sounds_.find(sound);
  if (found == sounds_.end() || found->second.empty()) return;
  recordingQueued_ = false;
  sdl_->ClearQueuedAudio(device_);
  sdl_->QueueAudio(device_, found->second.data(), static_cast<Uint32>(found->second.size()));
  sdl_->PauseAudioDevice(device_, 0);
}

bool SdlSoundPlayer::PlayRecording(std::string_view wav) {
  EnsureOpen();
  if (device_ == 0) return false;
  const auto samples = Decode(*sdl_, reinterpret_cast<const std::uint8_t*>(wav.data()), wav.size(),
                              format_.get(), nullptr);
  if (!samples || samples->empty()) return false;
  sdl_->ClearQueuedAudio(device_);
  sdl_->QueueAudio(device_, samples->data(), static_cast<Uint32>(samples->size()));
  sdl_->PauseAudioDevice(device_, 0);
  recordingQueued_ = true;
  return true;
}

// A sound queued since is left to play out.
void SdlSoundPlayer::StopRecording() {
  if (!recordingQueued_) return;
  recordingQueued_ = false;
  sdl_->ClearQueuedAudio(device_);
}

bool SdlSoundPlayer::HasDevice() {
  EnsureOpen();
  return device_ != 0;
}

std::size_t SdlSoundPlayer::SoundBytes(SoundId sound) {
  EnsureOpen();
  auto found = sounds_.find(sound);
  return found == sounds_.end() ? 0 : found->second.size();
}

std::uint32_t SdlSoundPlayer::QueuedBytes() {
  EnsureOpen();
  return device_ == 0 ? 0 : sdl_->GetQueuedAudioSize(device_);
}

}  // namespace verselane
