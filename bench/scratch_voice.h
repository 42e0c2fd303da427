// A Reciter on a voice cache of its own, an empty folder under the temporary folder, removed
// afterwards: the benchmarks make recitations with the real synthesiser without touching the
// player's cache.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/poem_catalogue.h"
#include "game/reciter.h"

namespace verselane {

class ScratchVoice {
 public:
  ScratchVoice() = default;
  ~ScratchVoice() { std::filesystem::remove_all(setup_.cacheFolder); }
  ScratchVoice(const ScratchVoice&) = delete;
  ScratchVoice& operator=(const ScratchVoice&) = delete;

  void Empty() {
    std::filesystem::remove_all(setup_.cacheFolder);
    std::filesystem::create_directories(setup_.cacheFolder);
  }
  Reciter& reciter() { return reciter_; }

 private:
  static VoiceSetup Setup() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "verselane-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    VoiceSetup setup;
    setup.cacheFolder = pattern;
    return setup;
  }

  PoemCatalogue catalogue_;
  VoiceSetup setup_ = Setup();
  Reciter reciter_{setup_, catalogue_};
};

}  // namespace verselane
