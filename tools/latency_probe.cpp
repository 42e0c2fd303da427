// Keystroke to glyph: sends keys to a window through XTest and reads the answer line's pixels
// back (XShm, or XGetImage where the server has no shared memory) until they change, the way a
// typing-latency meter reads the screen. Made for tools/measure-latency, which runs it against
// Verselane and against the bare frame's entry (tools/bare_frame.cpp --entry) in turn.
//
//   latency-probe WINDOW KEYSYM QUESTIONS KEYS ZOOM game|entry [SEED]
//
// WINDOW is the top-level X window (decimal or 0x hex), KEYSYM a key name as XStringToKeysym reads
// it ("a", "U3042" for あ). The line is the rectangle 76,60 308x28 of the 400 x 150 client area
// under the menu bar, ZOOM times that. For each of QUESTIONS questions: the line awaited (a game
// shows it when it puts the question: its right end turns white), a lead of 1 s, then KEYS keys
// 20 to 50 ms apart (each pressed, its change awaited, released), then Return; a game hides the
// line then and shows a wrong answer's reading until Return again, 1.2 s later. Prints one line
// per key:
// "QUESTION KEY MILLISECONDS", or "QUESTION KEY timeout" when nothing changed within a second.
// A keysym that no key carries is put on a spare key code first, before anything is timed;
// `latency-probe map KEYSYM` does only that, so that programs started after it never see the
// keyboard map change (GTK reloads it when it does).
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>

namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 150;
constexpr int kLineX = 76, kLineY = 60, kLineWidth = 308, kLineHeight = 28;
constexpr int kLeadMs = 1000;
constexpr int kReadingMs = 1200;
constexpr double kTimeoutMs = 1000.0;

double NowMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

[[noreturn]] void Die(const char* why) {
  std::fprintf(stderr, "latency-probe: %s\n", why);
  std::exit(1);
}

// The line's pixels, read from the root window: on a server without a compositor that is what
// the screen shows.
class LineReader {
 public:
  LineReader(Display* display, int x, int y, int width, int height)
      : display_(display), x_(x), y_(y), width_(width), height_(height) {
    const int screen = DefaultScreen(display);
    root_ = RootWindow(display, screen);
    if (XShmQueryExtension(display)) {
      image_ = XShmCreateImage(display, DefaultVisual(display, screen),
                               DefaultDepth(display, screen), ZPixmap, nullptr, &shm_, width,
                               height);
      if (image_ != nullptr) {
        shm_.shmid = shmget(IPC_PRIVATE, image_->bytes_per_line * image_->height, IPC_CREAT | 0600);
        shm_.shmaddr = image_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
        shm_.readOnly = False;
        XShmAttach(display, &shm_);
        XSync(display, False);
        shmctl(shm_.shmid, IPC_RMID, nullptr);
      }
    }
    Read();
  }

  // A copy of the pixels now.
  void Read() {
    if (image_ != nullptr) {
      XShmGetImage(display_, root_, image_, x_, y_, AllPlanes);
      pixels_.assign(image_->data, image_->data + image_->bytes_per_line * image_->height);
      bytesPerLine_ = image_->bytes_per_line;
      return;
    }
    XImage* image = XGetImage(display_, root_, x_, y_, width_, height_, AllPlanes, ZPixmap);
    if (image == nullptr) Die("XGetImage failed");
    pixels_.assign(image->data, image->data + image->bytes_per_line * image->height);
    bytesPerLine_ = image->bytes_per_line;
    XDestroyImage(image);
  }

  const std::string& pixels() const { return pixels_; }

  // Whether the line's right end, where no answer reaches, is white: the line is shown.
  bool RightEndWhite() {
    Read();
    const int bytes = bytesPerLine_;
    const int rows = static_cast<int>(pixels_.size()) / bytes;
    for (int y = rows / 4; y < rows * 3 / 4; ++y) {
      for (int x = width_ * 94 / 100; x < width_ * 98 / 100; ++x) {
        for (int c = 0; c < 3; ++c) {
          if (static_cast<unsigned char>(pixels_[y * bytes + x * 4 + c]) != 0xFF) return false;
        }
      }
    }
    return true;
  }

 private:
  Display* display_;
  Window root_;
  int x_, y_, width_, height_;
  XImage* image_ = nullptr;
  XShmSegmentInfo shm_{};
  std::string pixels_;
  int bytesPerLine_ = 0;
};

