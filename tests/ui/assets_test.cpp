// The pictures, sounds and help book built into the program: each is there, has the size and the
// frames the game screen and the dialogs draw from, decodes, and plays or opens as it should.
#include <SDL.h>
#include <gtest/gtest.h>

#include <wx/filesys.h>
#include <wx/frame.h>
#include <wx/html/helpdata.h>
#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/html/htmlwin.h>
#include <wx/image.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/mstream.h>
#include <wx/stream.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>
#include <libintl.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/test_locales.h"
#include "ui/assets.h"
#include "ui/desktop_language.h"
#include "ui/help.h"
#include "ui/sound_player.h"
#include "ui/wx_surface.h"
#include "ui/zoomed_window.h"
#include "sound_test_support.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

wxImage DecodePicture(const std::string& name) {
  std::optional<AssetData> asset = FindAsset(name);
  if (!asset) return wxImage();
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxMemoryInputStream stream(asset->data, asset->size);
  wxImage image;
  image.LoadFile(stream, wxBITMAP_TYPE_PNG);
  return image;
}

struct Rgb {
  unsigned char red, green, blue;
  bool operator==(const Rgb&) const = default;
};

Rgb PixelAt(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

std::string Describe(Rgb colour) {
  return "(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
         std::to_string(colour.blue) + ")";
}

// A strip of equal frames side by side; a picture of one frame has frames = 1.
struct PictureLayout {
  const char* name;
  int width;
  int height;
  int frames;
};

// What the game screen copies from, with the sizes and frame layouts it draws by.
constexpr PictureLayout kGameScreenPictures[] = {
    {"bitmap-130.png", 400, 150, 1},  // background
    {"bitmap-132.png", 140, 15, 10},  // large digits
    {"bitmap-133.png", 90, 11, 10},   // small digits
    {"bitmap-134.png", 90, 11, 10},   // small digits, second style
    {"bitmap-135.png", 7, 11, 1},     // clock colon
    {"bitmap-136.png", 25, 25, 1},    // icon: upper phrase
    {"bitmap-137.png", 25, 25, 1},    // icon: lower phrase
    {"bitmap-138.png", 25, 25, 1},    // icon: poet
    {"bitmap-139.png", 35, 25, 5},    // input marker
    {"bitmap-141.png", 315, 45, 7},   // portraits of the seven commenting characters
    {"bitmap-142.png", 18, 9, 3},     // time bar left cap, one frame per question mode
    {"bitmap-143.png", 3, 9, 3},      // time bar body
    {"bitmap-144.png", 18, 9, 3},     // time bar right cap
};

// The window's and the dialogs' pictures, drawn over whatever lies behind them.
constexpr PictureLayout kTranslucentPictures[] = {
    {"icon-101.png", 48, 48, 1},      {"icon-101-16.png", 16, 16, 1},
    {"icon-101-32.png", 32, 32, 1},   {"icon-101-256.png", 256, 256, 1},
    {"icon-153.png", 32, 32, 1},      {"bitmap-about.png", 50, 51, 1},
    {"bitmap-157.png", 66, 66, 1},
};

// Each also drawn at twice and three times the size ("bitmap-130@2x.png"), for larger screens:
// the same frames, each k times as wide, so that a cell is cut from them exactly.
TEST(BuiltInPictures, EveryGameScreenPictureHasItsSizeAndWholeFrames) {
  for (const PictureLayout& layout : kGameScreenPictures) {
    for (int factor : {1, 2, 3}) {
      const std::string name = factor > 1 ? DrawnVersionName(layout.name, factor) : layout.name;
      SCOPED_TRACE(name);
      wxImage image = DecodePicture(name);
      ASSERT_TRUE(image.IsOk()) << "not built in, or not a PNG";
      EXPECT_EQ(image.GetWidth(), layout.width * factor);
      EXPECT_EQ(image.GetHeight(), layout.height * factor);
      EXPECT_EQ(image.GetWidth() % layout.frames, 0) << "frames of unequal width";
    }
  }
}

// The dialogs' pictures also come drawn at twice and three times the size, for desktops drawn at
// a scale.
TEST(BuiltInPictures, IconsAndDialogPicturesHaveTheirSizeAndATransparentBackground) {
  const std::set<std::string> drawnLarger = {"icon-153.png", "bitmap-about.png", "bitmap-157.png"};
  for (const PictureLayout& layout : kTranslucentPictures) {
    for (int factor : {1, 2, 3}) {
      std::string name = layout.name;
      if (factor > 1 && drawnLarger.count(name) == 0) continue;
      if (factor > 1) name = DrawnVersionName(name, factor);
      SCOPED_TRACE(name);
      wxImage image = DecodePicture(name);
      ASSERT_TRUE(image.IsOk()) << "not built in, or not a PNG";
      EXPECT_EQ(image.GetWidth(), layout.width * factor);
      EXPECT_EQ(image.GetHeight(), layout.height * factor);
      ASSERT_TRUE(image.HasAlpha());
      EXPECT_EQ(image.GetAlpha(0, 0), 0) << "the top left corner should show what lies behind";
    }
  }
}

// Frames of a strip that must all look different: ten digits, seven characters, three modes.
void ExpectFramesDiffer(const char* name) {
  SCOPED_TRACE(name);
  wxImage image = DecodePicture(name);
  ASSERT_TRUE(image.IsOk());
  const PictureLayout* layout = nullptr;
  for (const PictureLayout& candidate : kGameScreenPictures) {
    if (std::string(candidate.name) == name) layout = &candidate;
  }
  ASSERT_NE(layout, nullptr);
  const int frameWidth = image.GetWidth() / layout->frames;
  for (int a = 0; a < layout->frames; ++a) {
    for (int b = a + 1; b < layout->frames; ++b) {
      EXPECT_FALSE(uitest::SameRegion(image, a * frameWidth, 0, image, b * frameWidth, 0, frameWidth,
                                      image.GetHeight()))
          << "frames " << a << " and " << b << " are the same";
    }
  }
}

TEST(BuiltInPictures, EveryFrameOfAStripIsItsOwn) {
  for (const char* name : {"bitmap-132.png", "bitmap-133.png", "bitmap-134.png", "bitmap-139.png",
                           "bitmap-141.png", "bitmap-142.png", "bitmap-143.png", "bitmap-144.png"}) {
    ExpectFramesDiffer(name);
  }
}

TEST(BuiltInPictures, TheThreeModeIconsDiffer) {
  const wxImage upper = DecodePicture("bitmap-136.png");
  const wxImage lower = DecodePicture("bitmap-137.png");
  const wxImage poet = DecodePicture("bitmap-138.png");
  ASSERT_TRUE(upper.IsOk() && lower.IsOk() && poet.IsOk());
  EXPECT_FALSE(uitest::SameRegion(upper, 0, 0, lower, 0, 0, 25, 25));
  EXPECT_FALSE(uitest::SameRegion(upper, 0, 0, poet, 0, 0, 25, 25));
  EXPECT_FALSE(uitest::SameRegion(lower, 0, 0, poet, 0, 0, 25, 25));
}

// The screen is drawn by copying pictures onto the background without blending, so a picture's
// own background must be the colour the background has wherever the picture may land, or it
// shows as a patch. The places are those of the game screen: numbers end at a right edge and
// grow leftwards up to their largest digit count.
struct Landing {
  const char* what;
  const char* picture;
  int left, top, right, bottom;  // right and bottom exclusive
  int groundX = 0;               // a pixel of the picture's own background, in its first frame
};

constexpr Landing kLandings[] = {
    {"correct counter (up to 3 digits, ending at x 45)", "bitmap-133.png", 45 - 3 * 9, 98, 45, 109},
    {"asked counter (up to 3 digits, ending at x 52)", "bitmap-134.png", 52 - 3 * 9, 126, 52, 137},
    {"correct rate (up to 3 digits, ending at x 137)", "bitmap-132.png", 137 - 3 * 14, 126, 137, 141},
    {"score (up to 6 digits, ending at x 260)", "bitmap-133.png", 260 - 6 * 9, 132, 260, 143},
    {"clock (hh:mm:ss from x 320)", "bitmap-133.png", 320, 132, 320 + 6 * 9 + 2 * 7, 143},
    {"clock colons", "bitmap-135.png", 320, 132, 320 + 6 * 9 + 2 * 7, 143},
    {"input marker at (70, 62)", "bitmap-139.png", 70, 62, 77, 87},
    {"time bar from x 81 to 393 at y 103", "bitmap-142.png", 81, 103, 393, 112},
    {"time bar right cap", "bitmap-144.png", 81, 103, 393, 112, 5},
};

TEST(BuiltInPictures, PicturesAreDrawnOnTheColourOfTheBackgroundWhereTheyLand) {
  const wxImage background = DecodePicture("bitmap-130.png");
  ASSERT_TRUE(background.IsOk());
  for (const Landing& landing : kLandings) {
    SCOPED_TRACE(landing.what);
    const wxImage picture = DecodePicture(landing.picture);
    ASSERT_TRUE(picture.IsOk());
    const Rgb ground = PixelAt(picture, landing.groundX, 0);
    for (int y = landing.top; y < landing.bottom; ++y) {
      for (int x = landing.left; x < landing.right; ++x) {
        ASSERT_EQ(PixelAt(background, x, y), ground)
            << "background at (" << x << ", " << y << ") is " << Describe(PixelAt(background, x, y))
            << ", " << landing.picture << " is drawn on " << Describe(ground);
      }
    }
  }
  // The mode icons' rounded corners, at the prompt icon's and the answer icon's place.
  for (const char* icon : {"bitmap-136.png", "bitmap-137.png", "bitmap-138.png"}) {
    const wxImage picture = DecodePicture(icon);
    ASSERT_TRUE(picture.IsOk());
    for (const wxPoint place : {wxPoint(23, 11), wxPoint(23, 55)}) {
      for (const wxPoint corner : {wxPoint(0, 0), wxPoint(24, 0), wxPoint(0, 24), wxPoint(24, 24)}) {
        EXPECT_EQ(PixelAt(background, place.x + corner.x, place.y + corner.y),
                  PixelAt(picture, corner.x, corner.y))
            << icon << " at (" << place.x << ", " << place.y << "), corner (" << corner.x << ", "
            << corner.y << ")";
      }
    }
  }
}

TEST(BuiltInPictures, EveryFrameOfADigitStripSharesOneBackground) {
  for (const char* name : {"bitmap-132.png", "bitmap-133.png", "bitmap-134.png"}) {
    SCOPED_TRACE(name);
    const wxImage strip = DecodePicture(name);
    ASSERT_TRUE(strip.IsOk());
    const int cell = strip.GetWidth() / 10;
    const int bottom = strip.GetHeight() - 1;
    for (int digit = 0; digit < 10; ++digit) {
      for (const wxPoint corner : {wxPoint(0, 0), wxPoint(cell - 1, 0), wxPoint(0, bottom),
                                   wxPoint(cell - 1, bottom)}) {
        EXPECT_EQ(PixelAt(strip, digit * cell + corner.x, corner.y), PixelAt(strip, 0, 0))
            << "digit " << digit;
      }
    }
  }
}

// ---------------------------------------------------------------------------------------------

constexpr SoundId kSounds[] = {SoundId::kCorrect, SoundId::kWrong, SoundId::kRunFinished,
                               SoundId::kFavouriteHit, SoundId::kFavouriteMissed};

std::string SoundAsset(SoundId sound) { return SoundAssetName(sound); }

TEST(BuiltInSounds, EverySoundDecodesAndIsShort) {
  for (SoundId sound : kSounds) {
    const std::string name = SoundAsset(sound);
    SCOPED_TRACE(name);
    std::optional<AssetData> asset = FindAsset(name);
    ASSERT_TRUE(asset.has_value());
    SDL_AudioSpec format;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV_RW(SDL_RWFromConstMem(asset->data, static_cast<int>(asset->size)), 1,
                             &format, &samples, &length),
              nullptr)
        << SDL_GetError();
    const double bytesPerSecond =
        static_cast<double>(format.freq) * format.channels * (SDL_AUDIO_BITSIZE(format.format) / 8);
    const double seconds = length / bytesPerSecond;
    SDL_FreeWAV(samples);
    EXPECT_GT(seconds, 0.1);
    EXPECT_LT(seconds, 2.5) << "a sound is cut off by the next one; keep it short";
  }
}

