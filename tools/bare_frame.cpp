// The floor under Verselane's figures: the least wxWidgets program with the same window, so that
// tools/measure-performance can tell what the game itself costs from what GTK, wxWidgets and the
// X server cost any program. A fixed frame with the same menu bar over a 400 x 150 view that
// paints a 400 x 150 back buffer from its paint handler, as Verselane does, and a 50 ms timer
// whose handler does nothing. No game, no fonts of its own, no answer line, no sound.
//
//   bare-frame            shows the window (title " Bare frame") until it is closed or killed
//   bare-frame --entry ZOOM
//                         the same window ZOOM times its size (1 or 2) with a plain text entry
//                         where Verselane's answer line is, of the same place, font and colours,
//                         focused; Enter empties it. The floor under the keystroke-to-glyph
//                         figures of tools/measure-latency.
//   bare-frame --bench R N
//                         shows the window, then prints R repetitions of three timings, one line
//                         each, with the wall and the process CPU time per iteration:
//                         "paint REP WALL CPU" in microseconds (N back-buffer paints through the
//                         paint handler), "clientdc REP WALL CPU" in microseconds (N copies of
//                         the back buffer through a wxClientDC) and "timer REP WALL CPU" in
//                         nanoseconds (100 * N timer events dispatched to the empty handler).
//
// Built by tools/measure-performance with g++ and `wx-config --cxxflags --libs`.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <time.h>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 150;
constexpr int kTimerId = 1;
constexpr int kTimerPeriodMs = 50;

wxString U8(const char* text) { return wxString::FromUTF8(text); }

// Verselane's menu texts: Japanese labels make Pango load a CJK font for the menu bar, a cost
// every Japanese program of this shape pays, so the floor pays it too.
wxMenuBar* MenuBar() {
  auto* game = new wxMenu;
  game->Append(wxID_HIGHEST + 1, U8("始める(&S)         \tCtrl+S"));
  game->Append(wxID_HIGHEST + 2, U8("一時停止する(&P)\tCtrl+P"));
  game->Append(wxID_HIGHEST + 3, U8("最初からやり直す(&R)\tCtrl+R"));
  game->AppendSeparator();
  game->Append(wxID_HIGHEST + 4, U8("終了する(&E)\tCtrl+E"));
  auto* options = new wxMenu;
  options->Append(wxID_HIGHEST + 5, U8("環境を設定する(&E)"));
  options->Append(wxID_HIGHEST + 6, U8("記録を見る(&R)"));
  auto* help = new wxMenu;
  help->Append(wxID_HIGHEST + 7, U8("ヘルプを見る(&H)"));
  help->Append(wxID_HIGHEST + 8, U8("バージョン情報を見る(&V)"));
  auto* bar = new wxMenuBar;
  bar->Append(game, U8("ゲーム(&G)"));
  bar->Append(options, U8("オプション(&O)"));
  bar->Append(help, U8("ヘルプ(&H)"));
  return bar;
}

class View : public wxWindow {
 public:
  View(wxWindow* parent, const wxBitmap& buffer, int zoom)
      : wxWindow(parent, wxID_ANY, wxPoint(0, 0), wxSize(kClientWidth * zoom, kClientHeight * zoom),
                 wxWANTS_CHARS | wxBORDER_NONE),
        buffer_(buffer) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
      wxPaintDC dc(this);
      dc.DrawBitmap(buffer_, 0, 0, false);
      ++paints;
    });
  }
  long paints = 0;

 private:
  const wxBitmap& buffer_;
};

// A font whose cell (ascent + descent) is `pixels` high, as Verselane sizes its answer line's.
wxFont FontWithCellHeight(const wxString& face, double pixels) {
  constexpr double kReference = 100.0;
  wxBitmap scratch(1, 1);
  wxMemoryDC dc(scratch);
  dc.SetFont(wxFont(wxFontInfo(kReference).FaceName(face)));
  const wxFontMetrics metrics = dc.GetFontMetrics();
  return wxFont(wxFontInfo(kReference * (pixels - 1.2) / (metrics.ascent + metrics.descent))
                    .FaceName(face));
}

// Verselane's answer line: its place in the 400 x 150 view, font height and colours.
wxTextCtrl* AnswerEntry(wxWindow* parent, int zoom) {
  auto* entry = new wxTextCtrl(parent, wxID_ANY, wxString(), wxPoint(76 * zoom, 60 * zoom),
                               wxSize(308 * zoom, 28 * zoom), wxTE_PROCESS_ENTER | wxBORDER_NONE);
  entry->SetFont(FontWithCellHeight("IPAexGothic", 20.0 * zoom));
  entry->SetForegroundColour(wxColour(100, 100, 100));
  entry->SetBackgroundColour(*wxWHITE);
  entry->Bind(wxEVT_TEXT_ENTER, [entry](wxCommandEvent&) { entry->ChangeValue(wxString()); });
  return entry;
}