// A key code that carries `keysym`, put on a key code with no symbols when none does.
KeyCode KeyFor(Display* display, KeySym keysym) {
  if (KeyCode code = XKeysymToKeycode(display, keysym)) return code;
  int low = 0, high = 0, per = 0;
  XDisplayKeycodes(display, &low, &high);
  KeySym* map = XGetKeyboardMapping(display, low, high - low + 1, &per);
  for (int code = high; code >= low; --code) {
    bool empty = true;
    for (int i = 0; i < per; ++i) empty = empty && map[(code - low) * per + i] == NoSymbol;
    if (!empty) continue;
    XFree(map);
    KeySym both[2] = {keysym, keysym};
    XChangeKeyboardMapping(display, code, 2, both, 1);
    XSync(display, False);
    SleepMs(500);  // every client reloads its keyboard map now, not while keys are timed
    return static_cast<KeyCode>(code);
  }
  XFree(map);
  Die("no spare key code for the keysym");
}

void Tap(Display* display, KeyCode code) {
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  XFlush(display);
}

// Waits up to `ms` for the line to be shown (or hidden); whether it came.
bool AwaitLine(LineReader& line, bool shown, int ms) {
  for (int waited = 0; waited < ms; waited += 10) {
    if (line.RightEndWhite() == shown) return true;
    SleepMs(10);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "map") == 0) {
    Display* display = XOpenDisplay(nullptr);
    const KeySym keysym = XStringToKeysym(argv[2]);
    if (display == nullptr || keysym == NoSymbol) Die("cannot map the keysym");
    KeyFor(display, keysym);
    XCloseDisplay(display);
    return 0;
  }
  if (argc < 7 || argc > 8) {
    std::fprintf(stderr, "usage: latency-probe WINDOW KEYSYM QUESTIONS KEYS ZOOM game|entry [SEED]\n");
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const KeySym keysym = XStringToKeysym(argv[2]);
  const int questions = std::atoi(argv[3]);
  const int keys = std::atoi(argv[4]);
  const double zoom = std::atof(argv[5]);
  const bool game = std::strcmp(argv[6], "game") == 0;
  std::mt19937 random(argc == 8 ? std::atoi(argv[7]) : 1);
  if (keysym == NoSymbol || questions <= 0 || keys <= 0 || zoom <= 0) Die("bad arguments");

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) Die("cannot open the display");
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &event, &error, &major, &minor)) Die("no XTest");
  const KeyCode key = KeyFor(display, keysym);
  const KeyCode enter = XKeysymToKeycode(display, XK_Return);

  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) Die("no such window");
  int rootX = 0, rootY = 0;
  Window child;
  XTranslateCoordinates(display, window, attributes.root, 0, 0, &rootX, &rootY, &child);
  // The client area is the bottom of the window, under the menu bar.
  const int clientTop = attributes.height - static_cast<int>(kClientHeight * zoom + 0.5);
  auto z = [zoom](int length) { return static_cast<int>(length * zoom + 0.5); };
  if (attributes.width != z(kClientWidth) || clientTop < 0) Die("the window is not of the line's shape");
  LineReader line(display, rootX + z(kLineX), rootY + clientTop + z(kLineY), z(kLineWidth),
                  z(kLineHeight));

  std::uniform_int_distribution<int> gap(20, 50);
  for (int q = 0; q < questions; ++q) {
    if (!AwaitLine(line, true, 10000)) Die("the line was not shown within 10 s");
    SleepMs(kLeadMs);
    for (int k = 0; k < keys; ++k) {
      SleepMs(gap(random));
      line.Read();
      const std::string before = line.pixels();
      const double start = NowMs();
      XTestFakeKeyEvent(display, key, True, CurrentTime);
      XFlush(display);
      double elapsed = 0;
      do {
        line.Read();
        elapsed = NowMs() - start;
      } while (line.pixels() == before && elapsed < kTimeoutMs);
      XTestFakeKeyEvent(display, key, False, CurrentTime);
      XFlush(display);
      if (elapsed >= kTimeoutMs) {
        std::printf("%d %d timeout\n", q, k);
      } else {
        std::printf("%d %d %.3f\n", q, k, elapsed);
      }
    }
    Tap(display, enter);
    if (!game) continue;
    if (!AwaitLine(line, false, 10000)) Die("the line was not hidden within 10 s of Return");
    SleepMs(kReadingMs);
    Tap(display, enter);
  }
  std::fflush(stdout);
  XCloseDisplay(display);
  return 0;
}
