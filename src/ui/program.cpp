#include "ui/program.h"

#include "ui/assets.h"
#include "ui/gtk_native.h"

namespace verselane {
namespace {

std::optional<std::pair<const unsigned char*, std::size_t>> FindEmbedded(std::string_view name) {
  const std::optional<AssetData> asset = FindAsset(name);
  if (!asset) return std::nullopt;
  return std::make_pair(asset->data, asset->size);
}

// Icon 101 in the sizes desktops ask for; without it the window has the desktop's default icon,
// as Windows uses the system's.
wxIconBundle ProgramIcons() {
  wxIconBundle icons;
  for (const char* name :
       {"icon-101-16.png", "icon-101-32.png", "icon-101.png", "icon-101-256.png"}) {
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

}  // namespace

Program::Program(DialogPort& dialogs, SoundPort& sound, ProgramOptions options)
    : options_(std::move(options)),
      dialogs_(dialogs),
      sound_(sound),
      instance_(options_.lockFolder.empty() ? DefaultLockFolder() : options_.lockFolder,
                kClassName) {}

Program::~Program() {
  instance_.Release();
  keys_.reset();
  answerBox_.reset();
  environment_.reset();
  commands_.reset();
  game_.reset();
  settings_.reset();
  records_.reset();
  ports_.reset();
  // MainWindow goes last, as the member declared first.
}

bool Program::ClaimSingleInstance() {
  if (!claimed_) claimed_ = !options_.singleInstance || instance_.Check();
  return claimed_;
}

bool Program::Start() {
  if (!ClaimSingleInstance()) return false;
  CreateObjects();
  if (!window_.CreateWin(wxString::FromUTF8(kTitle), ProgramIcons(), kClientWidth,
                         kClientHeight)) {
    return false;
  }
  messageBoxes_.SetOwner(window_.frame());
  surface_.SetView(window_.view());
  instance_.Listen([this] { BringForward(); });
  if (!InitializeGame()) return false;
  return window_.Show();
}

void Program::CreateObjects() {
  environment_.emplace();
  keys_.emplace();
  answerBox_.emplace(*keys_);
  settings_.emplace(*environment_, messageBoxes_);
  InputMethodPort& inputMethod =
      options_.inputMethod != nullptr ? *options_.inputMethod : inputMethodSwitch_;
  ports_.emplace(DesktopPorts{*answerBox_, sound_, inputMethod, window_, messageBoxes_,
                              messageBoxes_, dialogs_, screen_});
  records_.emplace();
  RandomSource& random = options_.random != nullptr ? *options_.random : systemRandom_;
  game_.emplace(*environment_, *keys_, *ports_, random);
  commands_.emplace(*environment_, *game_, *ports_);
  window_.Connect({&*commands_, &*keys_, &*game_, &*settings_, &canvas_, &surface_});
}

// The two loading steps fall back to defaults by themselves; every later step ends the start-up
// when it fails, after its own error box.
bool Program::InitializeGame() {
  settings_->LoadEnvironment();
  records_->LoadRecordList(messageBoxes_);
  EmbeddedBitmapLoader embedded(FindEmbedded);
  BitmapLoader& bitmaps = options_.bitmaps != nullptr ? *options_.bitmaps : embedded;
  if (!screen_.LoadAllImgRes(bitmaps) || !screen_.LoadAllFontRes()) return false;
  game_->ResetGame();
  if (!canvas_.InitDraw(kClientWidth, kClientHeight)) return false;
  if (!game_->UpdateFrame()) return false;
  if (!CreateAnswerBox()) return false;
  return window_.StartTimer(kGameTimerPeriodMs);
}

bool Program::CreateAnswerBox() {
  const ScreenBox box = screen::kAnswerBox;
  AnswerBox& answerBox = *answerBox_;
  if (answerBox.CreateREdit(window_.view(), box.x, box.y, box.width, box.height) == nullptr ||
      !answerBox.SubclassREdit() ||
      !answerBox.SetFontRichEdit(kAnswerFontPixels, surface_.faces().japaneseDefault()) ||
      !answerBox.SetFontColorRichEdit(kAnswerTextColour.red, kAnswerTextColour.green,
                                      kAnswerTextColour.blue)) {
    return false;
  }
  answerBox.SetBackgroundColour(kAnswerBackground.red, kAnswerBackground.green,
                                kAnswerBackground.blue);
  MakeEntryFlat(answerBox.control());
  return true;
}

// Another copy was started: this one's window comes to the front instead.
void Program::BringForward() { ActivateWindow(window_.frame()); }

}  // namespace verselane