class Frame : public wxFrame {
 public:
  explicit Frame(int zoom = 1)
      : wxFrame(nullptr, wxID_ANY, " Bare frame", wxDefaultPosition, wxDefaultSize,
                wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX)),
        buffer_(kClientWidth * zoom, kClientHeight * zoom, 24),
        timer_(this, kTimerId) {
    {
      // Not one flat colour, so that nothing along the way can take a short cut.
      wxMemoryDC dc(buffer_);
      for (int x = 0; x < kClientWidth * zoom; ++x) {
        dc.SetPen(wxPen(wxColour(x % 256, (x * 3) % 256, 128)));
        dc.DrawLine(x, 0, x, kClientHeight * zoom);
      }
    }
    SetMenuBar(MenuBar());
    view_ = new View(this, buffer_, zoom);
    SetClientSize(kClientWidth * zoom, kClientHeight * zoom);
    SetMinSize(GetSize());
    SetMaxSize(GetSize());
    Centre(wxBOTH);
    Bind(wxEVT_TIMER, [](wxTimerEvent&) {}, kTimerId);
  }

  bool StartTimer() { return timer_.Start(kTimerPeriodMs); }
  View& view() { return *view_; }
  const wxBitmap& buffer() const { return buffer_; }
  wxTimer& timer() { return timer_; }

 private:
  wxBitmap buffer_;
  wxTimer timer_;
  View* view_ = nullptr;
};

void DispatchPending() {
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  while (loop != nullptr && loop->Pending()) loop->Dispatch();
}

// Wall and process CPU time together, as Google Benchmark reports its real and CPU times.
struct Stamp {
  double wall;
  double cpu;
};

Stamp Now() {
  timespec cpu{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  const auto wall = std::chrono::steady_clock::now().time_since_epoch();
  return {std::chrono::duration<double>(wall).count(),
          static_cast<double>(cpu.tv_sec) + 1e-9 * static_cast<double>(cpu.tv_nsec)};
}

// One line: the name, the repetition, then wall and CPU time per iteration in `scale` units.
void Report(const char* name, int rep, const Stamp& start, long iterations, double scale) {
  const Stamp end = Now();
  const double n = static_cast<double>(iterations);
  std::printf("%s %d %.3f %.3f\n", name, rep, scale * (end.wall - start.wall) / n,
              scale * (end.cpu - start.cpu) / n);
}

}  // namespace

class BareApp : public wxApp {
 public:
  bool OnInit() override {
    int repetitions = 0;
    long iterations = 0;
    int entryZoom = 0;
    if (argc == 3 && argv[1] == "--entry") {
      entryZoom = std::atoi(argv[2].utf8_str());
      if (entryZoom != 1 && entryZoom != 2) return false;
    } else if (argc == 4 && argv[1] == "--bench") {
      repetitions = std::atoi(argv[2].utf8_str());
      iterations = std::atol(argv[3].utf8_str());
      if (repetitions <= 0 || iterations <= 0) return false;
    } else if (argc != 1) {
      std::fprintf(stderr, "usage: bare-frame [--bench REPETITIONS ITERATIONS | --entry ZOOM]\n");
      return false;
    }
    // In Verselane's order: the timer runs before the window shows.
    frame_ = new Frame(entryZoom > 0 ? entryZoom : 1);
    if (!frame_->StartTimer()) return false;
    wxTextCtrl* entry = entryZoom > 0 ? AnswerEntry(&frame_->view(), entryZoom) : nullptr;
    frame_->Show();
    frame_->Update();
    if (entry != nullptr) entry->SetFocus();
    if (repetitions > 0) {
      CallAfter([this, repetitions, iterations] { Bench(repetitions, iterations); });
    }
    return true;
  }

 private:
  // Timed as Verselane's window benchmark times a frame: the view invalidated and updated, which
  // GTK answers with one double-buffered paint.
  void Bench(int repetitions, long iterations) {
    for (int i = 0; i < 50; ++i) {
      DispatchPending();
      wxMilliSleep(2);
    }
    View& view = frame_->view();
    for (int rep = 0; rep < repetitions; ++rep) {
      const long before = view.paints;
      Stamp start = Now();
      for (long i = 0; i < iterations; ++i) {
        view.Refresh(false);
        view.Update();
      }
      Report("paint", rep, start, iterations, 1e6);
      if (view.paints - before < iterations) {
        std::fprintf(stderr, "bare-frame: %ld paints for %ld updates\n", view.paints - before,
                     iterations);
        std::exit(1);
      }

      start = Now();
      for (long i = 0; i < iterations; ++i) {
        wxClientDC dc(&view);
        dc.DrawBitmap(frame_->buffer(), 0, 0, false);
      }
      Report("clientdc", rep, start, iterations, 1e6);

      // What wxTimer does on each expiry, without GLib's wait in between.
      const long events = 100 * iterations;
      start = Now();
      for (long i = 0; i < events; ++i) {
        wxTimerEvent event(frame_->timer());
        frame_->GetEventHandler()->SafelyProcessEvent(event);
      }
      Report("timer", rep, start, events, 1e9);
      std::fflush(stdout);
      DispatchPending();
    }
    frame_->Destroy();
    ExitMainLoop();
  }

  Frame* frame_ = nullptr;
};

wxIMPLEMENT_APP_NO_MAIN(BareApp);

int main(int argc, char** argv) {
  // As Verselane does: no OpenGL loaded only to choose a visual.
  setenv("GDK_GL", "disable", 0);
  return wxEntry(argc, argv);
}
