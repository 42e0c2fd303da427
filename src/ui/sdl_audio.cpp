#include "ui/sdl_audio.h"

#include <optional>

#include "base/native_symbols.h"

namespace verselane {
namespace {

// The SONAME of SDL 2, which keeps its ABI across every 2.x release.
constexpr const char* kLibrary = "libSDL2-2.0.so.0";

std::optional<SdlAudio> Load() {
  // Never unloaded: SDL starts threads of its own, and the program ends soon after it is done.
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return std::nullopt;
  SdlAudio sdl{};
  const bool found =
      FindSymbol(library, "SDL_SetHint", sdl.SetHint) &&
      FindSymbol(library, "SDL_InitSubSystem", sdl.InitSubSystem) &&
      FindSymbol(library, "SDL_QuitSubSystem", sdl.QuitSubSystem) &&
      FindSymbol(library, "SDL_RWFromConstMem", sdl.RWFromConstMem) &&
      FindSymbol(library, "SDL_LoadWAV_RW", sdl.LoadWAV_RW) &&
      FindSymbol(library, "SDL_FreeWAV", sdl.FreeWAV) &&
      FindSymbol(library, "SDL_BuildAudioCVT", sdl.BuildAudioCVT) &&
      FindSymbol(library, "SDL_ConvertAudio", sdl.ConvertAudio) &&
      FindSymbol(library, "SDL_OpenAudioDevice", sdl.OpenAudioDevice) &&
      FindSymbol(library, "SDL_CloseAudioDevice", sdl.CloseAudioDevice) &&
      FindSymbol(library, "SDL_ClearQueuedAudio", sdl.ClearQueuedAudio) &&
      FindSymbol(library, "SDL_QueueAudio", sdl.QueueAudio) &&
      FindSymbol(library, "SDL_PauseAudioDevice", sdl.PauseAudioDevice) &&
      FindSymbol(library, "SDL_GetQueuedAudioSize", sdl.GetQueuedAudioSize);
  if (!found) return std::nullopt;
  return sdl;
}

}  // namespace

const SdlAudio* LoadSdlAudio() {
  static const std::optional<SdlAudio> sdl = Load();
  return sdl ? &*sdl : nullptr;
}

}  // namespace verselane
