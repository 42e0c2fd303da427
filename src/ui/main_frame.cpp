#include "ui/main_frame.h"

#include <cmath>
#include <iterator>
#include <utility>

#include <wx/accel.h>
#include <wx/dcclient.h>
#include <wx/menu.h>

#include "game/command_handler.h"
#include "game/game_controller.h"
#include "game/key_latch.h"
#include "game/menu_state.h"
#include "ui/answer_box.h"
#include "ui/canvas.h"
#include "ui/display_text.h"
#include "ui/help.h"
#include "ui/message_boxes.h"
#include "ui/wx_surface.h"

namespace verselane {
namespace {

// A fixed window: it can be moved, minimised and closed, never resized or maximised.
constexpr long kFrameStyle = wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX);

wxString U8(const char* text) { return wxString::FromUTF8(text); }

// Each repaint of the screen paints the frame and the view, and each paint DC starts from its
// window's font and colours: left unset, wx asks the GTK theme for its defaults on every paint,
// which took longer than copying the whole back buffer. The screen draws with fonts and colours
// of its own, so these are never seen; they do not pass to the answer line, which has its own.
void GiveOwnLook(wxWindow* window) {
  window->SetOwnFont(wxFontInfo(9).Family(wxFONTFAMILY_DEFAULT));
  window->SetOwnForegroundColour(*wxWHITE);
  window->SetOwnBackgroundColour(*wxBLACK);
}

// Keys of their own beyond the menu's: F1 for the help, and the zoom keys of Linux programs.
// With a keyboard, Ctrl++ is Ctrl+Shift+= and arrives as either key code; the keypad's keys
// are keys of their own.
wxAcceleratorTable KeyAccelerators() {
  const wxAcceleratorEntry entries[] = {
      {wxACCEL_NORMAL, WXK_F1, kCommandHelp},
      {wxACCEL_CTRL, '=', kCommandZoomIn},
      {wxACCEL_CTRL | wxACCEL_SHIFT, '=', kCommandZoomIn},
      {wxACCEL_CTRL, '+', kCommandZoomIn},
      {wxACCEL_CTRL | wxACCEL_SHIFT, '+', kCommandZoomIn},
      {wxACCEL_CTRL, WXK_NUMPAD_ADD, kCommandZoomIn},
      {wxACCEL_CTRL, '-', kCommandZoomOut},
      {wxACCEL_CTRL, WXK_NUMPAD_SUBTRACT, kCommandZoomOut},
      {wxACCEL_CTRL, '0', kCommandZoomReset},
      {wxACCEL_CTRL, WXK_NUMPAD0, kCommandZoomReset},
  };
  return wxAcceleratorTable(static_cast<int>(std::size(entries)), entries);
}

}  // namespace

GameView::GameView(wxWindow* parent, const wxSize& size)
    : wxWindow(parent, wxID_ANY, wxPoint(0, 0), size, wxWANTS_CHARS | wxBORDER_NONE) {
  // Every pixel comes from the back buffer: no background to erase first.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  GiveOwnLook(this);
}

wxMenuBar* CreateMenuBar() {
  auto* game = new wxMenu;
  game->Append(kCommandStart, U8("始める(&S)         \tCtrl+S"));
  game->Append(kCommandPause, U8("一時停止する(&P)\tCtrl+P"));
  game->Append(kCommandRestart, U8("最初からやり直す(&R)\tCtrl+R"));
  game->Append(kCommandWeakPoems, U8("苦手な歌を練習する(&W)"));
  game->Append(kCommandPlan, U8("今日の練習(&D)"));
  game->AppendSeparator();
  game->Append(kCommandExit, U8("終了する(&E)\tCtrl+E"));
  auto* options = new wxMenu;
  options->Append(kCommandSettings, U8("環境を設定する(&E)"));
  options->AppendCheckItem(kCommandRomajiInput,
                           U8("ローマ字で入力する(&K)\t") + kRomajiInputKey);
  auto* zoom = new wxMenu;
  zoom->AppendRadioItem(kCommandZoom100, U8("100 %(&1)"));
  zoom->AppendRadioItem(kCommandZoom150, U8("150 %(&5)"));
  zoom->AppendRadioItem(kCommandZoom200, U8("200 %(&2)"));
  options->AppendSubMenu(zoom, U8("表示の大きさ(&Z)"));
  options->AppendSeparator();
  options->AppendCheckItem(kCommandRecite, U8("読み上げる(&Y)"));
  options->AppendCheckItem(kCommandListenOnly, U8("聞くだけ(文字を表示しない)"));
  options->AppendCheckItem(kCommandOpening, U8("序歌から始める(&J)"));
  options->AppendSeparator();
  options->Append(kCommandRecords, U8("記録を見る(&R)"));
  options->Append(kCommandMastery, U8("成績を見る(&T)"));
  options->Append(kCommandPlanSettings, U8("学習の設定(&L)"));
  auto* help = new wxMenu;
  help->Append(kCommandHelp, U8("ヘルプを見る(&H)"));
  help->Append(kCommandVersion, U8("バージョン情報を見る(&V)"));
  auto* bar = new wxMenuBar;
  bar->Append(game, U8("ゲーム(&G)"));
  bar->Append(options, U8("オプション(&O)"));
  bar->Append(help, U8("ヘルプ(&H)"));
  return bar;
}

