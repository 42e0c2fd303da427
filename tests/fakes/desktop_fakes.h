// Small stand-ins for the desktop, for driving the game without a display.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fakes/file_fakes.h"
#include "game/answer_recorder.h"
#include "game/desktop_ports.h"
#include "game/frame.h"
#include "game/poem_card.h"
#include "records/run_figures.h"
#include "settings/preferences.h"
#include "base/random_source.h"

namespace verselane {

class FakeAnswerBox : public AnswerBoxControlPort {
 public:
  std::string ReadText() override { return text; }
  void Clear() override { text.clear(); }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool IsVisible() const override { return visible; }
  void Focus() override { ++focusCount; }
  void SetHint(const std::string& text) override { hint = text; }
  void SetRomajiInput(bool on) override { romaji = on; }

  std::string text;  // CP932
  bool visible = false;
  int focusCount = 0;
  std::string hint;
  bool romaji = false;
};

class FakeSound : public SoundPort {
 public:
  void Prepare() override { ++prepared; }
  void Play(SoundId sound) override { played.push_back(sound); }
  std::vector<SoundId> played;
  int prepared = 0;
};

// Recitations are ready once a test puts them in `ready`, keyed by poem and part.
class FakeVoice : public VoicePort {
 public:
  using Key = std::pair<int, RecitedPart>;
  bool Installed() override { return installed; }
  void Prepare(std::vector<RecitationRequest> list) override {
    requests = std::move(list);
    ++prepared;
    failed = false;
  }
  std::optional<Recitation> Ready(const RecitationRequest& request) override {
    const auto found = ready.find({request.poem, request.part});
    if (found == ready.end()) return std::nullopt;
    return found->second;
  }
  void Play(const Recitation& recitation) override { played.push_back(recitation.wavPath); }
  void Stop() override { ++stops; }
  bool Failed() override { return failed; }
  void ReportFailure() override { ++failureReports; }

  bool installed = true;
  std::map<Key, Recitation> ready;
  std::vector<RecitationRequest> requests;  // the last list to prepare
  int prepared = 0;
  std::vector<std::string> played;  // the WAVs played, in turn
  int stops = 0;
  bool failed = false;
  int failureReports = 0;
};

class FakeInputMethod : public InputMethodPort {
 public:
  void RequestOpen() override { ++openRequests; }
  bool OffersJapanese() override {
    ++japaneseAsked;
    return japanese;
  }
  int openRequests = 0;
  bool japanese = true;
  int japaneseAsked = 0;
};

class FakeMainWindow : public MainWindowPort {
 public:
  void SetMenuItemEnabled(int command, bool enabled) override { menuEnabled[command] = enabled; }
  void SetMenuItemChecked(int command, bool checked) override { menuChecked[command] = checked; }
  void SetMenuItemLabel(int command, const std::string& label) override {
    menuLabel[command] = label;
  }
  void Destroy() override { destroyed = true; }
  void SetZoom(int percent) override { zoomPercent = percent; }
  bool Enabled(int command) const { return menuEnabled.at(command); }

  std::map<int, bool> menuEnabled;
  std::map<int, bool> menuChecked;
  std::map<int, std::string> menuLabel;  // CP932
  bool destroyed = false;
  int zoomPercent = 100;
};

// Answers every question with `answer`, the default button (No) unless a test says otherwise;
// `whileAsking` runs inside the question, as timer ticks do in a real message box.
class FakePrompts : public PromptPort {
 public:
  struct Question {
    std::string text;  // CP932
    std::string caption;
  };
  bool Confirm(const std::string& text, const std::string& caption) override {
    asked.push_back({text, caption});
    if (whileAsking) whileAsking();
    return answer;
  }
  bool answer = false;
  std::function<void()> whileAsking;
  std::vector<Question> asked;
};

// Counts the dialogs opened; `whileResultsOpen` runs inside the results dialog's modal loop.
class FakeDialogs : public DialogPort {
 public:
  void OpenResults(const RunFigures& run, std::function<void(bool)> closed) override {
    ++results;
    lastRun = run;
    lastClosed = std::move(closed);
    if (whileResultsOpen) whileResultsOpen();
  }
  void OpenSettings() override { ++settings; }
  void OpenRecordList() override { ++recordList; }
  void OpenMastery(const HistoryOutlook&) override { ++mastery; }
  void OpenAbout() override { ++about; }
  void ShowHelp() override { ++help; }
  bool EditPlanSettings(PlanSettings& settings) override {
    ++planSettings;
    if (!planSettingsChosen) return false;
    settings = *planSettingsChosen;
    return true;
  }

