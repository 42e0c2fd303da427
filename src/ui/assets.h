// The pictures, sounds and help book built into the program. Every file of assets/ that the program
// uses (the PNG pictures, the WAV sounds, the help book) is turned into a byte array when the program
// is built (cmake/assets.cmake), so the program needs no data files beside it.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace verselane {

// One built-in file: its bytes, exactly as they are in assets/.
struct AssetData {
  const unsigned char* data;
  std::size_t size;
};

// The built-in file with this name, relative to assets/ and with '/' between folders
// ("bitmap-130.png", "sound-147.wav", "help/verselane.htb"); nothing for an unknown name.
std::optional<AssetData> FindAsset(std::string_view name);

}  // namespace verselane