TEST(SdlSoundPlayer, ANewSoundReplacesTheOnePlaying) {
  // SDL's dummy device takes the queued sound at the speed of real playback.
  ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
  SdlSoundPlayer player;
  ASSERT_TRUE(player.HasDevice());
  for (SoundId sound : kSounds) {
    EXPECT_GT(player.SoundBytes(sound), 0u) << SoundAsset(sound);
  }
  const std::size_t fanfare = player.SoundBytes(SoundId::kRunFinished);
  const std::size_t chime = player.SoundBytes(SoundId::kCorrect);
  ASSERT_GT(fanfare, 2 * chime);

  player.Play(SoundId::kRunFinished);
  const std::uint32_t queued = player.QueuedBytes();
  EXPECT_GT(queued, chime) << "the fanfare should be queued";
  EXPECT_LE(queued, fanfare);

  player.Play(SoundId::kCorrect);
  EXPECT_LE(player.QueuedBytes(), chime) << "the rest of the fanfare should be gone";
  EXPECT_GT(player.QueuedBytes(), 0u);
}

// The voice's recordings go through the same device, converted to its format; stopping one
// leaves a sound queued since alone, and what is no WAV is not played.
TEST(SdlSoundPlayer, RecordingsArePlayedInTheDevicesFormat) {
  ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
  const std::string wav = RecordingBytes(), garbage = "RIFF but nothing more";
  SdlSoundPlayer player;
  ASSERT_TRUE(player.HasDevice());
  const std::size_t chime = player.SoundBytes(SoundId::kCorrect);

  ASSERT_TRUE(player.PlayRecording(wav));
  const std::uint32_t second = 22050 * 2;  // the built-in sounds' format
  EXPECT_GT(player.QueuedBytes(), second * 9 / 10);
  EXPECT_LE(player.QueuedBytes(), second);
  player.StopRecording();
  EXPECT_EQ(player.QueuedBytes(), 0u);

  ASSERT_TRUE(player.PlayRecording(wav));
  player.Play(SoundId::kCorrect);
  player.StopRecording();
  EXPECT_GT(player.QueuedBytes(), 0u) << "the sound plays on";
  EXPECT_LE(player.QueuedBytes(), chime);

  EXPECT_FALSE(player.PlayRecording(garbage));
  EXPECT_FALSE(player.PlayRecording(""));
}