MainWindow::MainWindow(CommandHandler& commands, KeyLatch& keys, GameController& game,
                       Canvas& canvas, WxSurface& surface, AnswerBox& answerBox,
                       std::function<void()> closing)
    : commands_(commands),
      keys_(keys),
      game_(game),
      canvas_(canvas),
      surface_(surface),
      answerBox_(answerBox),
      closing_(std::move(closing)) {}

// The frame may outlive this object by a moment (wx deletes windows when idle): it must not
// call back into it.
MainWindow::~MainWindow() {
  delete timer_;
  timer_ = nullptr;
  if (frame_ != nullptr) {
    MainFrame* frame = frame_;
    Disconnect();
    frame->Destroy();
  }
}

void MainWindow::Disconnect() {
  frame_->Unbind(wxEVT_MENU, &MainWindow::OnMenu, this, kFirstCommand,
                 kLastCommand);
  frame_->Unbind(wxEVT_TIMER, &MainWindow::OnTimer, this, kGameTimerId);
  frame_->Unbind(wxEVT_CLOSE_WINDOW, &MainWindow::OnClose, this);
  frame_->Unbind(wxEVT_DESTROY, &MainWindow::OnFrameDestroy, this);
  frame_->Unbind(wxEVT_DPI_CHANGED, &MainWindow::OnScaleChanged, this);
  if (GameView* view = frame_->view()) {
    view->Unbind(wxEVT_PAINT, &MainWindow::OnPaint, this);
    view->Unbind(wxEVT_CHAR, &MainWindow::OnChar, this);
  }
  frame_ = nullptr;
}

bool MainWindow::CreateFrame(const wxString& title, const wxIconBundle& icons, int clientWidth,
                             int clientHeight) {
  auto* frame = new MainFrame;
  if (!frame->Create(nullptr, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, kFrameStyle)) {
    delete frame;
    ShowStartupError("ERROR(CreateWin):Windowの生成に失敗しました");
    return false;
  }
  frame_ = frame;
  if (!icons.IsEmpty()) frame_->SetIcons(icons);
  frame_->SetMenuBar(CreateMenuBar());
  frame_->SetAcceleratorTable(KeyAccelerators());
  GiveOwnLook(frame_);
  auto* view = new GameView(frame_, wxSize(clientWidth, clientHeight));
  frame_->SetView(view);
  clientSize_ = wxSize(clientWidth, clientHeight);
  PinClientSize(clientSize_);
  frame_->Centre(wxBOTH);

  frame_->Bind(wxEVT_MENU, &MainWindow::OnMenu, this, kFirstCommand,
               kLastCommand);
  frame_->Bind(wxEVT_TIMER, &MainWindow::OnTimer, this, kGameTimerId);
  frame_->Bind(wxEVT_CLOSE_WINDOW, &MainWindow::OnClose, this);
  frame_->Bind(wxEVT_DESTROY, &MainWindow::OnFrameDestroy, this);
  frame_->Bind(wxEVT_DPI_CHANGED, &MainWindow::OnScaleChanged, this);
  view->Bind(wxEVT_PAINT, &MainWindow::OnPaint, this);
  view->Bind(wxEVT_CHAR, &MainWindow::OnChar, this);
  return true;
}

bool MainWindow::Show() {
  if (frame_ == nullptr) return false;
  frame_->Show();
  frame_->Update();
  return true;
}

bool MainWindow::StartTimer(int periodMs) {
  if (frame_ == nullptr) return false;
  if (timer_ == nullptr) timer_ = new wxTimer(frame_, kGameTimerId);
  if (!timer_->Start(periodMs)) {
    ShowStartupError("ERROR(StartTimer):Timerの開始に失敗しました");
    return false;
  }
  return true;
}