  // A card met is closed at once, as by Enter, unless `holdMeeting` is set: then `closeMeeting`
  // closes it.
  void OpenMeeting(const PoemCard& card, std::function<void()> closed) override {
    met.push_back(card);
    closeMeeting = std::move(closed);
    if (!holdMeeting) closeMeeting();
  }

  std::function<void()> whileResultsOpen;
  std::vector<PoemCard> met;
  bool holdMeeting = false;
  std::function<void()> closeMeeting;
  RunFigures lastRun;  // what the last results were opened with
  std::function<void(bool retry)> lastClosed;  // what they call as they close
  int results = 0;
  int settings = 0;
  int recordList = 0;
  int mastery = 0;
  int about = 0;
  int help = 0;
  int planSettings = 0;
  std::optional<PlanSettings> planSettingsChosen;  // what the player sets; nothing: Cancel
};

// Keeps the last frame drawn; fails its draws while `failing` is set.
class FakeScreen : public ScreenPort {
 public:
  bool DrawFrame(const GameFrame& frame) override {
    if (failing) return false;
    ++draws;
    last = frame;
    return true;
  }
  GameFrame last;
  int draws = 0;
  bool failing = false;
};

class FakePreferencesStore : public PreferencesPort {
 public:
  void Save(const Preferences& preferences) override { saved.push_back(preferences); }
  std::vector<Preferences> saved;
};

// Keeps the answers and runs in memory, stamped with `now`, which a test may move on.
class FakeHistory : public HistoryPort {
 public:
  // Stamped as the program's history stamps them.
  void RecordAnswer(const AnswerRecord& answer) override {
    answers.push_back(answer);
    answers.back().answeredAt = now;
    answers.back().localTime = localTime;
  }
  void RecordRun(const RunRecord& run) override {
    runs.push_back(run);
    runs.back().finishedAt = now;
  }
  bool HasAnswers() const override { return !answers.empty(); }
  HistorySnapshot Snapshot() const {
    if (!readable) return {{}, {}, now, {}, false};
    return {SummarisePoems(answers), runs, now, answers, true};
  }
  // Replayed from the answers, as the program's history keeps them.
  HistoryOutlook Outlook() override { return OutlookOf(Snapshot()); }
  // The memory after the answers as recorded, each stamped with `localTime`.
  std::optional<KeptMemory> Memory() override {
    if (!readable) return std::nullopt;
    return KeptMemory{ReplayAnswers(answers), localTime};
  }
  void ReportWriteFailure() override { ++failureReports; }

  std::vector<AnswerRecord> answers;
  std::vector<RunRecord> runs;
  std::int64_t now = 1'800'000'000;
  bool readable = true;  // false: the history cannot be read
  std::string localTime = "2027-01-15 12:00:00";  // of `now`, as the plan reads it
  int failureReports = 0;
};

// The history before the program opens its file: keeps nothing and holds no answers.
class NoHistory : public HistoryPort {
 public:
  void RecordAnswer(const AnswerRecord&) override {}
  void RecordRun(const RunRecord&) override {}
  bool HasAnswers() const override { return false; }
  HistoryOutlook Outlook() override { return {}; }
  std::optional<KeptMemory> Memory() override { return std::nullopt; }
  void ReportWriteFailure() override {}
};

// The whole desktop as fakes.
struct FakeDesktop {
  FakeDesktop() = default;
  FakeDesktop(const FakeDesktop&) = delete;
  FakeDesktop& operator=(const FakeDesktop&) = delete;

  FakeAnswerBox answerBox;
  FakeSound sound;
  FakeVoice voice;
  FakeInputMethod inputMethod;
  FakeMainWindow window;
  FakePrompts prompts;
  FakeNotices notices;
  FakeDialogs dialogs;
  FakeScreen screen;
  FakePreferencesStore preferences;
};

// Returns the given numbers in turn (reduced below the bound), repeating the last one.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<std::uint32_t> numbers) : numbers_(std::move(numbers)) {}
  std::uint32_t Below(std::uint32_t bound) override {
    const std::uint32_t n = numbers_[next_ < numbers_.size() ? next_++ : numbers_.size() - 1];
    return n % bound;
  }

 private:
  std::vector<std::uint32_t> numbers_;
  std::size_t next_ = 0;
};

// A repeatable stream of random numbers.
class SeededRandom : public RandomSource {
 public:
  explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t Below(std::uint32_t bound) override {
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(engine_);
  }

 private:
  std::mt19937 engine_;
};

}  // namespace verselane