TEST(SdlSoundPlayer, WithoutASoundDeviceEverySoundIsSilent) {
  ScopedEnvironment driver("SDL_AUDIODRIVER", "verselane-no-such-device");
  SdlSoundPlayer player;
  EXPECT_FALSE(player.HasDevice());
  for (SoundId sound : kSounds) player.Play(sound);
  EXPECT_EQ(player.QueuedBytes(), 0u);
}

// ---------------------------------------------------------------------------------------------

std::string ReadAll(wxInputStream& stream) {
  std::string bytes;
  char buffer[4096];
  while (!stream.Eof()) {
    stream.Read(buffer, sizeof buffer);
    if (stream.LastRead() == 0) break;
    bytes.append(buffer, stream.LastRead());
  }
  return bytes;
}

// A file of the built-in book, or nothing.
std::optional<std::string> ReadFromBook(const wxString& location) {
  wxFileSystem files;
  std::unique_ptr<wxFSFile> file(files.OpenFile(location));
  if (file == nullptr || file->GetStream() == nullptr) return std::nullopt;
  return ReadAll(*file->GetStream());
}

wxString WithoutAnchor(const wxString& page) { return page.BeforeFirst('#'); }

// Where a page breaks a line beside a Japanese (non-ASCII) character outside <pre>: the help
// window would show a space there, which Japanese text has none of. npos when nowhere.
std::size_t BreakBesideJapanese(const std::string& html) {
  bool preformatted = false;
  for (std::size_t at = 0; at < html.size(); ++at) {
    if (html.compare(at, 5, "<pre>") == 0) preformatted = true;
    if (html.compare(at, 6, "</pre>") == 0) preformatted = false;
    if (preformatted || html[at] != '\n') continue;
    const std::size_t next = html.find_first_not_of(" \t", at + 1);
    const bool before = at > 0 && static_cast<unsigned char>(html[at - 1]) >= 0x80;
    const bool after = next != std::string::npos && static_cast<unsigned char>(html[next]) >= 0x80;
    if (before || after) return at;
  }
  return std::string::npos;
}

