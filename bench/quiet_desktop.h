// A desktop for the engine's benchmarks: every port of the game, doing nothing.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/notices.h"
#include "game/desktop_ports.h"
#include "game/frame.h"

namespace verselane {

// A desktop that does nothing, keeps no history, says Yes and counts the frames it is asked to
// draw.
class QuietDesktop : public AnswerBoxControlPort, public SoundPort, public InputMethodPort,
                     public MainWindowPort, public PromptPort, public NoticePort,
                     public DialogPort, public ScreenPort, public PreferencesPort,
                     public HistoryPort, public VoicePort {
 public:
  std::string ReadText() override { return {}; }
  void Clear() override {}
  void Show() override {}
  void Hide() override {}
  bool IsVisible() const override { return false; }
  void Focus() override {}
  void Play(SoundId) override {}
  void RequestOpen() override {}
  bool OffersJapanese() override { return true; }
  void SetHint(const std::string&) override {}
  void SetRomajiInput(bool) override {}
  void SetMenuItemChecked(int, bool) override {}
  void SetMenuItemLabel(int, const std::string&) override {}
  void SetZoom(int) override {}
  void Save(const Preferences&) override {}
  void SetMenuItemEnabled(int, bool) override {}
  void Destroy() override {}
  bool Confirm(const std::string&, const std::string&) override { return true; }
  void ShowNotice(const std::string&, const std::string&, NoticeIcon) override {}
  void OpenResults(const RunFigures&, std::function<void(bool)>) override {}
  void OpenSettings() override {}
  void OpenRecordList() override {}
  void OpenMastery(const HistoryOutlook&) override {}
  void OpenAbout() override {}
  void ShowHelp() override {}
  bool EditPlanSettings(PlanSettings&) override { return false; }
  void OpenMeeting(const PoemCard&, std::function<void()> closed) override { closed(); }
  void RecordAnswer(const AnswerRecord&) override {}
  void RecordRun(const RunRecord&) override {}
  bool HasAnswers() const override { return false; }
  HistoryOutlook Outlook() override { return {}; }
  std::optional<KeptMemory> Memory() override { return std::nullopt; }
  void ReportWriteFailure() override {}
  bool Installed() override { return false; }
  void Prepare(std::vector<RecitationRequest>) override {}
  std::optional<Recitation> Ready(const RecitationRequest&) override { return std::nullopt; }
  void Play(const Recitation&) override {}
  void Stop() override {}
  bool Failed() override { return false; }
  void ReportFailure() override {}
  bool DrawFrame(const GameFrame& frame) override {
    benchmark::DoNotOptimize(frame.timeBarWidth);
    ++draws;
    return true;
  }

  long long draws = 0;
};

}  // namespace verselane
