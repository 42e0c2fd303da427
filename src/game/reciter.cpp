#include "game/reciter.h"

#include <unistd.h>

#include <algorithm>
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
// A phrase or a name takes seconds even at the slowest pace; one that lasts longer is no
// recitation, whatever its header says.
constexpr int kLongestRecitationMs = 60000;

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

// The timings file beside a WAV: the rate it was made at, its length, then when each cell of the
// prompt is heard.
std::string TimingsText(const std::string& rate, const Recitation& recitation) {
  std::string text = rate + "\n" + std::to_string(recitation.lengthMs) + "\n";
  for (std::size_t n = 0; n < recitation.cellStartMs.size(); ++n) {
    text += (n == 0 ? "" : " ") + std::to_string(recitation.cellStartMs[n]);
  }
  return text + "\n";
}

// Reads timings made at `rate` for a prompt of `cells` cells.
bool ReadTimings(std::string_view text, const std::string& rate, std::size_t cells,
                 Recitation& recitation) {
  if (!text.starts_with(rate + "\n")) return false;
  text.remove_prefix(rate.size() + 1);
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
  if (numbers.size() != cells + 1) return false;
  recitation.lengthMs = numbers.front();
  recitation.cellStartMs.assign(numbers.begin() + 1, numbers.end());
  return true;
}

// A recitation as it must be: of a plausible length, each cell heard within it, in order.
bool Whole(const Recitation& recitation) {
  const std::vector<int>& starts = recitation.cellStartMs;
  return recitation.lengthMs > 0 && recitation.lengthMs <= kLongestRecitationMs &&
         std::is_sorted(starts.begin(), starts.end()) &&
         (starts.empty() || (starts.front() >= 0 && starts.back() < recitation.lengthMs));
}

// Clears the way for a new file at `path`: whatever stands there that is not a regular file (a
// folder, a FIFO, a device, a link) or that `always` is to be replaced goes.
void ClearWay(const std::string& path, bool always) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(path, error);
  if (error || !std::filesystem::exists(status)) return;
  if (always || !std::filesystem::is_regular_file(status)) std::filesystem::remove_all(path, error);
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

}  // namespace

struct Reciter::Job {
  std::string folder;
  std::string name;   // "077-upper"
  std::string shown;  // the prompt's kana, as the reveal counts them
  SpokenText spoken;
  std::string rate;
  std::string wavPath() const { return folder + "/" + name + ".wav"; }
  std::string timingsPath() const { return folder + "/" + name + ".times"; }
  // Named as every temporary file of the program is, so that those of a synthesis cut short
  // (the program killed, the machine off) are removed once their process is gone.
  std::string temporary(const char* extension) const {
    return TemporaryNameFor(folder + "/" + name + extension, 0);
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
  if (swept_.insert(job.folder).second) RemoveAbandonedWritesIn(job.folder);
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
  if (!length || !ReadTimings(timings, job.rate, CellCount(job.shown), found) ||
      found.lengthMs != *length || !Whole(found)) {
    return FileStatus::Corrupt(found.wavPath);
  }
  found.sound = std::make_shared<const std::string>(std::move(wav));
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
  FileSystem& files = SystemFileSystem();
  std::unique_ptr<WritableFile> input;
  ::unlink(inputPath.c_str());  // a process of this id before, gone without removing it
  FileStatus written = files.CreateNew(inputPath, std::nullopt, input);
  if (written.ok()) written = input->Append(SjisToUtf8(job.spoken.input).text + "\n");
  if (input) written = FirstFailure(std::move(written), input->Close());
  if (!written.ok()) return written;
  ChildRun run{{setup_.synthesiser, "-x", setup_.dictionary, "-m", setup_.voice, "-r", job.rate,
                "-ow", wavPath, "-ot", tracePath, inputPath},
               setup_.timeoutMs};
  run.stop = &stopping_;
  return RunChild(run);
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
  if (!Whole(made)) return FileStatus::Corrupt(setup_.synthesiser);
  made.sound = std::make_shared<const std::string>(std::move(wav));
  // The timings first: a WAV in the cache is only taken with timings that match it. What was
  // there is replaced, whatever it was.
  ClearWay(job.timingsPath(), true);
  ClearWay(made.wavPath, false);
  if (FileStatus kept = WriteFileBytes(job.timingsPath(), TimingsText(job.rate, made));
      !kept.ok()) {
    return kept;
  }
  if (FileStatus kept = files.Rename(wavPath, made.wavPath); !kept.ok()) return kept;
  recitation = std::move(made);
  return FileStatus::Ok(recitation.wavPath);
}

}  // namespace verselane
