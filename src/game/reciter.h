// The reader's voice, made on the player's machine: runs the Open JTalk synthesiser for a poem's
// part and keeps what it made in the voice cache, so that each recitation is made once.
#pragma once

#include <atomic>
#include <set>
#include <string>

#include "catalogue/poem_catalogue.h"
#include "game/recitation.h"
#include "settings/preferences.h"

namespace verselane {

// Where the synthesiser and what it reads with are found, and where recitations are kept.
struct VoiceSetup {
  std::string synthesiser = "open_jtalk";  // a path, or a name found on PATH
  std::string dictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";
  std::string voice = "/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice";
  std::string cacheFolder;  // the voice cache, e.g. from VoiceCacheFolder
  // A phrase takes about half a second, a few on a machine busy with other work; one that takes
  // this long hangs.
  int timeoutMs = 30000;
};

// $XDG_CACHE_HOME/verselane/voice, or ~/.cache/verselane/voice when that is unset or not
// absolute. Either argument may be null.
std::string VoiceCacheFolder(const char* xdgCacheHome, const char* home);

class Reciter {
 public:
  Reciter(VoiceSetup setup, const PoemCatalogue& catalogue);

  // Whether the synthesiser, its dictionary and the voice are there, without running anything.
  bool Installed() const;

  // Finds the recitation in the cache, or makes it: blocks while the synthesiser runs. On
  // failure `recitation` is left as it was: NotFound names what is missing, TimedOut and IoError
  // the synthesiser that hung or failed, Corrupt what it wrote that is not a recitation.
  [[nodiscard]] FileStatus Make(const RecitationRequest& request, Recitation& recitation);

  // Make, as the game takes it; the reciter must outlive it.
  RecitationMaker Maker();

  // Ends a synthesis under way at once (from any thread) and refuses every later one: the
  // program is ending.
  void Stop() { stopping_ = true; }

 private:
  struct Job;

  FileStatus ReadCached(const Job& job, Recitation& recitation) const;
  FileStatus Synthesise(const Job& job, Recitation& recitation);
  FileStatus RunSynthesiser(const Job& job, const std::string& wavPath,
                            const std::string& tracePath) const;
  FileStatus KeepResult(const Job& job, const std::string& wavPath, const std::string& tracePath,
                        Recitation& recitation) const;

  VoiceSetup setup_;
  const PoemCatalogue& catalogue_;
  // The speed folders already cleared of what syntheses cut short left behind.
  std::set<std::string> swept_;
  std::atomic<bool> stopping_{false};
};

}  // namespace verselane
