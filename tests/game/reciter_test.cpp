// The reader's voice with stand-in synthesisers: small scripts that write what Open JTalk would
// (or fail, hang, write garbage), so that the cache, the timings and every failure are checked
// without the real one (tests/voice checks the real one).
#include "game/reciter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "fakes/temp_folder.h"

namespace verselane {
namespace {

// Reads the -r, -ow and -ot arguments as Open JTalk takes them and notes each run's rate.
constexpr const char* kArguments = R"(#!/bin/sh
here=$(dirname "$0")
while [ $# -gt 1 ]; do
  case "$1" in
    -r) rate=$2; shift ;;
    -ow) wav=$2; shift ;;
    -ot) trace=$2; shift ;;
  esac
  shift
done
echo "$rate" >> "$here/runs"
)";

// A PCM WAV file of `ms` milliseconds of silence, 16-bit mono at 48 kHz.
std::string Wav(int ms) {
  const std::uint32_t data = static_cast<std::uint32_t>(ms) * 96;
  auto le = [](std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xff);
    return text;
  };
  return "RIFF" + le(36 + data, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(48000, 4) +
         le(96000, 4) + le(2, 2) + le(16, 2) + "data" + le(data, 4) + std::string(data, '\0');
}

// A trace as Open JTalk writes it: the phonemes, each 100 ms long, after half a second of
// silence, and a pause between the lines.
std::string Trace(const std::string& phonemes) {
  std::ostringstream trace;
  trace << "[Text analysis result]\nx\n\n[Output label]\n";
  long long ms = 0;
  std::istringstream names("sil " + phonemes + " sil");
  for (std::string name; names >> name; ms += name == "sil" ? 500 : 100) {
    trace << ms * 10000 << ' ' << (ms + 100) * 10000 << " xx^xx-" << name << "+xx=xx/A:xx\n";
  }
  trace << "\n[Global parameter]\nSampring frequency -> 48000(Hz)\n";
  return trace.str();
}

// Poem 1's upper phrase as read: あきのたのー かりおのいおのー とまをあらーみー.
constexpr const char* kPoem1Upper =
    "a k i n o t a n o o pau k a r i o n o i o n o o pau t o m a o a r a a m i i";

class ReciterTest : public ::testing::Test {
 protected:
  ReciterTest() {
    ::mkdir(folder_.File("dic").c_str(), 0755);
    WriteBytes(folder_.File("dic/sys.dic"), "dictionary");
    WriteBytes(folder_.File("test_voice.htsvoice"), "voice");
    WriteBytes(folder_.File("sound.wav"), Wav(4000));
    WriteBytes(folder_.File("trace.txt"), Trace(kPoem1Upper));
    Synthesiser("cp \"$here/sound.wav\" \"$wav\"; cp \"$here/trace.txt\" \"$trace\"\n");
  }

  static VoiceSetup Setup(const TempFolder& folder) {
    VoiceSetup setup;
    setup.dictionary = folder.File("dic");
    setup.voice = folder.File("test_voice.htsvoice");
    setup.cacheFolder = folder.File("cache");
    setup.synthesiser = folder.File("open_jtalk");
    // The stand-ins take milliseconds, but run at a low priority: on a machine busy with builds
    // they can wait seconds for a core.
    setup.timeoutMs = 30000;
    return setup;
  }

  void Synthesiser(const std::string& body) {
    WriteBytes(setup_.synthesiser, kArguments + body);
    ::chmod(setup_.synthesiser.c_str(), 0755);
  }

  FileStatus Make(int poem, RecitedPart part, double speed = 1.0) {
    return reciter_.Make({poem, part, speed}, made_);
  }

  std::vector<std::string> Runs() const {
    std::istringstream runs(ReadBytes(folder_.File("runs")));
    std::vector<std::string> rates;
    for (std::string rate; runs >> rate;) rates.push_back(rate);
    return rates;
  }

  // The files a failed synthesis left in the cache: none, not even its temporary ones.
  std::vector<std::string> CacheFiles() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(setup_.cacheFolder, error)) {
      if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    }
    return names;
  }

  TempFolder folder_;
  VoiceSetup setup_ = Setup(folder_);
  PoemCatalogue catalogue_;
  Reciter reciter_{setup_, catalogue_};
  Recitation made_;
};