// `html` without its line breaks, the indentation after them and the <wbr> that stand for them.
std::string WithoutLineBreaks(const std::string& html) {
  std::string joined;
  for (std::size_t at = 0; at < html.size(); ++at) {
    if (html.compare(at, 5, "<wbr>") == 0) {
      at += 4;
      continue;
    }
    if (html[at] != '\n') {
      joined += html[at];
      continue;
    }
    while (at + 1 < html.size() && (html[at + 1] == ' ' || html[at + 1] == '\t')) ++at;
  }
  return joined;
}

TEST(HelpBook, HoldsItsTitledContentsIndexAndPages) {
  const wxString book = HelpBookLocation();
  ASSERT_FALSE(book.empty()) << "no help book is built in";
  wxHtmlHelpData data;
  ASSERT_TRUE(data.AddBook(book));
  ASSERT_EQ(data.GetBookRecArray().size(), 1u);
  const wxHtmlBookRecord& record = data.GetBookRecArray()[0];
  EXPECT_EQ(record.GetTitle().utf8_string(), "Verselane ヘルプ");
  EXPECT_EQ(record.GetStart(), "01_hajimeni.html");

  // The contents name every page; a name read in the wrong character set would come out empty.
  std::set<std::string> contentsPages;
  bool firstPageNamed = false;
  const wxHtmlHelpDataItems& contents = data.GetContentsArray();
  for (std::size_t i = 0; i < contents.size(); ++i) {
    const wxHtmlHelpDataItem& item = contents[i];
    EXPECT_FALSE(item.name.empty()) << "contents entry for " << item.page.utf8_string();
    contentsPages.insert(WithoutAnchor(item.page).utf8_string());
    if (item.page == "01_hajimeni.html" && item.name.utf8_string() == "はじめに・遊びかた") {
      firstPageNamed = true;
    }
  }
  EXPECT_TRUE(firstPageNamed);
  EXPECT_GE(contentsPages.size(), 7u);

  ASSERT_FALSE(data.GetIndexArray().empty());
  std::set<std::string> pages = contentsPages;
  const wxHtmlHelpDataItems& index = data.GetIndexArray();
  for (std::size_t i = 0; i < index.size(); ++i) {
    const wxHtmlHelpDataItem& item = index[i];
    EXPECT_FALSE(item.name.empty()) << "index entry for " << item.page.utf8_string();
    pages.insert(WithoutAnchor(item.page).utf8_string());
  }
  for (const std::string& page : pages) {
    SCOPED_TRACE(page);
    if (page.empty()) continue;  // the book's own entry
    std::optional<std::string> text = ReadFromBook(record.GetFullPath(wxString::FromUTF8(page)));
    ASSERT_TRUE(text.has_value()) << "named in the contents or the index but not in the book";
    EXPECT_NE(text->find("<h2>"), std::string::npos) << "a page without a heading";
    const std::size_t space = BreakBesideJapanese(*text);
    EXPECT_EQ(space, std::string::npos)
        << "a line break shown as a space: ..." << text->substr(space < 30 ? 0 : space - 30, 60);
  }
  // The first page shows the game screen.
  EXPECT_TRUE(ReadFromBook(record.GetFullPath("gamen.png")).has_value());
}

