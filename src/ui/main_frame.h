// The program's one top-level window: a fixed frame with the menu, whose 400 x 150 client area
// is the game view (the back buffer painted) with the answer line over it. MainWindow is the
// plain object behind it: it creates the frame, owns the game timer and turns the frame's
// events into calls on the game, the commands and the key latch.
#pragma once

#include <functional>

#include <wx/frame.h>
#include <wx/iconbndl.h>
#include <wx/timer.h>

#include "game/desktop_ports.h"
#include "ui/zoomed_window.h"

namespace verselane {

class Canvas;
class AnswerBox;
class CommandHandler;
class GameController;
class KeyLatch;
class WxSurface;

inline constexpr int kClientWidth = 400;
inline constexpr int kClientHeight = 150;
inline constexpr int kGameTimerId = 1;
inline constexpr int kGameTimerPeriodMs = 50;
// Captions begin with one blank, like every caption of the program.
inline constexpr const char* kTitle = " Verselane";

// The game screen's window: shows the back buffer, and passes typed characters on.
class GameView : public wxWindow {
 public:
  GameView(wxWindow* parent, const wxSize& size);
  bool AcceptsFocus() const override { return true; }
};

class MainFrame : public wxFrame, public ZoomedWindow {
 public:
  MainFrame() = default;
  GameView* view() const { return view_; }
  void SetView(GameView* view) { view_ = view; }
  // The dialogs opened over the window take its zoom.
  double zoom() const override { return zoom_; }
  void SetZoom(double zoom) { zoom_ = zoom; }

 private:
  GameView* view_ = nullptr;
  double zoom_ = 1.0;
};

// Builds the menu bar: its texts, access keys, command ids and the four Ctrl accelerators.
wxMenuBar* CreateMenuBar();

class MainWindow : public MainWindowPort {
 public:
  // The window's events reach the commands (menu and accelerators), the key latch (typed
  // characters), the game (timer ticks and redraws), the canvas and surface (repaints) and the
  // answer line (zoom); `closing` is what the program does once the window is going (it saves
  // the settings). It calls none of them before its frame is made.
  MainWindow(CommandHandler& commands, KeyLatch& keys, GameController& game, Canvas& canvas,
             WxSurface& surface, AnswerBox& answerBox, std::function<void()> closing);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  // Deletes a window that was made but never shown (a start-up that failed).
  ~MainWindow() override;

  // Creates the frame hidden: title, icon, menu, a client area of exactly the given size that
  // can be neither resized nor maximised, centred on the screen, with the game view filling it.
  // Shows the error box and returns false when the window cannot be made.
  bool CreateFrame(const wxString& title, const wxIconBundle& icons, int clientWidth,
                   int clientHeight);
  // Shows the window; false when there is none.
  bool Show();
  // Starts the game timer; false (after the error box) when it cannot run.
  bool StartTimer(int periodMs);

  void SetMenuItemEnabled(int command, bool enabled) override;
  void SetMenuItemChecked(int command, bool checked) override;
  void SetMenuItemLabel(int command, const std::string& label) override;
  // The client area becomes the given size times the zoom; the surface draws at the zoom times
  // the desktop's own scale, and the answer line follows.
  void SetZoom(int percent) override;
  // Stops the timer, lets the program finish (it saves the settings) and closes the window: the
  // program then ends.
  void Destroy() override;

  MainFrame* frame() const { return frame_; }
  GameView* view() const { return frame_ ? frame_->view() : nullptr; }
  bool destroyed() const { return destroyed_; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnChar(wxKeyEvent& event);
  void OnMenu(wxCommandEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnFrameDestroy(wxWindowDestroyEvent& event);
  void OnScaleChanged(wxDPIChangedEvent& event);
  void Disconnect();
  void PinClientSize(const wxSize& client);

  CommandHandler& commands_;
  KeyLatch& keys_;
  GameController& game_;
  Canvas& canvas_;
  WxSurface& surface_;
  AnswerBox& answerBox_;
  std::function<void()> closing_;
  MainFrame* frame_ = nullptr;
  wxTimer* timer_ = nullptr;
  wxSize clientSize_;
  int zoomPercent_ = 100;
  wxSize pinnedClient_;  // the client size the window is held at
  bool destroyed_ = false;
};

}  // namespace verselane