TEST_F(ReciterTest, RevealTimesFollowTheSaidKanaWhereTheShownSpellingDiffers) {
  ASSERT_EQ(Make(0, RecitedPart::kUpper),
            FileStatus::Ok(folder_.File("cache/test_voice-1.00/001-upper.wav")));
  EXPECT_EQ(made_.wavPath, folder_.File("cache/test_voice-1.00/001-upper.wav"));
  EXPECT_EQ(made_.lengthMs, 4000);
  // Shown あきのたのかりほのいおのとまをあらみ, read あきのたのー かりおのいおのー
  // とまをあらーみー: ほ is heard with the お said in its place, を with its お; the sounds held
  // and the pauses between the lines belong to no cell of their own.
  ASSERT_EQ(made_.cellStartMs.size(), 18u);
  EXPECT_EQ(made_.cellStartMs[0], 500);    // あ
  EXPECT_EQ(made_.cellStartMs[4], 1200);   // の, before its held o
  EXPECT_EQ(made_.cellStartMs[5], 1600);   // か, after the hold and the pause
  EXPECT_EQ(made_.cellStartMs[7], 2000);   // ほ, said お
  EXPECT_EQ(made_.cellStartMs[14], 3300);  // を, said お
  EXPECT_EQ(made_.cellStartMs[17], 3800);  // み, after the held a
}

TEST_F(ReciterTest, MadeOnceReusedRemadeForAnotherSpeedOrADamagedWav) {
  ASSERT_TRUE(Make(0, RecitedPart::kUpper).ok());
  const Recitation first = made_;
  made_ = {};
  ASSERT_TRUE(Make(0, RecitedPart::kUpper).ok());
  EXPECT_EQ(made_.wavPath, first.wavPath);
  EXPECT_EQ(made_.cellStartMs, first.cellStartMs);
  EXPECT_EQ(Runs(), std::vector<std::string>{"0.88"});

  ASSERT_TRUE(Make(0, RecitedPart::kUpper, 1.25).ok());
  EXPECT_EQ(made_.wavPath, folder_.File("cache/test_voice-1.25/001-upper.wav"));
  EXPECT_EQ(Runs(), (std::vector<std::string>{"0.88", "1.10"}));

  const std::string sound = ReadBytes(first.wavPath);
  const std::string damaged[] = {sound.substr(0, sound.size() / 2), "RIFX" + sound.substr(4),
                                 sound + "more", ""};
  for (const std::string& bytes : damaged) {
    WriteBytes(first.wavPath, bytes);
    ASSERT_TRUE(Make(0, RecitedPart::kUpper).ok());
    EXPECT_EQ(ReadBytes(first.wavPath), sound);
  }
  EXPECT_EQ(Runs().size(), 6u);
}

TEST_F(ReciterTest, FailingSynthesisersLeaveNothingInTheCache) {
  struct Case {
    const char* body;
    FileStatus::Code code;
  };
  const Case cases[] = {
      {"exit 3\n", FileStatus::Code::kIoError},
      {"echo garbage > \"$wav\"; cp \"$here/trace.txt\" \"$trace\"\n", FileStatus::Code::kCorrupt},
      {": > \"$wav\"; cp \"$here/trace.txt\" \"$trace\"\n", FileStatus::Code::kCorrupt},
      {"cp \"$here/sound.wav\" \"$wav\"; echo nonsense > \"$trace\"\n", FileStatus::Code::kCorrupt},
      {"exit 0\n", FileStatus::Code::kCorrupt},
  };
  for (const Case& c : cases) {
    Synthesiser(c.body);
    made_ = {};
    EXPECT_EQ(Make(4, RecitedPart::kPoet).code(), c.code) << c.body;
    EXPECT_EQ(made_.wavPath, "") << c.body;
    EXPECT_EQ(CacheFiles(), std::vector<std::string>{}) << c.body;
  }
}

// A synthesis or a cache write cut short by the program's end leaves its temporary files: the
// next recitation asked of that folder removes those of processes gone, and only those.
TEST_F(ReciterTest, WhatASynthesisCutShortLeftIsRemovedOnceItsProcessIsGone) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const std::string folder = folder_.File("cache/test_voice-1.00");
  std::filesystem::create_directories(folder);
  const std::string dead = std::to_string(gone);
  const std::string alive = std::to_string(::getppid());
  const std::vector<std::string> leftovers = {
      ".077-upper.wav." + dead + "-0", ".077-upper.trace." + dead + "-0",
      ".opening-lower.txt." + dead + "-0", ".077-upper.times." + dead + "-3",
      "..077-upper." + dead + ".txt." + dead + "-0"};
  const std::vector<std::string> kept = {".012-poet.wav." + alive + "-0", ".notes." + dead + ".md",
                                         "a.wav." + dead + "-0", ".77-upper.x1-0"};
  for (const std::string& name : leftovers) WriteBytes(folder + "/" + name, "left");
  for (const std::string& name : kept) WriteBytes(folder + "/" + name, "kept");
  ASSERT_TRUE(Make(0, RecitedPart::kUpper).ok());
  for (const std::string& name : leftovers) {
    EXPECT_FALSE(std::filesystem::exists(folder + "/" + name)) << name;
  }
  for (const std::string& name : kept) {
    EXPECT_TRUE(std::filesystem::exists(folder + "/" + name)) << name;
  }
}

