// The program as a whole: its long-lived objects as plain members, each built after what it
// refers to and destroyed before it; the start-up that guards against a second copy, makes the
// window and sets the game up; and the shut-down, which saves the settings.
//
// The sounds and (in tests) the dialogs, the bitmaps and the random numbers come from outside: a
// test drives the game through stand-ins.
#pragma once

#include <memory>
#include <string>

#include "base/random_source.h"
#include "catalogue/poem_catalogue.h"
#include "game/answer_recorder.h"
#include "game/command_handler.h"
#include "game/desktop_ports.h"
#include "game/game_controller.h"
#include "game/key_latch.h"
#include "game/preferences_keeper.h"
#include "game/run_notices.h"
#include "records/record_list.h"
#include "settings/preferences.h"
#include "settings/settings_controller.h"
#include "ui/answer_box.h"
#include "ui/canvas.h"
#include "ui/dialogs/wx_dialogs.h"
#include "ui/dialogs/wx_file_chooser.h"
#include "ui/game_screen.h"
#include "ui/input_method.h"
#include "ui/main_frame.h"
#include "ui/message_boxes.h"
#include "ui/single_instance.h"
#include "game/reciter.h"
#include "ui/voice_player.h"
#include "ui/wx_surface.h"

namespace verselane {

// The class name of the main window and the name of the single-instance lock.
inline constexpr const char* kClassName = "Marrowfen";
// The answer line's text: 20 pixels high fits its 28-pixel line.
inline constexpr int kAnswerFontPixels = 20;
inline constexpr Rgb kAnswerTextColour{100, 100, 100};
inline constexpr Rgb kAnswerBackground{255, 255, 255};

struct ProgramOptions {
  // Where env.ini and record.dat live, and where the file dialogs start; empty: the current
  // folder.
  std::string dataFolder;
  // verselane.conf; empty: $XDG_CONFIG_HOME/verselane/verselane.conf (PreferencesPath).
  std::string preferencesPath;
  // The folder of the single-instance lock, made when missing; empty: DefaultLockFolder().
  std::string lockFolder;
  bool singleInstance = true;
  // The desktop's activation token for this start, which a second copy hands to the first; read
  // from the environment before GTK starts, as GTK takes DESKTOP_STARTUP_ID out of it.
  std::string activationToken;
  // Stand-ins for tests; null: the embedded bitmaps, the system's random numbers, the real
  // input method.
  BitmapLoader* bitmaps = nullptr;
  RandomSource* random = nullptr;
  InputMethodPort* inputMethod = nullptr;
  DialogPort* dialogs = nullptr;  // null: the program's own dialogs
  // Where the reader's voice is played; null: nowhere.
  RecordingOutput* voiceOutput = nullptr;
};

class Program {
 public:
  explicit Program(SoundPort& sound, ProgramOptions options = {});
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  // Gives the lock up; the members then go in the reverse order of their making.
  ~Program();

  // The first thing the program does: false when another copy runs, which has then been asked
  // to bring its window to the front. Nothing is shown and nothing is written.
  bool ClaimSingleInstance();
  // Everything up to the shown window with the game at Idle and the timer running (claiming the
  // single instance first unless done). False when the program is to end at once: another copy
  // runs, or a step failed after showing its error box.
  bool Start();
  // The window has closed: the settings are saved when they changed (with a notice when they
  // could not be).
  void ShutDown();

  const std::string& dataFolder() const { return dataFolder_; }
  const PoemCatalogue& catalogue() const { return catalogue_; }
  MainWindow& window() { return window_; }
  KeyLatch& keys() { return keys_; }
  AnswerBox& answerBox() { return answerBox_; }
  SettingsController& settings() { return settings_; }
  GameController& game() { return game_; }
  CommandHandler& commands() { return commands_; }
  RecordList& records() { return records_; }
  MessageBoxes& messageBoxes() { return messageBoxes_; }
  Canvas& canvas() { return canvas_; }
  WxSurface& surface() { return surface_; }
  GameScreen& screen() { return screen_; }
  Preferences& preferences() { return preferences_; }
  AnswerRecorder& history() { return history_; }

 private:
  bool InitializeGame();
  bool CreateAnswerBox();
  void TellVoiceFailure(const std::string& file);
  void BringForward(const std::string& activationToken);

  bool claimed_ = false;
  // Held while this program exists: a call queued from another thread checks it before it runs.
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);

  ProgramOptions options_;
  std::string dataFolder_;
  SoundPort& sound_;
  MessageBoxes messageBoxes_;
  // Every notice of the game and the files goes through it: one over a running game pauses it.
  RunNotices notices_{messageBoxes_, game_, commands_};
  InputMethodSwitch inputMethodSwitch_;
  SystemRandom systemRandom_;
  SingleInstance instance_;
  // What the options give in place of the program's own.
  InputMethodPort& inputMethod_;
  RandomSource& random_;
  DialogPort& dialogPort_;  // the dialogs below, made after the game and the commands that use them
  const PoemCatalogue catalogue_;
  Reciter reciter_;
  // Its worker is stopped after the game that asks it is gone.
  VoicePlayer voice_;

  SettingsController settings_;
  RecordList records_;
  PreferencesKeeper preferencesFile_;
  Preferences preferences_;
  KeyLatch keys_;
  // Made before the objects its events reach and gone after them: no event comes before its
  // frame is made, and none while the members are destroyed, as the event loop does not run
  // then. Its own destructor cuts the frame off, which wx deletes later.
  MainWindow window_{commands_, keys_,      game_,
                     canvas_,   surface_,   answerBox_,
                     [this] { ShutDown(); }};
  WxSurface surface_;
  Canvas canvas_{surface_, notices_};
  GameScreen screen_{canvas_, notices_};
  AnswerBox answerBox_{keys_};
  AnswerRecorder history_;  // written to until the game that records into it is gone
  GameController game_;
  CommandHandler commands_{game_,   preferences_,  preferencesFile_, answerBox_,
                           window_, messageBoxes_, notices_,         dialogPort_};
  // The dialogs open over the main window and serve the objects above; the game and the commands
  // call them through their port.
  WxFileChooser files_;
  LocalClock clock_;
  WxDialogs dialogs_;
};

}  // namespace verselane
