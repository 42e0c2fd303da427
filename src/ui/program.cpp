#include "ui/program.h"

#include <cstdlib>
#include <filesystem>

#include <wx/app.h>

#include "base/notices.h"
#include "game/menu_state.h"
#include "ui/assets.h"
#include "ui/gtk_native.h"

namespace verselane {
namespace {

std::optional<std::pair<const unsigned char*, std::size_t>> FindEmbedded(std::string_view name) {
  const std::optional<AssetData> asset = FindAsset(name);
  if (!asset) return std::nullopt;
  return std::make_pair(asset->data, asset->size);
}

// The program's icon in the sizes desktops ask for; without it the window has the desktop's
// default icon. Not the 256-pixel one, which only the icon theme needs: GTK keeps the window's
// icons for the program's life, and on X11 draws the largest into a pixmap for the window
// manager's hints through a shared-memory image of that size (more than half a megabyte held for
// a 256-pixel icon, a quarter of it for 128).
wxIconBundle ProgramIcons() {
  wxIconBundle icons;
  for (const char* name :
       {"icon-101-16.png", "icon-101-32.png", "icon-101.png", "icon-101-64.png",
        "icon-101-128.png"}) {
    const auto bytes = FindEmbedded(name);
    if (!bytes) continue;
    const wxImage image = ImageFromBytes(bytes->first, bytes->second);
    if (!image.IsOk()) continue;
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(image));
    icons.AddIcon(icon);
  }
  return icons;
}

std::string FolderOrCurrent(const std::string& folder) {
  if (!folder.empty()) return folder;
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return error ? std::string(".") : current.string();
}

std::string InFolder(const std::string& folder, const char* name) {
  return (std::filesystem::path(folder) / name).string();
}

VoiceSetup VoiceSetupOfThisProcess() {
  VoiceSetup setup;
  setup.cacheFolder = VoiceCacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
  return setup;
}

// The program's own voice: Open JTalk, run by `reciter`.
VoiceSource VoiceMaker(Reciter& reciter) {
  return {reciter.Installed(), reciter.Maker(), [&reciter] { reciter.Stop(); }};
}

}  // namespace

Program::Program(SoundPort& sound, ProgramOptions options)
    : options_(std::move(options)),
      dataFolder_(FolderOrCurrent(options_.dataFolder)),
      sound_(sound),
      instance_(options_.lockFolder.empty() ? DefaultLockFolder() : options_.lockFolder,
                kClassName),
      inputMethod_(options_.inputMethod != nullptr ? *options_.inputMethod : inputMethodSwitch_),
      random_(options_.random != nullptr ? *options_.random : systemRandom_),
      dialogPort_(options_.dialogs != nullptr ? *options_.dialogs : dialogs_),
      reciter_(VoiceSetupOfThisProcess(), catalogue_),
      voice_(VoiceMaker(reciter_), options_.voiceOutput,
             [this](const std::string& file) { TellVoiceFailure(file); }),
      settings_(InFolder(dataFolder_, "env.ini")),
      records_(InFolder(dataFolder_, "record.dat")),
      preferencesFile_(options_.preferencesPath.empty()
                           ? PreferencesPathOfThisProcess()
                           : options_.preferencesPath,
                       notices_),
      history_(InFolder(dataFolder_, kHistoryFileName), notices_),
      game_(catalogue_, settings_.settings(), settings_.sources(), preferences_, keys_, random_,
            history_, answerBox_, sound_, voice_, inputMethod_, window_, screen_, dialogPort_),
      files_([this] { return window_.frame(); }, dataFolder_),
      dialogs_([this] { return window_.frame(); }, game_,
               {catalogue_, settings_, records_, files_, messageBoxes_, clock_, inputMethod_,
                history_, preferences_.plan, preferences_.romajiInput},
               random_) {}

Program::~Program() { instance_.Release(); }

bool Program::ClaimSingleInstance() {
  if (!claimed_) {
    claimed_ = !options_.singleInstance || instance_.Check(options_.activationToken);
  }
  return claimed_;
}