// Whatever stands in the cache is checked against what it must be, and what is not is made
// again in its place: times beyond the recording, a header that lies about the sound's length,
// a recording made at another pace, and what is no file at all.
TEST_F(ReciterTest, HostileCacheContentIsMadeAgain) {
  ASSERT_TRUE(Make(0, RecitedPart::kUpper).ok());
  const Recitation good = made_;
  const std::string wav = good.wavPath;
  const std::string times = folder_.File("cache/test_voice-1.00/001-upper.times");
  const std::string sound = ReadBytes(wav);
  const std::string goodTimes = ReadBytes(times);
  std::string lyingHeader = sound;
  lyingHeader.replace(28, 4, std::string("\x01\0\0\0", 4));  // a byte rate of 1
  // The good timings with another length, and other cells when given.
  const auto timesSaying = [&](const std::string& length, const std::string& cells) {
    std::istringstream lines(goodTimes);
    std::string text;
    for (std::string line; std::getline(lines, line);) {
      const bool last = lines.peek() == EOF;
      text += (line == "4000" ? length : last && !cells.empty() ? cells : line) + "\n";
    }
    return text;
  };
  std::string cellsBeyond;
  for (int n = 0; n < 18; ++n) cellsBeyond += (n == 0 ? "" : " ") + std::to_string(3000 + n * 100);
  struct Case {
    const char* what;
    std::function<void()> spoil;
  };
  const Case cases[] = {
      {"times beyond the recording", [&] { WriteBytes(times, timesSaying("4000", cellsBeyond)); }},
      {"a byte rate of 1",
       [&] {
         WriteBytes(wav, lyingHeader);
         WriteBytes(times, timesSaying(std::to_string((sound.size() - 44) * 1000), ""));
       }},
      {"timings a FIFO",
       [&] {
         std::filesystem::remove(times);
         ::mkfifo(times.c_str(), 0600);
       }},
      {"timings a folder",
       [&] {
         std::filesystem::remove(times);
         std::filesystem::create_directories(times + "/inside");
       }},
      {"timings a device", [&] {
         std::filesystem::remove(times);
         std::filesystem::create_symlink("/dev/zero", times);
       }},
      {"the recording a folder", [&] {
         std::filesystem::remove(wav);
         std::filesystem::create_directories(wav + "/inside");
       }},
  };
  for (const Case& c : cases) {
    c.spoil();
    made_ = {};
    const std::size_t runs = Runs().size();
    EXPECT_EQ(Make(0, RecitedPart::kUpper), FileStatus::Ok(wav)) << c.what;
    EXPECT_EQ(Runs().size(), runs + 1) << c.what;
    EXPECT_EQ(made_.cellStartMs, good.cellStartMs) << c.what;
    EXPECT_EQ(made_.lengthMs, 4000) << c.what;
    ASSERT_TRUE(std::filesystem::is_regular_file(times) && std::filesystem::is_regular_file(wav))
        << c.what;
    EXPECT_EQ(ReadBytes(times), goodTimes) << c.what;
    EXPECT_EQ(ReadBytes(wav), sound) << c.what;
  }
  // The same recording in the folder of another pace was not made at that pace.
  const std::string faster = folder_.File("cache/test_voice-1.25");
  std::filesystem::create_directories(faster);
  std::filesystem::copy_file(wav, faster + "/001-upper.wav");
  std::filesystem::copy_file(times, faster + "/001-upper.times");
  ASSERT_TRUE(Make(0, RecitedPart::kUpper, 1.25).ok());
  EXPECT_EQ(Runs().back(), "1.10");
}

