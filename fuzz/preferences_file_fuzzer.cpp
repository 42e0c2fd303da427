// Any verselane.conf loads without harm: it is read, set aside whole, or (too large) left alone.
// A file that was read keeps every byte of its own through a save, and what a save writes loads
// back to the preferences saved.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/file_system.h"
#include "fuzz_support.h"
#include "settings/preferences_file.h"

namespace {

using verselane::FileStatus;
using verselane::Preferences;
using verselane::PreferencesFile;

verselane::UnsyncedFileSystem files;

bool Same(const Preferences& a, const Preferences& b) {
  return a.romajiInput == b.romajiInput && a.zoomPercent == b.zoomPercent &&
         a.romajiChosen == b.romajiChosen;
}

bool IsZoom(int percent) {
  for (int zoom : verselane::kZoomPercents) {
    if (zoom == percent) return true;
  }
  return false;
}

// Whether every byte of `part` comes in `whole`, in order.
bool IsKeptIn(const std::string& part, const std::string& whole) {
  std::size_t at = 0;
  for (char byte : whole) {
    if (at < part.size() && part[at] == byte) ++at;
  }
  return at == part.size();
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  if (!files.ReadFile(path, verselane::kPreferencesFileLimit, bytes).ok()) std::abort();
  return bytes;
}

// Saves `preferences` and loads them back.
void CheckRoundTrip(PreferencesFile& file, const Preferences& preferences) {
  if (!file.Save(preferences).ok()) std::abort();
  PreferencesFile again(file.path(), files);
  Preferences reloaded;
  if (!again.Load(reloaded).ok() || !Same(reloaded, preferences)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = verselane::ScratchFile("verselane.conf");
  std::filesystem::remove(path + ".broken");
  const std::string input(reinterpret_cast<const char*>(data), size);
  verselane::WriteFile(path, input);

  PreferencesFile file(path, files);
  Preferences loaded;
  const FileStatus status = file.Load(loaded);
  if (status.code() == FileStatus::Code::kTooLarge) {
    if (size <= verselane::kPreferencesFileLimit || file.Save(loaded) != FileStatus()) std::abort();
    return 0;
  }
  if (status.code() == FileStatus::Code::kCorrupt) {
    if (file.setAsideAs() != "verselane.conf.broken" || std::filesystem::exists(path) ||
        ReadFile(path + ".broken") != input) {
      std::abort();
    }
  } else if (!status.ok() || !IsZoom(loaded.zoomPercent)) {
    std::abort();
  }

  CheckRoundTrip(file, loaded);
  if (status.ok() && !IsKeptIn(input, ReadFile(path))) std::abort();
  const std::string once = ReadFile(path);
  CheckRoundTrip(file, loaded);
  if (ReadFile(path) != once) std::abort();
  Preferences changed = loaded;
  changed.romajiInput = !loaded.romajiInput;
  changed.zoomPercent = loaded.zoomPercent == 150 ? 200 : 150;
  changed.romajiChosen = true;
  CheckRoundTrip(file, changed);
  return 0;
}
