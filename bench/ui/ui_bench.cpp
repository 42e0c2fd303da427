// The window layer's share of a 50 ms tick, on a real X display (run under xvfb-run): one whole
// frame drawn into the back buffer and shown in the window, a question frame with its prompt, a
// pop-up whose text has to be fitted, and the idle tick that draws nothing; a question frame at
// 200 % too.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/verselane-ui-bench
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/modalhook.h>

#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "game/frame.h"
#include "ui/program.h"

namespace verselane {
namespace {

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

// The first-start notices are answered at once.
class AnswerEveryDialog : public wxModalDialogHook {
 protected:
  int Enter(wxDialog*) override { return wxID_OK; }
  void Exit(wxDialog*) override {}
};

// Dispatches what is pending, the view's paint included.
void DispatchPending() {
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  while (loop->Pending()) loop->Dispatch();
}

// The program, started once for all benchmarks.
struct Bench {
  FakeSound sound;
  FakeDialogs dialogs;
  std::unique_ptr<Program> program;

  // `dataFolder` holds the env.ini and record.dat the start-up writes, and the preferences.
  explicit Bench(const std::string& dataFolder) {
    ProgramOptions options;
    options.singleInstance = false;
    options.preferencesPath = dataFolder + "/verselane.conf";
    options.dataFolder = dataFolder;
    options.dialogs = &dialogs;
    program = std::make_unique<Program>(sound, options);
    if (!program->Start()) std::abort();
    for (int i = 0; i < 50; ++i) {
      DispatchPending();
      wxMilliSleep(2);
    }
  }
};

Bench* bench = nullptr;

int Presents() { return bench->program->surface().presents(); }

GameFrame QuestionFrame() {
  GameFrame frame;
  frame.playState = PlayState::Running;
  frame.promptShown = true;
  frame.prompt = SjisLiteral("あきのたのかりほ");
  frame.reveal = 8;
  frame.score = 12340;
  frame.correctRate = 87;
  frame.correctCount = 13;
  frame.askedCount = 15;
  frame.clock = {0, 3, 27};
  frame.markerShown = true;
  frame.markerFrame = 2;
  frame.timeBarWidth = 211;
  return frame;
}

// One whole frame: drawn into the back buffer and shown in the window.
void BM_IdleFrameDrawnAndShown(benchmark::State& state) {
  const GameFrame frame;
  for (auto _ : state) {
    const int before = Presents();
    if (!bench->program->screen().DrawFrame(frame)) state.SkipWithError("frame failed");
    DispatchPending();
    if (Presents() == before) state.SkipWithError("the window was not shown the frame");
  }
}
BENCHMARK(BM_IdleFrameDrawnAndShown)->Unit(benchmark::kMicrosecond);

void BM_QuestionFrameDrawnAndShown(benchmark::State& state) {
  GameFrame frame = QuestionFrame();
  int width = 302;
  for (auto _ : state) {
    frame.timeBarWidth = width = width == 0 ? 302 : width - 1;  // the bar runs down
    if (!bench->program->screen().DrawFrame(frame)) state.SkipWithError("frame failed");
    DispatchPending();
  }
}
BENCHMARK(BM_QuestionFrameDrawnAndShown)->Unit(benchmark::kMicrosecond);

// The same at 200 %: four times the pixels, the pictures drawn at twice the size, text at twice
// the height. (On a desktop of GDK_SCALE=2 every benchmark here draws at that scale too.)
void BM_QuestionFrameDrawnAndShownAt200(benchmark::State& state) {
  bench->program->window().SetZoom(200);
  DispatchPending();
  BM_QuestionFrameDrawnAndShown(state);
  bench->program->window().SetZoom(100);
  DispatchPending();
}
BENCHMARK(BM_QuestionFrameDrawnAndShownAt200)->Unit(benchmark::kMicrosecond);

// Only into the back buffer: the drawing without the window.
// Draws `frame` into the back buffer once per iteration.
void DrawEachIteration(benchmark::State& state, const GameFrame& frame) {
  Canvas& canvas = bench->program->canvas();
  for (auto _ : state) {
    canvas.OpenDrawing();
    if (!bench->program->screen().Draw(frame)) state.SkipWithError("frame failed");
    canvas.CloseDrawing();
  }
}

// A wrong answer's reading, too wide for its box at its own height, as the pop-up fades in.
GameFrame FittedPopupFrame() {
  GameFrame frame = QuestionFrame();
  frame.markerShown = false;
  frame.popupShown = true;
  frame.popupFrame = 10;
  frame.popupFont = PopupFont::kReading;
  frame.popupColour = {200, 100, 100};
  frame.popupText = SjisLiteral("いずこもおなじあきのゆうぐれ");
  return frame;
}

void BM_QuestionFrameIntoBackBuffer(benchmark::State& state) {
  DrawEachIteration(state, QuestionFrame());
}
BENCHMARK(BM_QuestionFrameIntoBackBuffer)->Unit(benchmark::kMicrosecond);

void BM_QuestionFrameIntoBackBufferAt200(benchmark::State& state) {
  bench->program->window().SetZoom(200);
  DispatchPending();
  DrawEachIteration(state, QuestionFrame());
  bench->program->window().SetZoom(100);
  DispatchPending();
}
BENCHMARK(BM_QuestionFrameIntoBackBufferAt200)->Unit(benchmark::kMicrosecond);

void BM_FittedPopupFrame(benchmark::State& state) { DrawEachIteration(state, FittedPopupFrame()); }
BENCHMARK(BM_FittedPopupFrame)->Unit(benchmark::kMicrosecond);

// The same miss with the answer given over the phrase as written and the reading, the longest
// answer, marked from its middle, and the phrase as written marked too: three lines in two fonts
// each, the answer's shrunk to fit its box.
void BM_MissFrameWithTheAnswerMarked(benchmark::State& state) {
  GameFrame frame = FittedPopupFrame();
  frame.missShown = true;
  frame.missText = SjisLiteral("入力：いずこもおなじあきのかぜのおとにぞおどろかれぬる");
  frame.missMarkFrom = SjisLiteral("入力：いずこもおなじあきの").size();
  frame.missWritten = SjisLiteral("いづこも同じ秋の夕暮");
  frame.missWrittenMarkFrom = SjisLiteral("いづこも同じ秋の").size();
  frame.missReadingMarkFrom = frame.popupText.size();
  frame.missColour = {100, 100, 100};
  frame.missMarkColour = {190, 20, 20};
  DrawEachIteration(state, frame);
}
BENCHMARK(BM_MissFrameWithTheAnswerMarked)->Unit(benchmark::kMicrosecond);

// A timer tick at Idle: the clocks, the phase step and the frame check, nothing drawn.
void BM_IdleTickWithoutRedraw(benchmark::State& state) {
  GameController& game = bench->program->game();
  game.Tick();  // settle: the first tick may still owe a frame
  const int before = Presents();
  for (auto _ : state) benchmark::DoNotOptimize(game.Tick());
  DispatchPending();
  if (Presents() != before) state.SkipWithError("an idle tick redrew");
}
BENCHMARK(BM_IdleTickWithoutRedraw);

}  // namespace
}  // namespace verselane

wxIMPLEMENT_APP_NO_MAIN(verselane::BenchApp);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  char folder[] = "/tmp/verselane-ui-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  setenv("XDG_RUNTIME_DIR", folder, 1);
  setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
  wxApp::SetInstance(new verselane::BenchApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    fprintf(stderr, "the window benchmarks need an X display (run them under xvfb-run)\n");
    return 1;
  }
  {
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    verselane::AnswerEveryDialog answer;
    answer.Register();
    verselane::bench = new verselane::Bench(folder);
    benchmark::RunSpecifiedBenchmarks();
    verselane::bench->program->window().frame()->Destroy();
    delete verselane::bench;
    answer.Unregister();
  }
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::filesystem::remove_all(folder);
  return 0;
}
