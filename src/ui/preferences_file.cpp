#include "ui/preferences_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/sstream.h>

#include "base/notices.h"
#include "base/text_file.h"

namespace verselane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRomajiKey = "/input/romaji";

// wxFileConfig reports what it cannot read as log errors and warnings; gathered here, they make
// the file a broken one instead of boxes of their own.
class ParseLog : public wxLog {
 public:
  bool complaints = false;

 protected:
  void DoLogRecord(wxLogLevel level, const wxString&, const wxLogRecordInfo&) override {
    if (level <= wxLOG_Warning) complaints = true;
  }
};

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<wxFileConfig> EmptyConfig() {
  wxStringInputStream empty(wxString{});
  return std::make_unique<wxFileConfig>(empty);
}

// "true" or "false" as written; nothing for any other text.
std::optional<bool> ReadFlag(const wxFileConfig& config, const char* key, bool fallback) {
  wxString value;
  if (!config.Read(key, &value)) return fallback;
  if (value == "true") return true;
  if (value == "false") return false;
  return std::nullopt;
}

}  // namespace

std::string PreferencesPath(const char* xdgConfigHome, const char* home) {
  const fs::path base = xdgConfigHome != nullptr && xdgConfigHome[0] == '/'
                            ? fs::path(xdgConfigHome)
                            : fs::path(home != nullptr ? home : "") / ".config";
  return (base / "verselane" / "verselane.conf").string();
}

PreferencesFile::PreferencesFile(std::string path, NoticePort& notices)
    : path_(std::move(path)), notices_(notices), config_(EmptyConfig()) {}

PreferencesFile::~PreferencesFile() = default;

Preferences PreferencesFile::Load() {
  Preferences preferences;
  const std::optional<std::string> bytes = ReadWhole(path_);
  if (!bytes) return preferences;
  auto* log = new ParseLog;
  wxLog* previous = wxLog::SetActiveTarget(log);
  wxMemoryInputStream stream(bytes->data(), bytes->size());
  auto config = std::make_unique<wxFileConfig>(stream, wxConvUTF8);
  wxLog::SetActiveTarget(previous);
  const bool complaints = log->complaints;
  delete log;
  const std::optional<bool> romaji = ReadFlag(*config, kRomajiKey, preferences.romajiInput);
  if (complaints || !romaji) {
    std::error_code error;
    fs::rename(path_, path_ + ".broken", error);
    Tell(notices_, Notice::kPreferencesCorrupt);
    return preferences;
  }
  config_ = std::move(config);
  preferences.romajiInput = *romaji;
  return preferences;
}

void PreferencesFile::Save(const Preferences& preferences) {
  config_->Write(kRomajiKey, preferences.romajiInput ? "true" : "false");
  if (Write()) return;
  Tell(notices_, Notice::kPreferencesNotSaved);
}

bool PreferencesFile::Write() {
  wxMemoryOutputStream stream;
  if (!config_->Save(stream, wxConvUTF8)) return false;
  std::string bytes(stream.GetLength(), '\0');
  stream.CopyTo(bytes.data(), bytes.size());
  std::error_code error;
  fs::create_directories(fs::path(path_).parent_path(), error);
  return WriteFileBytes(path_, bytes).ok();
}

}  // namespace verselane