#ifdef VERSELANE_ASSET_SOURCE_DIR
TEST(HelpBook, IsZippedFromTheHelpSourcesAsTheyAreNow) {
  const std::filesystem::path sources = std::filesystem::path(VERSELANE_ASSET_SOURCE_DIR) / "help";
  const wxString book = HelpBookLocation();
  ASSERT_FALSE(book.empty());
  std::set<std::string> sourceNames;
  for (const auto& entry : std::filesystem::directory_iterator(sources)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".html" && extension != ".png" && extension != ".hhp" && extension != ".hhc" &&
        extension != ".hhk") {
      continue;
    }
    const std::string name = entry.path().filename().string();
    sourceNames.insert(name);
    std::ifstream file(entry.path(), std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::optional<std::string> inBook = ReadFromBook(book + "#zip:" + wxString::FromUTF8(name));
    ASSERT_TRUE(inBook.has_value()) << name << " is missing from the book: run tools/make-help.py";
    // The book's pages have the line breaks beside Japanese text made <wbr>.
    const bool page = extension == ".html";
    EXPECT_TRUE(page ? WithoutLineBreaks(*inBook) == WithoutLineBreaks(expected)
                     : *inBook == expected)
        << name << " changed since the book was made: run tools/make-help.py";
  }
  ASSERT_TRUE(sourceNames.count("01_hajimeni.html"));
  wxFileSystem files;
  for (wxString name = files.FindFirst(book + "#zip:*", wxFILE); !name.empty(); name = files.FindNext()) {
    const std::string file = name.AfterLast(':').AfterLast('/').utf8_string();
    EXPECT_TRUE(sourceNames.count(file)) << file << " is in the book but not in assets/help";
  }
}
#endif

// The help windows open now, shown or not.
std::vector<wxHtmlHelpFrame*> HelpWindows() {
  std::vector<wxHtmlHelpFrame*> windows;
  for (wxWindow* window : wxTopLevelWindows) {
    if (auto* help = dynamic_cast<wxHtmlHelpFrame*>(window); help != nullptr && !help->IsBeingDeleted()) {
      windows.push_back(help);
    }
  }
  return windows;
}

bool NoHelpWindowShown() {
  for (wxHtmlHelpFrame* window : HelpWindows()) {
    if (window->IsShown()) return false;
  }
  return true;
}

