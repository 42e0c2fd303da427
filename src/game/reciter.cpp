#include "game/reciter.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "base/child_process.h"
#include "base/data_folder.h"
#include "base/decimal.h"
#include "base/file_system.h"
#include "base/shift_jis.h"
#include "base/text_file.h"
#include "base/wav_file.h"
#include "catalogue/pronunciation.h"
#include "game/voice_timing.h"

namespace verselane {
namespace {

// Open JTalk's rate that reads an upper phrase in about five seconds, as a competition reader
// does, its held sounds and the silence around it included (at 0.80 the hundred play 5.53 s on
// average; the benchmark BM_SynthesiseHundredUpperPhrases measures it).
constexpr int kRateHundredthsAtSpeedOne = 88;
constexpr std::size_t kLargestWav = 16 * 1024 * 1024;  // a minute of speech is under 6 MB
constexpr std::size_t kLargestTrace = 4 * 1024 * 1024;
constexpr std::size_t kLargestTimings = 4096;

std::string VoiceName(const std::string& voicePath) {
  std::string name = BaseNameOf(voicePath);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

const char* PartName(RecitedPart part) {
  switch (part) {
    case RecitedPart::kUpper: return "upper";
    case RecitedPart::kLower: return "lower";
    case RecitedPart::kPoet: return "poet";
  }
  return "";
}

SpokenPart SpokenPartOf(RecitedPart part) {
  switch (part) {
    case RecitedPart::kUpper: return SpokenPart::kUpper;
    case RecitedPart::kLower: return SpokenPart::kLower;
    case RecitedPart::kPoet: return SpokenPart::kPoet;
  }
  return SpokenPart::kUpper;
}

int ShownField(RecitedPart part) {
  switch (part) {
    case RecitedPart::kUpper: return kUpperReading;
    case RecitedPart::kLower: return kLowerReading;
    case RecitedPart::kPoet: return kPoetReading;
  }
  return kUpperReading;
}

// The timings file beside a WAV: its length, then when each cell of the prompt is heard.
std::string TimingsText(const Recitation& recitation) {
  std::string text = std::to_string(recitation.lengthMs) + "\n";
  for (std::size_t n = 0; n < recitation.cellStartMs.size(); ++n) {
    text += (n == 0 ? "" : " ") + std::to_string(recitation.cellStartMs[n]);
  }
  return text + "\n";
}

bool ReadTimings(std::string_view text, std::size_t cells, Recitation& recitation) {
  std::vector<int> numbers;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (;;) {
    while (at != end && (*at == ' ' || *at == '\n')) ++at;
    if (at == end) break;
    int value = 0;
    const auto [next, error] = std::from_chars(at, end, value);
    if (error != std::errc() || value < 0) return false;
    numbers.push_back(value);
    at = next;
  }
  if (numbers.size() != cells + 1 || !std::is_sorted(numbers.begin() + 1, numbers.end())) {
    return false;
  }
  recitation.lengthMs = numbers.front();
  recitation.cellStartMs.assign(numbers.begin() + 1, numbers.end());
  return true;
}

// Removes the files a synthesis left behind, whatever became of it.
class TemporaryFiles {
 public:
  explicit TemporaryFiles(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  ~TemporaryFiles() {
    for (const std::string& path : paths_) ::unlink(path.c_str());
  }
  TemporaryFiles(const TemporaryFiles&) = delete;
  TemporaryFiles& operator=(const TemporaryFiles&) = delete;

 private:
  std::vector<std::string> paths_;
};

// A synthesis cut short (the program killed, the machine off) leaves its temporary files,
// ".077-upper.<pid>.wav" and the like, which nothing would ever take or remove. They are removed
// once the process that made them is gone; a running copy's are left alone.
void RemoveLeftovers(const std::string& folder) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    const std::size_t extension = name.rfind('.');
    if (name.size() < 2 || name[0] != '.' || extension == 0 || extension == std::string::npos) {
      continue;
    }
    const std::string_view suffix = std::string_view(name).substr(extension);
    if (suffix != ".wav" && suffix != ".trace" && suffix != ".txt") continue;
    const std::size_t pidStart = name.rfind('.', extension - 1);
    if (pidStart == 0 || pidStart == std::string::npos) continue;
    long pid = 0;
    const char* first = name.data() + pidStart + 1;
    const char* last = name.data() + extension;
    const auto [end, failure] = std::from_chars(first, last, pid);
    if (failure != std::errc() || end != last || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH) {
      (void)SystemFileSystem().Remove(entry.path().string());  // another try at the next start
    }
  }
}

}  // namespace

struct Reciter::Job {
  std::string folder;
  std::string name;   // "077-upper"
  std::string shown;  // the prompt's kana, as the reveal counts them
  SpokenText spoken;
  std::string rate;
  std::string wavPath() const { return folder + "/" + name + ".wav"; }
  std::string timingsPath() const { return folder + "/" + name + ".times"; }
  std::string temporary(const char* extension) const {
    return folder + "/." + name + "." + std::to_string(::getpid()) + extension;
  }
};

std::string VoiceCacheFolder(const char* xdgCacheHome, const char* home) {
  if (xdgCacheHome != nullptr && xdgCacheHome[0] == '/') {
    return std::string(xdgCacheHome) + "/verselane/voice";
  }
  return std::string(home != nullptr ? home : "") + "/.cache/verselane/voice";
}

Reciter::Reciter(VoiceSetup setup, const PoemCatalogue& catalogue)
    : setup_(std::move(setup)), catalogue_(catalogue) {}

bool Reciter::Installed() const {
  FileInfo info;
  FileSystem& files = SystemFileSystem();
  return !FindProgram(setup_.synthesiser).empty() &&
         files.Stat(setup_.dictionary + "/sys.dic", info).ok() && info.regular &&
         files.Stat(setup_.voice, info).ok() && info.regular;
}

FileStatus Reciter::Make(const RecitationRequest& request, Recitation& recitation) {
  const bool opening = request.poem == kOpeningPoem;
  if (request.poem < 0 || request.poem > kOpeningPoem ||
      (opening && request.part == RecitedPart::kPoet)) {
    return FileStatus::InvalidCall(setup_.cacheFolder);
  }
  const double speed = std::clamp(request.speed, kSlowestVoiceSpeed, kFastestVoiceSpeed);
  const long speedHundredths = std::lround(speed * 100);
  Job job;
  job.folder =
      setup_.cacheFolder + "/" + VoiceName(setup_.voice) + "-" + HundredthsText(speedHundredths);
  char number[16];
  std::snprintf(number, sizeof number, "%03d", request.poem + 1);
  job.name = std::string(opening ? "opening" : number) + "-" + PartName(request.part);
  if (!opening) {
    job.shown = std::string(catalogue_.FieldView(request.poem, ShownField(request.part)));
  }
  job.spoken = Pronunciation(request.poem, SpokenPartOf(request.part));
  job.rate = HundredthsText(std::lround(kRateHundredthsAtSpeedOne * speed));
  if (ReadCached(job, recitation).ok()) return FileStatus::Ok(job.wavPath());
  return Synthesise(job, recitation);
}

RecitationMaker Reciter::Maker() {
  return [this](const RecitationRequest& request, Recitation& recitation) {
    return Make(request, recitation);
  };
}

FileStatus Reciter::ReadCached(const Job& job, Recitation& recitation) const {
  FileSystem& files = SystemFileSystem();
  std::string wav;
  std::string timings;
  Recitation found;
  found.wavPath = job.wavPath();
  FileStatus read = files.ReadFile(job.timingsPath(), kLargestTimings, timings);
  if (read.ok()) read = files.ReadFile(found.wavPath, kLargestWav, wav);
  if (!read.ok()) return read;
  const std::optional<int> length = WavLengthMs(wav);
  if (!length || !ReadTimings(timings, CellCount(job.shown), found) || found.lengthMs != *length) {
    return FileStatus::Corrupt(found.wavPath);
  }
  recitation = std::move(found);
  return FileStatus::Ok(recitation.wavPath);
}

FileStatus Reciter::Synthesise(const Job& job, Recitation& recitation) {
  FileInfo info;
  FileSystem& files = SystemFileSystem();
  const std::string dictionaryFile = setup_.dictionary + "/sys.dic";
  if (!files.Stat(dictionaryFile, info).ok()) return FileStatus::NotFound(dictionaryFile);
  if (!files.Stat(setup_.voice, info).ok()) return FileStatus::NotFound(setup_.voice);
  if (FindProgram(setup_.synthesiser).empty()) return FileStatus::NotFound(setup_.synthesiser);
  if (FileStatus made = CreateDataFolder(job.folder); !made.ok()) return made;
  if (swept_.insert(job.folder).second) RemoveLeftovers(job.folder);
  const std::string wavPath = job.temporary(".wav");
  const std::string tracePath = job.temporary(".trace");
  const TemporaryFiles temporaries({wavPath, tracePath, job.temporary(".txt")});
  if (FileStatus ran = RunSynthesiser(job, wavPath, tracePath); !ran.ok()) return ran;
  return KeepResult(job, wavPath, tracePath, recitation);
}

FileStatus Reciter::RunSynthesiser(const Job& job, const std::string& wavPath,
                                   const std::string& tracePath) const {
  // Open JTalk reads UTF-8 text.
  const std::string inputPath = job.temporary(".txt");
  if (FileStatus written = WriteFileBytes(inputPath, SjisToUtf8(job.spoken.input).text + "\n");
      !written.ok()) {
    return written;
  }
  return RunChild({{setup_.synthesiser, "-x", setup_.dictionary, "-m", setup_.voice, "-r", job.rate,
                    "-ow", wavPath, "-ot", tracePath, inputPath},
                   setup_.timeoutMs});
}

FileStatus Reciter::KeepResult(const Job& job, const std::string& wavPath,
                               const std::string& tracePath, Recitation& recitation) const {
  FileSystem& files = SystemFileSystem();
  std::string wav;
  std::string trace;
  if (FileStatus read = files.ReadFile(wavPath, kLargestWav, wav); !read.ok()) {
    return read.code() == FileStatus::Code::kNotFound ? FileStatus::Corrupt(wavPath) : read;
  }
  const std::optional<int> length = WavLengthMs(wav);
  if (!length) return FileStatus::Corrupt(setup_.synthesiser);
  std::optional<std::vector<TimedPhoneme>> spoken;
  if (files.ReadFile(tracePath, kLargestTrace, trace).ok()) spoken = ReadTraceLabels(trace);
  if (!spoken) return FileStatus::Corrupt(setup_.synthesiser);
  Recitation made;
  made.wavPath = job.wavPath();
  made.lengthMs = *length;
  made.cellStartMs = CellStartTimes(job.shown, job.spoken.said, *spoken);
  // The timings first: a WAV in the cache is only taken with timings that match it.
  if (FileStatus kept = WriteFileBytes(job.timingsPath(), TimingsText(made)); !kept.ok()) {
    return kept;
  }
  if (FileStatus kept = files.Rename(wavPath, made.wavPath); !kept.ok()) return kept;
  recitation = std::move(made);
  return FileStatus::Ok(recitation.wavPath);
}

}  // namespace verselane
