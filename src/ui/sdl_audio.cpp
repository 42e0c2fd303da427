#include "ui/sdl_audio.h"

#include <dlfcn.h>

#include <optional>

namespace verselane {
namespace {

// The SONAME of SDL 2, which keeps its ABI across every 2.x release.
constexpr const char* kLibrary = "libSDL2-2.0.so.0";

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

std::optional<SdlAudio> Load() {
  // Never unloaded: SDL starts threads of its own, and the program ends soon after it is done.
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return std::nullopt;
  SdlAudio sdl{};
  const bool found =
      Find(library, "SDL_SetHint", sdl.SetHint) &&
      Find(library, "SDL_InitSubSystem", sdl.InitSubSystem) &&
      Find(library, "SDL_QuitSubSystem", sdl.QuitSubSystem) &&
      Find(library, "SDL_RWFromConstMem", sdl.RWFromConstMem) &&
      Find(library, "SDL_LoadWAV_RW", sdl.LoadWAV_RW) &&
      Find(library, "SDL_FreeWAV", sdl.FreeWAV) &&
      Find(library, "SDL_BuildAudioCVT", sdl.BuildAudioCVT) &&
      Find(library, "SDL_ConvertAudio", sdl.ConvertAudio) &&
      Find(library, "SDL_OpenAudioDevice", sdl.OpenAudioDevice) &&
      Find(library, "SDL_CloseAudioDevice", sdl.CloseAudioDevice) &&
      Find(library, "SDL_ClearQueuedAudio", sdl.ClearQueuedAudio) &&
      Find(library, "SDL_QueueAudio", sdl.QueueAudio) &&
      Find(library, "SDL_PauseAudioDevice", sdl.PauseAudioDevice) &&
      Find(library, "SDL_GetQueuedAudioSize", sdl.GetQueuedAudioSize);
  if (!found) return std::nullopt;
  return sdl;
}

}  // namespace

const SdlAudio* LoadSdlAudio() {
  static const std::optional<SdlAudio> sdl = Load();
  return sdl ? &*sdl : nullptr;
}

}  // namespace verselane