TEST(ShowHelp, OpensOneHelpWindowOnTheFirstPageAndCloseHelpClosesIt) {
  auto* owner = new wxFrame(nullptr, wxID_ANY, "owner");
  owner->Show();
  ShowHelp(owner);
  ASSERT_TRUE(uitest::RunEventsUntil([] { return !NoHelpWindowShown(); }));
  ASSERT_EQ(HelpWindows().size(), 1u);
  wxHtmlWindow* page = HelpWindows()[0]->GetHelpWindow()->GetHtmlWindow();
  EXPECT_TRUE(page->GetOpenedPage().EndsWith("01_hajimeni.html")) << page->GetOpenedPage().utf8_string();
  EXPECT_FALSE(page->GetOpenedPageTitle().empty());

  ShowHelp(owner);  // again: the same window comes forward
  uitest::RunEventsFor(50);
  EXPECT_EQ(HelpWindows().size(), 1u);

  CloseHelp();
  EXPECT_TRUE(uitest::RunEventsUntil(NoHelpWindowShown));
  owner->Destroy();
  EXPECT_TRUE(uitest::RunEventsUntil([] { return HelpWindows().empty(); }));
}

TEST(ShowHelp, EscClosesItAndItsContentsShowEveryTitleWhole) {
  auto* owner = new wxFrame(nullptr, wxID_ANY, "owner");
  owner->Show();
  ShowHelp(owner);
  ASSERT_TRUE(uitest::RunEventsUntil([] { return !NoHelpWindowShown(); }));
  wxHtmlHelpFrame* frame = HelpWindows()[0];
  uitest::RunEventsFor(100);
  wxTreeCtrl* tree = frame->GetHelpWindow()->GetTreeCtrl();
  int titles = 0;
  wxTreeItemIdValue cookie;
  std::vector<wxTreeItemId> items{tree->GetRootItem()};
  while (!items.empty()) {
    const wxTreeItemId item = items.back();
    items.pop_back();
    if (item != tree->GetRootItem()) {
      SCOPED_TRACE(tree->GetItemText(item).utf8_string());
      wxRect text;
      EXPECT_TRUE(tree->IsVisible(item)) << "a title not shown";
      ASSERT_TRUE(tree->GetBoundingRect(item, text, true));
      EXPECT_LE(text.GetRight(), tree->GetClientSize().x) << "a title cut off";
      ++titles;
    }
    for (wxTreeItemId child = tree->GetFirstChild(item, cookie); child.IsOk();
         child = tree->GetNextChild(item, cookie)) {
      items.push_back(child);
    }
  }
  EXPECT_GE(titles, 8);  // the book and its seven pages

  // The reader clicks into the page, then presses Esc.
  wxHtmlWindow* page = frame->GetHelpWindow()->GetHtmlWindow();
  const wxRect area = page->GetScreenRect();
  wxUIActionSimulator player;
  player.MouseMove(area.x + area.width / 2, area.y + area.height - 10);
  uitest::RunEventsFor(50);
  player.MouseClick();
  uitest::RunEventsFor(100);
  player.Char(WXK_ESCAPE);
  EXPECT_TRUE(uitest::RunEventsUntil(NoHelpWindowShown));
  owner->Destroy();
  uitest::RunEventsUntil([] { return HelpWindows().empty(); });
}

