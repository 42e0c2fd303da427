// The game screen: one frame of the engine's GameFrame painted from the bitmaps and fonts,
// element by element in a fixed order and at fixed places, on the Canvas. No wx here.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "game/desktop_ports.h"
#include "ui/canvas.h"

namespace verselane {

struct GameFrame;

// Where the elements of the screen go, in client pixels.
struct ScreenBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

namespace screen {
inline constexpr int kPromptIconX = 23, kPromptIconY = 11;
inline constexpr int kAnswerIconX = 23, kAnswerIconY = 55;
inline constexpr ScreenBox kPromptBox{76, 8, 308, 42};
inline constexpr ScreenBox kAnswerBox{76, 60, 308, 28};
inline constexpr int kMarkerX = 70, kMarkerY = 62;
inline constexpr ScreenBox kBannerBox{70, 53, 308, 41};
inline constexpr ScreenBox kPopupBox{76, 54, 308, 42};
inline constexpr int kTimeBarY = 103;
inline constexpr int kTimeBarLeftX = 81, kTimeBarBodyX = 87, kTimeBarRightX = 387;
inline constexpr int kCorrectCountRight = 45, kCorrectCountY = 98;
inline constexpr int kAskedCountRight = 52, kAskedCountY = 126;
inline constexpr int kCorrectRateRight = 137, kCorrectRateY = 126;
inline constexpr int kScoreRight = 260, kScoreY = 132;
inline constexpr int kClockX = 320, kClockY = 132;
inline constexpr Rgb kPromptColour{100, 100, 100};
// The prompt font, and the two faces the pop-up and the banners use.
inline constexpr int kPromptHeight = 25, kPromptWeight = 800;
inline constexpr int kBannerHeight = 35, kBannerWeight = 900;
inline constexpr int kShrinkWeight = 800;
inline constexpr const char* kBannerFace = "Arial Black";
// The hint at the foot of the prompt's panel, right-aligned under the prompt.
inline constexpr ScreenBox kHintBox{76, 40, 304, 12};
inline constexpr int kHintHeight = 11, kHintWeight = 400;
inline constexpr Rgb kHintColour{150, 150, 150};
// After a miss the answer panel holds three lines in a small face, each with its marked part in
// bold: the answer given, the phrase as written and its reading. All stay inside the panel,
// whose lower edge is at y = 94.
inline constexpr ScreenBox kMissBox{76, 55, 308, 12};
inline constexpr ScreenBox kMissWrittenBox{76, 67, 308, 13};
inline constexpr ScreenBox kMissReadingBox{76, 80, 308, 13};
inline constexpr int kMissHeight = 12, kMissExpectedHeight = 13;
inline constexpr int kMissWeight = 400, kMissMarkWeight = 800;
}  // namespace screen

// The screen's pictures, by list and place.
enum ImageIndex : int {
  kImageBackground = 0,
  kImageColon = 1,
  kImageUpperIcon = 2,
  kImageLowerIcon = 3,
  kImagePoetIcon = 4,
  kImageMarker = 5,      // 5 frames
  kImagePortraits = 6,   // 7 frames (the results dialog's)
  kImageBarLeft = 7,     // 3 frames, one per question mode
  kImageBarBody = 8,     // 3 frames
  kImageBarRight = 9,    // 3 frames
};
enum DigitIndex : int {
  kDigitsLarge = 0,
  kDigitsSmall = 1,
  kDigitsSecond = 2,
};
// The files of assets/ that hold them, in ImageIndex and DigitIndex order.
inline constexpr std::string_view kImageFiles[] = {
    "bitmap-130.png", "bitmap-135.png", "bitmap-136.png", "bitmap-137.png", "bitmap-138.png",
    "bitmap-139.png", "bitmap-141.png", "bitmap-142.png", "bitmap-143.png", "bitmap-144.png"};
inline constexpr std::string_view kDigitFiles[] = {"bitmap-132.png", "bitmap-133.png",
                                                   "bitmap-134.png"};

class GameScreen : public ScreenPort {
 public:
  GameScreen(Canvas& canvas, NoticePort& errors);

  // One frame cycle: open drawing, paint `frame`, present, close drawing.
  bool DrawFrame(const GameFrame& frame) override;

  // The two bitmap lists, and the widths taken from them.
  bool LoadPictures(BitmapLoader& loader);
  // The prompt font and the pop-up font (made again with its own values before each use).
  bool CreateFonts();

  // Paints `frame` into the back buffer (drawing must be open); stops at the first step that
  // fails and returns false.
  bool Draw(const GameFrame& frame);

  const BitmapList& digits() const { return digits_; }
  int largeDigitWidth() const { return largeDigitWidth_; }
  int smallDigitWidth() const { return smallDigitWidth_; }
  int colonWidth() const { return colonWidth_; }

 private:
  bool DrawIcons(const GameFrame& frame);
  bool DrawPrompt(const GameFrame& frame);
  bool DrawTallies(const GameFrame& frame);
  bool DrawClock(const GameFrame& frame);
  bool DrawMarker(const GameFrame& frame);
  bool DrawPopup(const GameFrame& frame);
  bool DrawMiss(const GameFrame& frame);
  // One line of the miss, its own fonts, and where its mark begins.
  struct MarkedLine;
  // `text` with its bytes from `markFrom` on in bold and in the mark's colour, in the largest
  // height up to `maxHeight` at which the whole line fits `box`.
  bool DrawMarked(MarkedLine& line, std::string_view text, std::size_t markFrom, ScreenBox box,
                  int maxHeight, Rgb colour, Rgb markColour);
  // The line's two fonts at `height`, and the widths of its two parts in them.
  bool MakeMarkedFonts(MarkedLine& line, int height);
  std::pair<int, int> MarkedWidths(const MarkedLine& line, std::string_view agreed,
                                   std::string_view marked);
  bool DrawBanner(const GameFrame& frame);
  bool DrawTimeBar(const GameFrame& frame);
  bool DrawHint(const GameFrame& frame);

  // Draws `text` in `font` (made from `own`). While the text is too wide for the box the font is
  // made again one height smaller from `shrunk` and the text tried again, down to height 1; a
  // shrunk font is set back to `own` afterwards. False when the text never fits.
  bool DrawFitted(CanvasFont& font, const FontSpec& own, FontSpec shrunk, std::string_view text,
                  ScreenBox box, char alignment);
  bool Recreate(CanvasFont& font, const FontSpec& setup);

  Canvas& canvas_;
  BitmapList images_;
  BitmapList digits_;
  CanvasFont promptFont_;
  CanvasFont popupFont_;
  // Each line of a miss keeps its fonts from frame to frame: the fade draws it eleven times.
  struct MarkedLine {
    CanvasFont font;
    CanvasFont markFont;
  };
  MarkedLine missAnswer_;
  MarkedLine missWritten_;
  MarkedLine missReading_;
  int largeDigitWidth_ = 0;
  int smallDigitWidth_ = 0;
  int colonWidth_ = 0;
  NoticePort& errors_;
  // The height a text was last fitted at, by text, fonts and box: fitting steps through the
  // heights one by one and costs a measurement each, while a pop-up is drawn eleven times over.
  std::unordered_map<std::string, int> fittedHeights_;
};

}  // namespace verselane