bool Program::Start() {
  if (!ClaimSingleInstance()) return false;
  if (!window_.CreateFrame(wxString::FromUTF8(kTitle), ProgramIcons(), kClientWidth,
                           kClientHeight)) {
    return false;
  }
  messageBoxes_.SetOwner(window_.frame());
  surface_.SetView(window_.view());
  instance_.Listen([this](const std::string& token) { BringForward(token); });
  if (!InitializeGame() || !window_.Show()) return false;
  // The answer line stays hidden until the first question, whose first keys must reach the
  // input method already open.
  RealizeEntry(answerBox_.control());
  // The history is looked at once the window shows: the first frame does not wait for the
  // database, and a notice about it comes over the window, after the files' notices as before.
  // Without its history the game still plays: a failure is told and nothing more.
  // It is read on a thread of its own (a long history takes seconds), and the game told on
  // this one once it is: the window answers keys meanwhile. The call is queued on the app, which
  // outlives the window; by then this program may be gone (events still run after it).
  window_.frame()->CallAfter([this] {
    history_.OpenAside([this, alive = std::weak_ptr<const bool>(alive_)] {
      wxTheApp->CallAfter([this, alive] {
        if (alive.lock()) game_.HistoryOpened();
      });
    });
  });
  return true;
}

// The player's files fall back to defaults, with their notices in this order; every later step
// ends the start-up when it fails, after its own error box.
bool Program::InitializeGame() {
  LoadEnvironmentAtStartUp(settings_, messageBoxes_);
  LoadRecordListAtStartUp(records_, messageBoxes_);
  preferences_ = preferencesFile_.Load();
  preferencesFile_.ChooseRomajiAtFirstStart(preferences_, inputMethod_);
  // The window takes the kept size before anything is drawn in it.
  window_.SetZoom(preferences_.zoomPercent);
  window_.SetMenuItemChecked(ZoomCommand(preferences_.zoomPercent), true);
  window_.SetMenuItemChecked(kCommandRecite, preferences_.recite);
  window_.SetMenuItemChecked(kCommandListenOnly, preferences_.listenOnly);
  window_.SetMenuItemChecked(kCommandOpening, preferences_.opening);
  EmbeddedBitmapLoader embedded(FindEmbedded);
  BitmapLoader& bitmaps = options_.bitmaps != nullptr ? *options_.bitmaps : embedded;
  if (!screen_.LoadPictures(bitmaps) || !screen_.CreateFonts()) return false;
  game_.ResetGame();
  if (!canvas_.CreateBackBuffer(kClientWidth, kClientHeight)) return false;
  if (!game_.UpdateFrame()) return false;
  if (!CreateAnswerBox()) return false;
  return window_.StartTimer(kGameTimerPeriodMs);
}

bool Program::CreateAnswerBox() {
  const ScreenBox box = screen::kAnswerBox;
  AnswerBox& answerBox = answerBox_;
  if (answerBox.CreateControl(window_.view(), box.x, box.y, box.width, box.height) == nullptr ||
      !answerBox.RouteKeys() ||
      !answerBox.SetTextFont(kAnswerFontPixels, surface_.faces().japaneseDefault()) ||
      !answerBox.SetTextColour(kAnswerTextColour.red, kAnswerTextColour.green,
                                      kAnswerTextColour.blue)) {
    return false;
  }
  answerBox.SetBackgroundColour(kAnswerBackground.red, kAnswerBackground.green,
                                kAnswerBackground.blue);
  MakeEntryFlat(answerBox.control());
  answerBox.SetRomajiInput(preferences_.romajiInput);
  window_.SetMenuItemChecked(kCommandRomajiInput, preferences_.romajiInput);
  return true;
}

// Shown once the tick that found the failure is over, with the run paused under it.
void Program::TellVoiceFailure(const std::string& file) {
  if (window_.frame() == nullptr) return;
  window_.frame()->CallAfter([this, file] { Tell(notices_, Notice::kVoiceFailed, file); });
}

void Program::ShutDown() { SaveEnvironmentAtShutDown(settings_, messageBoxes_); }

// Another copy was started: this one's window comes to the front instead, with the activation
// token the desktop gave that copy.
void Program::BringForward(const std::string& activationToken) {
  ActivateWindow(window_.frame(), activationToken);
}

}  // namespace verselane