void MainWindow::SetMenuItemEnabled(int command, bool enabled) {
  if (frame_ == nullptr) return;
  const int item = command;
  if (wxMenuBar* bar = frame_->GetMenuBar(); bar != nullptr && bar->FindItem(item)) {
    bar->Enable(item, enabled);
  }
}

void MainWindow::SetMenuItemChecked(int command, bool checked) {
  if (frame_ == nullptr) return;
  if (wxMenuBar* bar = frame_->GetMenuBar(); bar != nullptr && bar->FindItem(command)) {
    bar->Check(command, checked);
  }
}

void MainWindow::SetMenuItemLabel(int command, const std::string& label) {
  if (frame_ == nullptr) return;
  if (wxMenuBar* bar = frame_->GetMenuBar(); bar != nullptr && bar->FindItem(command)) {
    bar->SetLabel(command, FromSjis(label));
  }
}

// Some window managers still offer a resize handle; pinning min and max keeps the size.
void MainWindow::PinClientSize(const wxSize& client) {
  pinnedClient_ = client;
  frame_->SetMinSize(wxDefaultSize);
  frame_->SetMaxSize(wxDefaultSize);
  frame_->SetClientSize(client);
  const wxSize size = frame_->GetSize();
  frame_->SetMinSize(size);
  frame_->SetMaxSize(size);
}

void MainWindow::SetZoom(int percent) {
  if (frame_ == nullptr) return;
  zoomPercent_ = percent;
  const double zoom = percent / 100.0;
  frame_->SetZoom(zoom);
  const wxSize client(static_cast<int>(std::lround(clientSize_.x * zoom)),
                      static_cast<int>(std::lround(clientSize_.y * zoom)));
  // Resizing a window is a round of GTK's size negotiation: not at each start at 100 %.
  if (client != pinnedClient_) {
    PinClientSize(client);
    // Before the window is first shown (the zoom kept from the last time) it is centred again.
    if (!frame_->IsShown()) frame_->Centre(wxBOTH);
  }
  // A buffer that cannot be made larger keeps its size: the screen is still drawn, smaller.
  static_cast<void>(surface_.SetScale(zoom * view()->GetContentScaleFactor()));
  answerBox_.SetZoom(zoom);
}

// The window moved to a screen of another scale: the screen is drawn for it.
void MainWindow::OnScaleChanged(wxDPIChangedEvent& event) {
  event.Skip();
  SetZoom(zoomPercent_);
  static_cast<void>(game_.Redraw());
}

void MainWindow::Destroy() {
  if (destroyed_ || frame_ == nullptr) return;
  destroyed_ = true;
  if (timer_ != nullptr) timer_->Stop();
  closing_();
  frame_->Destroy();
}

void MainWindow::OnFrameDestroy(wxWindowDestroyEvent& event) {
  event.Skip();
  if (event.GetEventObject() != frame_) return;  // a child window
  if (timer_ != nullptr) timer_->Stop();
  Disconnect();
}

// A repaint shows the back buffer. Inside a frame cycle the view is painted by the cycle's own
// present; any other time the repaint opens the drawing itself, and a repaint that fails closes
// the window.
void MainWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(view());
  if (surface_.presenting()) {
    surface_.PaintTo(dc);
    return;
  }
  const bool opened = canvas_.OpenDrawing();
  const bool painted = opened && surface_.PaintTo(dc);
  const bool closed = opened && canvas_.CloseDrawing();
  if (!painted || !closed) Destroy();
}

// Keys typed while the game screen itself has the focus. wx offers a key to the focused window
// before the menu accelerators, so the key goes on to them.
void MainWindow::OnChar(wxKeyEvent& event) {
  keys_.Store(KeyCharacter(event));
  event.Skip();
}

void MainWindow::OnMenu(wxCommandEvent& event) { commands_.Dispatch(event.GetId()); }

void MainWindow::OnTimer(wxTimerEvent&) {
  if (destroyed_) return;
  // A frame that failed to draw stays pending in the game and is drawn again on the next tick,
  // 50 ms later; there is nothing more to do about it here.
  static_cast<void>(game_.Tick());
}

// The close button asks like the exit command, and closes the help window whatever the answer;
// a close that cannot be refused just closes.
void MainWindow::OnClose(wxCloseEvent& event) {
  if (!event.CanVeto()) {
    CloseHelp();
    Destroy();
    return;
  }
  commands_.Exit();
  CloseHelp();
  if (!destroyed_) event.Veto();
}

}  // namespace verselane
