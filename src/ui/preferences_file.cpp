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
constexpr const char* kZoomKey = "/view/zoom";

// The zoom as the file writes it: "1", "1.5" or "2", by percent.
struct ZoomText {
  int percent;
  const char* text;
};
constexpr ZoomText kZoomTexts[] = {{100, "1"}, {150, "1.5"}, {200, "2"}};

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

// One of kZoomTexts; nothing for any other text.
std::optional<int> ReadZoom(const wxFileConfig& config, int fallback) {
  wxString value;
  if (!config.Read(kZoomKey, &value)) return fallback;
  for (const ZoomText& zoom : kZoomTexts) {
    if (value == zoom.text) return zoom.percent;
  }
  return std::nullopt;
}

const char* ZoomTextOf(int percent) {
  for (const ZoomText& zoom : kZoomTexts) {
    if (zoom.percent == percent) return zoom.text;
  }
  return kZoomTexts[0].text;
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
  const std::optional<int> zoom = ReadZoom(*config, preferences.zoomPercent);
  if (complaints || !romaji || !zoom) {
    std::error_code error;
    fs::rename(path_, path_ + ".broken", error);
    Tell(notices_, Notice::kPreferencesCorrupt);
    return preferences;
  }
  config_ = std::move(config);
  preferences.romajiInput = *romaji;
  preferences.zoomPercent = *zoom;
  return preferences;
}

void PreferencesFile::Save(const Preferences& preferences) {
  config_->Write(kRomajiKey, preferences.romajiInput ? "true" : "false");
  config_->Write(kZoomKey, ZoomTextOf(preferences.zoomPercent));
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