// Every entry of the index file, by name, with the page and section it names: each name, in the
// order written, goes with the first page named after it.
std::map<std::string, std::string> IndexFileEntries(const std::string& hhk) {
  std::map<std::string, std::string> entries;
  const std::regex param(R"re(<param name="(Name|Local)" value="([^"]*)">)re");
  std::string name;
  for (auto it = std::sregex_iterator(hhk.begin(), hhk.end(), param); it != std::sregex_iterator();
       ++it) {
    if ((*it)[1] == "Name") {
      EXPECT_TRUE(entries.emplace((*it)[2], "").second) << "named twice: " << (*it)[2];
      name = (*it)[2];
    } else if (!name.empty() && entries[name].empty()) {
      entries[name] = (*it)[2];
    }
  }
  return entries;
}

// The window's own controls of a kind, in the order made.
template <typename Control>
void FindControls(wxWindow* window, std::vector<Control*>& found) {
  if (auto* control = dynamic_cast<Control*>(window)) found.push_back(control);
  for (wxWindow* child : window->GetChildren()) FindControls(child, found);
}

// Each entry of the index is its own and opens the page, at the section, its file names for it.
TEST(ShowHelp, EveryIndexEntryOpensThePageAndSectionItNames) {
  const std::optional<std::string> hhk = ReadFromBook(HelpBookLocation() + "#zip:verselane.hhk");
  ASSERT_TRUE(hhk.has_value());
  const std::map<std::string, std::string> named = IndexFileEntries(*hhk);
  ASSERT_GE(named.size(), 57u);
  auto* owner = new wxFrame(nullptr, wxID_ANY, "owner");
  owner->Show();
  ShowHelp(owner);
  ASSERT_TRUE(uitest::RunEventsUntil([] { return !NoHelpWindowShown(); }));
  wxHtmlHelpWindow* help = HelpWindows()[0]->GetHelpWindow();
  std::vector<wxListBox*> lists;
  FindControls(help, lists);
  wxListBox* index = nullptr;  // the search results are empty yet
  for (wxListBox* list : lists) {
    if (list->GetCount() > 0) index = list;
  }
  ASSERT_NE(index, nullptr);
  EXPECT_EQ(index->GetCount(), named.size()) << "entries lost or run together";
  wxHtmlWindow* page = help->GetHtmlWindow();
  for (unsigned i = 0; i < index->GetCount(); ++i) {
    const std::string name = index->GetString(i).utf8_string();
    SCOPED_TRACE(name);
    const auto entry = named.find(name);
    ASSERT_NE(entry, named.end()) << "not in the index file";
    index->SetSelection(static_cast<int>(i));
    wxCommandEvent chosen(wxEVT_LISTBOX, index->GetId());
    chosen.SetEventObject(index);
    chosen.SetInt(static_cast<int>(i));
    index->GetEventHandler()->ProcessEvent(chosen);
    const wxString file = WithoutAnchor(wxString::FromUTF8(entry->second));
    const wxString section = wxString::FromUTF8(entry->second).AfterFirst('#');
    EXPECT_TRUE(page->GetOpenedPage().EndsWith(file)) << page->GetOpenedPage().utf8_string();
    EXPECT_EQ(page->GetOpenedAnchor(), section);
    if (!section.empty()) {
      EXPECT_NE(page->GetInternalRepresentation()->Find(wxHTML_COND_ISANCHOR, &section), nullptr)
          << "the page has no section " << section.utf8_string();
    }
  }
  owner->Destroy();
  uitest::RunEventsUntil([] { return HelpWindows().empty(); });
}

// Japanese text has no spaces to break at: narrowed, the window still wraps every page within
// its width. Neither opening it nor narrowing it, nor its index, troubles GTK.
TEST(ShowHelp, ItsPagesWrapInANarrowWindowAndGtkHasNothingToSay) {
  auto* owner = new wxFrame(nullptr, wxID_ANY, "owner");
  owner->Show();
  testing::internal::CaptureStderr();
  ShowHelp(owner);
  ASSERT_TRUE(uitest::RunEventsUntil([] { return !NoHelpWindowShown(); }));
  wxHtmlHelpFrame* frame = HelpWindows()[0];
  uitest::RunEventsFor(200);
  frame->SetSize(wxSize(560, 400));
  uitest::RunEventsFor(200);
  std::vector<wxNotebook*> tabs;
  FindControls(frame, tabs);
  for (wxNotebook* notebook : tabs) {
    for (std::size_t tab = 0; tab < notebook->GetPageCount(); ++tab) {
      notebook->SetSelection(tab);
      uitest::RunEventsFor(100);
    }
  }
  // The text of each page; a preformatted block (a command, a file's lines) keeps its lines.
  wxHtmlWindow* page = frame->GetHelpWindow()->GetHtmlWindow();
  const wxHtmlHelpDataItems& contents = frame->GetHelpWindow()->GetData()->GetContentsArray();
  const std::regex preformatted("<pre>[^]*?</pre>");
  for (std::size_t i = 0; i < contents.size(); ++i) {
    if (contents[i].page.empty()) continue;
    SCOPED_TRACE(contents[i].page.utf8_string());
    const std::optional<std::string> html = ReadFromBook(contents[i].GetFullPath());
    ASSERT_TRUE(html.has_value());
    ASSERT_TRUE(page->SetPage(wxString::FromUTF8(std::regex_replace(*html, preformatted, ""))));
    uitest::RunEventsFor(50);
    std::string wide;
    const wxHtmlContainerCell* text = page->GetInternalRepresentation();
    for (wxHtmlTerminalCellsInterator cells(text->GetFirstTerminal(), text->GetLastTerminal());
         cells; ++cells) {
      if (dynamic_cast<const wxHtmlWordCell*>(*cells) == nullptr) continue;  // the pictures
      if (cells->GetAbsPos().x + cells->GetWidth() <= page->GetClientSize().x) continue;
      wide += " " + cells->ConvertToText(nullptr).utf8_string();
    }
    EXPECT_EQ(wide, "") << "words past the window's right edge";
  }
  const std::string written = testing::internal::GetCapturedStderr();
  EXPECT_EQ(written.find("Gtk-CRITICAL"), std::string::npos) << written;
  owner->Destroy();
  uitest::RunEventsUntil([] { return HelpWindows().empty(); });
}

// The help opens at the zoom of the window it belongs to: its window, its controls and its pages.
TEST(ShowHelp, OpensAtTheZoomOfItsOwner) {
  class Owner : public wxFrame, public ZoomedWindow {
   public:
    explicit Owner(double zoom) : wxFrame(nullptr, wxID_ANY, "owner"), zoom_(zoom) {}
    double zoom() const override { return zoom_; }

   private:
    double zoom_;
  };
  struct Look {
    wxSize window;
    int treePoints = 0;
    int headingHeight = 0;
  } looks[2];
  for (int i = 0; i < 2; ++i) {
    auto* owner = new Owner(i == 0 ? 1.0 : 1.5);
    owner->Show();
    ShowHelp(owner);
    ASSERT_TRUE(uitest::RunEventsUntil([] { return !NoHelpWindowShown(); }));
    uitest::RunEventsFor(100);
    wxHtmlHelpFrame* frame = HelpWindows()[0];
    looks[i].window = frame->GetSize();
    looks[i].treePoints = frame->GetHelpWindow()->GetTreeCtrl()->GetFont().GetPointSize();
    looks[i].headingHeight =
        frame->GetHelpWindow()->GetHtmlWindow()->GetInternalRepresentation()->GetFirstTerminal()
            ->GetHeight();
    owner->Destroy();
    ASSERT_TRUE(uitest::RunEventsUntil([] { return HelpWindows().empty(); }));
  }
  EXPECT_EQ(looks[1].window.x, looks[0].window.x * 3 / 2);
  EXPECT_EQ(looks[1].window.y, looks[0].window.y * 3 / 2);
  EXPECT_NEAR(looks[1].treePoints, looks[0].treePoints * 1.5, 1);
  EXPECT_GE(looks[1].headingHeight, looks[0].headingHeight * 1.3);
}

TEST(DesktopLanguage, WxsOwnTextsFollowTheDesktopsLanguage) {
  {
    ScopedEnvironment all("LC_ALL", "ja_JP.UTF-8");
    ScopedEnvironment messages("LC_MESSAGES", "ja_JP.UTF-8");
    ScopedEnvironment language("LANG", "ja_JP.UTF-8");
    DesktopLanguage japanese;
    EXPECT_EQ(wxGetTranslation("Contents").utf8_string(), "目次") << "the help window's tab";
    EXPECT_EQ(wxGetTranslation("Please choose an existing file.").utf8_string(),
              "存在するファイルを選んでください。");
  }
  EXPECT_EQ(wxGetTranslation("Contents").utf8_string(), "Contents") << "English again after it";
}

// GTK translates its own texts (the file windows' buttons and columns) through the C library's
// locale, which wxGTK leaves at "C" for the program to set; its numbers stay C's.
TEST(DesktopLanguage, GtksOwnTextsFollowTheDesktopsLocaleButNotItsNumbers) {
  for (const auto& [name, cancel] :
       {std::pair{"ja_JP.UTF-8", "キャンセル(_C)"}, std::pair{"de_DE.UTF-8", "_Abbrechen"}}) {
    SCOPED_TRACE(name);
    const TestLocale available(name);
    if (!available.usable()) GTEST_SKIP() << available.why();
    std::setlocale(LC_ALL, "C");  // as the program starts
    ScopedEnvironment all("LC_ALL", name);
    ScopedEnvironment language("LANGUAGE", "");
    {
      DesktopLanguage desktop;
      EXPECT_STREQ(dgettext("gtk30", "_Cancel"), cancel);
      char number[16];
      std::snprintf(number, sizeof number, "%.2f", 0.85);
      EXPECT_STREQ(number, "0.85");
    }
    EXPECT_STREQ(dgettext("gtk30", "_Cancel"), "_Cancel") << "the C locale again after it";
  }
}

TEST(ShowHelp, TheHelpWindowClosesWithItsOwnerAndOpensAgainForTheNext) {
  auto* owner = new wxFrame(nullptr, wxID_ANY, "owner");
  owner->Show();
  ShowHelp(owner);
  ASSERT_TRUE(uitest::RunEventsUntil([] { return !NoHelpWindowShown(); }));
  owner->Destroy();
  EXPECT_TRUE(uitest::RunEventsUntil([] { return HelpWindows().empty(); }));

  auto* next = new wxFrame(nullptr, wxID_ANY, "next owner");
  next->Show();
  ShowHelp(next);
  EXPECT_TRUE(uitest::RunEventsUntil([] { return !NoHelpWindowShown(); }));
  next->Destroy();
  EXPECT_TRUE(uitest::RunEventsUntil([] { return HelpWindows().empty(); }));
}

}  // namespace
}  // namespace verselane
