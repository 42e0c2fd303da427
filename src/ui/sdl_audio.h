// SDL2's audio functions, loaded from the library when the first run starts rather than linked:
// SDL and the sound libraries it links (ALSA, PulseAudio, codecs; some 25 in all) would otherwise
// be loaded, relocated and kept in memory by every start, even by a player who never plays.
#pragma once

#include <SDL.h>

namespace verselane {

struct SdlAudio {
  decltype(&SDL_SetHint) SetHint;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_RWFromConstMem) RWFromConstMem;
  decltype(&SDL_LoadWAV_RW) LoadWAV_RW;
  decltype(&SDL_FreeWAV) FreeWAV;
  decltype(&SDL_BuildAudioCVT) BuildAudioCVT;
  decltype(&SDL_ConvertAudio) ConvertAudio;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
  decltype(&SDL_ClearQueuedAudio) ClearQueuedAudio;
  decltype(&SDL_QueueAudio) QueueAudio;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_GetQueuedAudioSize) GetQueuedAudioSize;
};

// The library's functions, loaded on the first call (from any one thread at a time); null when
// the library or one of its functions cannot be found: the game then plays without sound.
const SdlAudio* LoadSdlAudio();

}  // namespace verselane