TEST_F(ReciterTest, AMissingSynthesiserDictionaryOrVoiceIsNamed) {
  EXPECT_TRUE(reciter_.Installed());
  const std::string voice = setup_.voice;
  std::filesystem::rename(voice, voice + ".gone");
  EXPECT_FALSE(reciter_.Installed());
  EXPECT_EQ(Make(0, RecitedPart::kUpper), FileStatus::NotFound(voice));
  std::filesystem::rename(voice + ".gone", voice);

  std::filesystem::rename(setup_.synthesiser, folder_.File("elsewhere"));
  EXPECT_FALSE(reciter_.Installed());
  EXPECT_EQ(Make(0, RecitedPart::kUpper), FileStatus::NotFound(setup_.synthesiser));

  VoiceSetup onPath = setup_;
  onPath.synthesiser = "verselane-no-such-synthesiser";
  EXPECT_FALSE(Reciter(onPath, catalogue_).Installed());
  EXPECT_EQ(Runs(), std::vector<std::string>{});
}

// Running or stopped, but not a zombie and not gone: the process is still there.
bool StillRunning(const std::string& pid) {
  std::ifstream stat("/proc/" + pid + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const std::size_t close = line.rfind(')');
  return close != std::string::npos && line.size() > close + 2 && line[close + 2] != 'Z';
}

// Whether the process is still there once a killed process has had time to die: a process the
// synthesiser started is signalled with its group but is not ours to reap, so it dies on its own
// time, a moment later on a busy machine.
bool OutlivesItsKill(const std::string& pid) {
  for (int tries = 0; tries < 100 && StillRunning(pid); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return StillRunning(pid);
}

// The pids the synthesiser wrote, once it has written `count`.
std::vector<std::string> AwaitPids(const std::string& file, std::size_t count) {
  std::vector<std::string> pids;
  for (int tries = 0; tries < 1000 && pids.size() < count; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    pids.clear();
    std::istringstream written(ReadBytes(file));
    for (std::string pid; written >> pid;) pids.push_back(pid);
  }
  return pids;
}

// A synthesiser that starts a process in a session of its own and hangs: stopped by the program
// at its end, or left when the program is killed, it goes with all it started; one that ends on
// its own takes what it started with it.
TEST_F(ReciterTest, NoProcessTheSynthesiserStartedOutlivesTheProgram) {
  const std::string escape =
      "setsid sleep 60 & echo $! >> \"$here/pids\"; echo $$ >> \"$here/pids\"\n";
  const std::string pidsFile = folder_.File("pids");

  Synthesiser(escape + "cp \"$here/sound.wav\" \"$wav\"; cp \"$here/trace.txt\" \"$trace\"\n");
  EXPECT_TRUE(reciter_.Make({1, RecitedPart::kUpper, 1.0}, made_).ok());
  for (const std::string& pid : AwaitPids(pidsFile, 2)) EXPECT_FALSE(OutlivesItsKill(pid)) << pid;

  Synthesiser(escape + "sleep 60\n");
  std::filesystem::remove(pidsFile);
  std::thread quitting([&] {
    AwaitPids(pidsFile, 2);
    reciter_.Stop();
  });
  EXPECT_EQ(reciter_.Make({2, RecitedPart::kUpper, 1.0}, made_),
            FileStatus::IoError(setup_.synthesiser))
      << "stopped at once, not left to its time-out";
  quitting.join();
  for (const std::string& pid : AwaitPids(pidsFile, 2)) EXPECT_FALSE(OutlivesItsKill(pid)) << pid;

  std::filesystem::remove(pidsFile);
  const pid_t program = ::fork();
  if (program == 0) {
    Recitation made;
    static_cast<void>(Reciter(setup_, catalogue_).Make({3, RecitedPart::kUpper, 1.0}, made));
    ::_exit(0);
  }
  ASSERT_GT(program, 0);
  const std::vector<std::string> started = AwaitPids(pidsFile, 2);
  ASSERT_EQ(started.size(), 2u);
  ::kill(program, SIGKILL);
  ASSERT_EQ(::waitpid(program, nullptr, 0), program);
  for (const std::string& pid : started) EXPECT_FALSE(OutlivesItsKill(pid)) << pid;
}

TEST_F(ReciterTest, AHangingSynthesiserIsKilledWithWhatItStarted) {
  Synthesiser("sleep 60 & echo $! >> \"$here/pids\"; echo $$ >> \"$here/pids\"; sleep 60\n");
  setup_.timeoutMs = 1000;
  EXPECT_EQ(Reciter(setup_, catalogue_).Make({0, RecitedPart::kUpper, 1.0}, made_),
            FileStatus::TimedOut(setup_.synthesiser));
  std::istringstream pids(ReadBytes(folder_.File("pids")));
  int count = 0;
  for (std::string pid; pids >> pid; ++count) EXPECT_FALSE(OutlivesItsKill(pid)) << pid;
  EXPECT_EQ(count, 2);
  EXPECT_EQ(CacheFiles(), std::vector<std::string>{});
}

}  // namespace
}  // namespace verselane
