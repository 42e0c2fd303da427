// The game screen painted from frame data: which bitmaps, digits and texts go where, in which
// order, colour and font, and how the prompt and the pop-up are fitted by shrinking the font.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/file_fakes.h"
#include "game/frame.h"
#include "recording_surface.h"
#include "ui/game_screen.h"

namespace verselane {
namespace {

using uitest::FakeBitmapLoader;
using uitest::RecordingSurface;
using uitest::SurfaceCall;

// One call as a line: "copy 133 [9+9] at 320,132", "stretch 143 [0+1] to 87,103 300x9",
// "text 'START !!' at 1,2".
std::string Describe(const SurfaceCall& call) {
  switch (call.kind) {
    case SurfaceCall::kCopy:
      return "copy " + std::to_string(call.bitmap) + " [" + std::to_string(call.sourceX) + "+" +
             std::to_string(call.sourceWidth) + "] at " + std::to_string(call.x) + "," +
             std::to_string(call.y);
    case SurfaceCall::kStretch:
      return "stretch " + std::to_string(call.bitmap) + " [" + std::to_string(call.sourceX) + "+" +
             std::to_string(call.sourceWidth) + "] to " + std::to_string(call.x) + "," +
             std::to_string(call.y) + " " + std::to_string(call.width) + "x" +
             std::to_string(call.height);
    case SurfaceCall::kText:
      return "text at " + std::to_string(call.x) + "," + std::to_string(call.y);
  }
  return {};
}

std::vector<std::string> Describe(const std::vector<SurfaceCall>& calls) {
  std::vector<std::string> lines;
  for (const SurfaceCall& call : calls) lines.push_back(Describe(call));
  return lines;
}

// The frame a reset game shows.
GameFrame IdleFrame() { return GameFrame{}; }

class GameScreenTest : public ::testing::Test {
 protected:
  GameScreenTest() {
    EXPECT_TRUE(screen.LoadPictures(loader));
    EXPECT_TRUE(screen.CreateFonts());
    EXPECT_TRUE(canvas.CreateBackBuffer(400, 150));
  }

  // Paints `frame` as a frame cycle does and returns what was drawn.
  std::vector<SurfaceCall> Paint(const GameFrame& frame) {
    surface.calls.clear();
    drawn = screen.DrawFrame(frame);
    return surface.calls;
  }

  RecordingSurface surface;
  FakeNotices errors;
  Canvas canvas{surface, errors};
  GameScreen screen{canvas, errors};
  FakeBitmapLoader loader = FakeBitmapLoader::GameScreenSizes();
  bool drawn = false;
};

TEST_F(GameScreenTest, LoadsBothListsAndTakesTheDigitAndColonWidths) {
  EXPECT_EQ(loader.loaded,
            (std::vector<int>{130, 135, 136, 137, 138, 139, 141, 142, 143, 144, 132, 133, 134}));
  EXPECT_EQ(screen.largeDigitWidth(), 14);
  EXPECT_EQ(screen.smallDigitWidth(), 9);
  EXPECT_EQ(screen.colonWidth(), 7);
  ASSERT_EQ(surface.fontsMade.size(), 2u);
  EXPECT_EQ(surface.fontsMade[0], (FontSpec{25, 800, kShiftJisCharset, ""})) << "prompt font";
  EXPECT_EQ(surface.fontsMade[1].height, 1) << "the pop-up font is made again before each use";
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(GameScreenTest, AMissingBitmapStopsTheStartWithItsErrorBoxes) {
  FakeNotices otherErrors;
  GameScreen other(canvas, otherErrors);
  FakeBitmapLoader incomplete = FakeBitmapLoader::GameScreenSizes();
  incomplete.sizes.erase(133);
  EXPECT_FALSE(other.LoadPictures(incomplete));
  ASSERT_EQ(otherErrors.shown.size(), 2u);
  EXPECT_EQ(otherErrors.shown[0].text,
            SjisLiteral("ERROR(LoadResource):リソースの読込に失敗しました"));
  EXPECT_EQ(otherErrors.shown[1].text,
            SjisLiteral("ERROR(LoadAllImgRes):ImgDataの読込に失敗しました"));
}

TEST_F(GameScreenTest, FontsThatCannotBeMadeStopTheStart) {
  FakeNotices otherErrors;
  RecordingSurface failing;
  failing.failFonts = true;
  Canvas otherCanvas(failing, otherErrors);
  GameScreen other(otherCanvas, otherErrors);
  EXPECT_FALSE(other.CreateFonts());
  ASSERT_FALSE(otherErrors.shown.empty());
  EXPECT_EQ(otherErrors.shown.back().text,
            SjisLiteral("ERROR(LoadAllFontRes):FontDataの読込に失敗しました"));
}

TEST_F(GameScreenTest, IdleFrameShowsBackgroundIconsZerosClockAndAFullTimeBar) {
  const auto calls = Paint(IdleFrame());
  EXPECT_TRUE(drawn);
  EXPECT_EQ(Describe(calls), (std::vector<std::string>{
                                 "copy 130 [0+400] at 0,0",
                                 "copy 136 [0+25] at 23,11",
                                 "copy 137 [0+25] at 23,55",
                                 "copy 132 [0+14] at 123,126",  // correct rate, ends at 137
                                 "copy 133 [0+9] at 251,132",   // score, ends at 260
                                 "copy 133 [0+9] at 36,98",     // correct counter, ends at 45
                                 "copy 133 [0+9] at 320,132",   // 00:00:00
                                 "copy 133 [0+9] at 329,132",
                                 "copy 135 [0+7] at 338,132",
                                 "copy 133 [0+9] at 345,132",
                                 "copy 133 [0+9] at 354,132",
                                 "copy 135 [0+7] at 363,132",
                                 "copy 133 [0+9] at 370,132",
                                 "copy 133 [0+9] at 379,132",
                                 "copy 134 [0+9] at 43,126",  // asked counter, ends at 52
                                 "copy 142 [0+6] at 81,103",
                                 "stretch 143 [0+1] to 87,103 300x9",
                                 "copy 144 [0+6] at 387,103",
                             }));
  EXPECT_TRUE(surface.Texts().empty()) << "no prompt, no START !!";
  EXPECT_EQ(surface.presents, 1);
  EXPECT_EQ(surface.drawingsBegun, surface.drawingsEnded);
}

TEST_F(GameScreenTest, NumbersAndTheClockShowTheFrameValues) {
  GameFrame frame = IdleFrame();
  frame.correctRate = 87;
  frame.score = 12345;
  frame.correctCount = 7;
  frame.askedCount = 8;
  frame.clock = {1, 2, 39};
  frame.colonShown = false;
  const auto lines = Describe(Paint(frame));
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end() - 3),
            (std::vector<std::string>{
                "copy 132 [112+14] at 109,126",  // 87
                "copy 132 [98+14] at 123,126",
                "copy 133 [9+9] at 215,132",  // 12345
                "copy 133 [18+9] at 224,132",
                "copy 133 [27+9] at 233,132",
                "copy 133 [36+9] at 242,132",
                "copy 133 [45+9] at 251,132",
                "copy 133 [63+9] at 36,98",     // 7
                "copy 133 [0+9] at 320,132",    // 01
                "copy 133 [9+9] at 329,132",
                "copy 133 [0+9] at 345,132",    // 02: the colon's place stays free
                "copy 133 [18+9] at 354,132",
                "copy 133 [27+9] at 370,132",   // 39
                "copy 133 [81+9] at 379,132",
                "copy 134 [72+9] at 43,126",    // 8
            }));
}

TEST_F(GameScreenTest, ModesChooseTheIconsAndTheTimeBarFrame) {
  GameFrame reverse = IdleFrame();
  reverse.mode = QuestionMode::Reverse;
  auto lines = Describe(Paint(reverse));
  EXPECT_EQ(lines[1], "copy 137 [0+25] at 23,11");
  EXPECT_EQ(lines[2], "copy 136 [0+25] at 23,55");
  EXPECT_EQ(lines[lines.size() - 3], "copy 142 [6+6] at 81,103");
  EXPECT_EQ(lines[lines.size() - 2], "stretch 143 [1+1] to 87,103 300x9");
  EXPECT_EQ(lines[lines.size() - 1], "copy 144 [6+6] at 387,103");

  GameFrame poet = IdleFrame();
  poet.mode = QuestionMode::Poet;
  lines = Describe(Paint(poet));
  EXPECT_EQ(lines[1], "copy 138 [0+25] at 23,11");
  EXPECT_EQ(lines[2], "copy 137 [0+25] at 23,55");
  EXPECT_EQ(lines.back(), "copy 144 [12+6] at 387,103");
}

TEST_F(GameScreenTest, TimeBarShowsItsCapsOnlyWhereTheWidthAllows) {
  auto tail = [&](int width) {
    GameFrame frame = IdleFrame();
    frame.timeBarWidth = width;
    const auto lines = Describe(Paint(frame));
    const auto asked = std::find(lines.begin(), lines.end(), "copy 134 [0+9] at 43,126");
    return std::vector<std::string>(asked + 1, lines.end());
  };
  EXPECT_TRUE(tail(0).empty());
  EXPECT_EQ(tail(1), (std::vector<std::string>{"copy 142 [0+6] at 81,103"}));
  EXPECT_EQ(tail(150), (std::vector<std::string>{"copy 142 [0+6] at 81,103",
                                                 "stretch 143 [0+1] to 87,103 148x9"}));
  EXPECT_EQ(tail(301), (std::vector<std::string>{"copy 142 [0+6] at 81,103",
                                                 "stretch 143 [0+1] to 87,103 299x9"}));
}

TEST_F(GameScreenTest, PromptIsGreyInThePromptFontLeftAndCentredDown) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Running;
  frame.promptShown = true;
  frame.prompt = SjisLiteral("あきの");  // 3 x 25 = 75 wide
  frame.markerShown = true;
  frame.markerFrame = 2;
  const auto calls = Paint(frame);
  const auto lines = Describe(calls);
  EXPECT_EQ(lines[3], "text at 76,16") << "(42 - 25) / 2 below the top of the box at 8";
  EXPECT_EQ(calls[3].text, frame.prompt);
  EXPECT_EQ(calls[3].colour, (Rgb{100, 100, 100}));
  EXPECT_EQ(calls[3].font, (FontSpec{25, 800, kShiftJisCharset, ""}));
  EXPECT_EQ(lines[4], "copy 132 [0+14] at 123,126") << "the numbers come after the prompt";
  const auto marker = std::find(lines.begin(), lines.end(), "copy 139 [14+7] at 70,62");
  ASSERT_NE(marker, lines.end());
  EXPECT_EQ(*(marker - 1), "copy 134 [0+9] at 43,126") << "the marker follows the counters";
}

TEST_F(GameScreenTest, APromptTooWideIsDrawnInTheLargestFontThatFitsAndNeverClipped) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Running;
  frame.promptShown = true;
  // 17 kana: 425 pixels at height 25, 306 at height 18, 323 at 19.
  frame.prompt = SjisLiteral("あきのたのかりほのいほのとまをあら");
  Paint(frame);
  const auto texts = surface.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font.height, 18);
  EXPECT_EQ(texts[0].font.weight, 800);
  EXPECT_LE(texts[0].width, 308);
  EXPECT_EQ(texts[0].x, 76);
  EXPECT_EQ(texts[0].y, 8 + (42 - 18) / 2);
  EXPECT_TRUE(drawn);

  // The next frame draws the same text the same way, and the prompt font is its own again.
  const std::size_t fontsBefore = surface.fontsMade.size();
  Paint(frame);
  ASSERT_EQ(surface.Texts().size(), 1u);
  EXPECT_EQ(surface.Texts()[0].font.height, 18);
  EXPECT_EQ(surface.fontsMade.back(), (FontSpec{25, 800, kShiftJisCharset, ""}));
  EXPECT_LE(surface.fontsMade.size() - fontsBefore, 3u)
      << "the height found is remembered, not searched again";
}

TEST_F(GameScreenTest, AFrameWhoseTextNeverFitsFailsAndStops) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Running;
  frame.promptShown = true;
  frame.prompt = std::string(309, 'a');  // 309 pixels even at height 1
  const auto lines = Describe(Paint(frame));
  EXPECT_FALSE(drawn);
  EXPECT_EQ(lines.size(), 3u) << "nothing after the failed step";
  EXPECT_TRUE(surface.Texts().empty());
  EXPECT_EQ(surface.fontsMade.back(), (FontSpec{25, 800, kShiftJisCharset, ""}));
  EXPECT_EQ(surface.presents, 0);
  EXPECT_EQ(surface.drawingsBegun, surface.drawingsEnded);
}

TEST_F(GameScreenTest, ScorePopUpUsesTheBannerFaceAndShrinksWithWeight800) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Running;
  frame.popupShown = true;
  frame.popupFrame = 10;
  frame.popupText = "+1000pt.  00:00:02";  // 18 bytes: 306 at 35 (17 each), fits
  frame.popupColour = {100, 100, 150};
  frame.popupFont = PopupFont::kScore;
  Paint(frame);
  auto texts = surface.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font, (FontSpec{35, 900, kAnsiCharset, "Arial Black"}));
  EXPECT_EQ(texts[0].colour, (Rgb{100, 100, 150}));
  EXPECT_EQ(texts[0].x, 76);
  EXPECT_EQ(texts[0].y, 54 + (42 - 35) / 2);

  frame.popupText = "+3000pt.  01:00:02";  // still 18 bytes
  frame.popupText += "xx";                 // 20 x 17 = 340: too wide
  Paint(frame);
  texts = surface.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font, (FontSpec{31, 800, kAnsiCharset, "Arial Black"})) << "20 x 15 = 300";
  EXPECT_EQ(surface.fontsMade.back(), (FontSpec{35, 900, kAnsiCharset, "Arial Black"}))
      << "set back to the height it had";
}

TEST_F(GameScreenTest, PenaltyPopUpStaysInTheJapaneseFaceAsItShrinks) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Running;
  frame.popupShown = true;
  frame.popupFrame = 0;
  frame.popupText = "-3000pt.  01:00:02";  // 18 bytes
  frame.popupText += "xx";                 // 20 x 17 = 340: too wide
  frame.popupColour = {200, 100, 100};
  frame.popupFont = PopupFont::kPenalty;
  Paint(frame);
  const auto texts = surface.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font, (FontSpec{31, 800, kShiftJisCharset, ""})) << "20 x 15 = 300";
  EXPECT_EQ(surface.fontsMade.back(), (FontSpec{35, 900, kShiftJisCharset, ""}));
}

TEST_F(GameScreenTest, WrongAnswerPopUpShowsTheReadingInTheJapaneseFace) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Running;
  frame.popupShown = true;
  frame.popupFrame = 0;
  frame.popupText = SjisLiteral("わがころもではつゆにぬれつつ");  // 14 x 25 = 350: shrinks
  frame.popupColour = {255, 255, 255};
  frame.popupFont = PopupFont::kReading;
  Paint(frame);
  const auto texts = surface.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].font, (FontSpec{22, 800, kShiftJisCharset, ""}));
  EXPECT_EQ(texts[0].colour, (Rgb{255, 255, 255}));
  EXPECT_LE(texts[0].width, 308);
}

// Three lines, each with its marked part in bold in the mark's colour right after the rest: the
// answer, the phrase as written (here marked, as a kanji answer would mark it), the reading.
TEST_F(GameScreenTest, AMissShowsTheAnswerOverThePhraseAsWrittenAndItsReading) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Running;
  frame.popupShown = true;
  frame.popupFrame = 0;
  frame.popupText = SjisLiteral("あきのたの");
  frame.popupColour = {200, 100, 100};
  frame.popupFont = PopupFont::kReading;
  frame.missShown = true;
  frame.missColour = {100, 100, 100};
  frame.missMarkColour = {190, 20, 20};
  frame.missWritten = SjisLiteral("秋の田の");
  frame.missWrittenMarkFrom = SjisLiteral("秋の").size();
  frame.missReadingMarkFrom = frame.popupText.size();
  const std::string agreed = SjisLiteral("入力：秋の");
  const std::string marked = SjisLiteral("ｘのたの");
  struct Case {
    std::string text;
    int height;
  };
  // 9 cells fit at the full height; the label and the longest answer (3 + 24 cells) only at
  // 308 / 27 = 11.
  const Case cases[] = {{agreed + marked, 12},
                        {agreed + marked + SjisLiteral("あいうえおかきくけこさしすせそたちつ"), 11}};
  for (const Case& c : cases) {
    frame.missText = c.text;
    frame.missMarkFrom = agreed.size();
    Paint(frame);
    EXPECT_TRUE(drawn);
    const auto texts = surface.Texts();
    ASSERT_EQ(texts.size(), 5u) << "the reading has no marked part";
    const std::string shown[] = {agreed, c.text.substr(agreed.size()), SjisLiteral("秋の"),
                                 SjisLiteral("田の"), frame.popupText};
    const int heights[] = {c.height, c.height, 13, 13, 13};
    const Rgb colours[] = {frame.missColour, frame.missMarkColour, frame.popupColour,
                           frame.missMarkColour, frame.popupColour};
    for (std::size_t n = 0; n < 5; ++n) {
      EXPECT_EQ(texts[n].text, shown[n]) << n;
      EXPECT_EQ(texts[n].font, (FontSpec{heights[n], n % 2 == 0 ? 400 : 800, kShiftJisCharset, ""}))
          << n;
      EXPECT_EQ(texts[n].colour, colours[n]) << n;
      EXPECT_EQ(texts[n].x, n % 2 == 0 ? 76 : texts[n - 1].x + texts[n - 1].width)
          << n << ": the marked part follows on";
      EXPECT_LE(texts[n].x + texts[n].width, 76 + 308) << n << ": never clipped";
    }
    EXPECT_LE(texts[0].y + texts[0].height, texts[2].y) << "the answer above the phrase";
    EXPECT_LE(texts[2].y + texts[2].height, texts[4].y) << "the phrase above its reading";
    EXPECT_LE(texts[4].y + texts[4].height, 94) << "inside the panel";
  }
}

TEST_F(GameScreenTest, BannersAreCentredInTheBannerFaceAndColour) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Paused;
  frame.bannerShown = true;
  frame.bannerText = "PAUSE";  // 5 x 17 = 85 wide, 35 high
  frame.bannerColour = {130, 130, 130};
  const auto calls = Paint(frame);
  const auto texts = surface.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "PAUSE");
  EXPECT_EQ(texts[0].font, (FontSpec{35, 900, kAnsiCharset, "Arial Black"}));
  EXPECT_EQ(texts[0].colour, (Rgb{130, 130, 130}));
  EXPECT_EQ(texts[0].x, 70 + (308 - 85) / 2);
  EXPECT_EQ(texts[0].y, 53 + (41 - 35) / 2);
  const auto lines = Describe(calls);
  EXPECT_EQ(lines[lines.size() - 4], "text at " + std::to_string(texts[0].x) + "," +
                                         std::to_string(texts[0].y))
      << "the banner comes just before the time bar";
}

TEST_F(GameScreenTest, TheHintIsDrawnLastAtTheFootOfThePromptPanel) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Paused;
  frame.bannerShown = true;
  frame.bannerText = "PAUSE";
  const std::size_t without = Describe(Paint(frame)).size();
  frame.hintShown = true;
  frame.hintText = SjisLiteral("Ctrl+P で再開");  // 13 bytes: 13 x 5 = 65 wide at height 11
  const auto lines = Describe(Paint(frame));
  const auto texts = surface.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, frame.hintText);
  EXPECT_EQ(texts[1].font, (FontSpec{11, 400, kShiftJisCharset, ""}));
  EXPECT_EQ(texts[1].colour, (Rgb{150, 150, 150}));
  EXPECT_EQ(texts[1].x + texts[1].width, 76 + 304) << "right-aligned";
  EXPECT_EQ(texts[1].y, 40);
  EXPECT_EQ(lines.size(), without + 1) << "nothing else changes";
  EXPECT_EQ(lines.back(), "text at " + std::to_string(texts[1].x) + ",40");
}

TEST_F(GameScreenTest, PopUpComesAfterTheMarkerAndBeforeTheBanner) {
  GameFrame frame = IdleFrame();
  frame.playState = PlayState::Running;
  frame.popupShown = true;
  frame.popupFrame = 4;
  frame.popupText = "P";
  frame.bannerShown = true;
  frame.bannerText = "B";
  Paint(frame);
  const auto texts = surface.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "P");
  EXPECT_EQ(texts[1].text, "B");
}

TEST_F(GameScreenTest, AStripThatIsNotEvenFailsTheFrame) {
  FakeNotices otherErrors;
  RecordingSurface otherSurface;
  Canvas otherCanvas(otherSurface, otherErrors);
  GameScreen other(otherCanvas, otherErrors);
  FakeBitmapLoader uneven = FakeBitmapLoader::GameScreenSizes();
  uneven.sizes[133] = {91, 11};
  ASSERT_TRUE(other.LoadPictures(uneven));
  ASSERT_TRUE(other.CreateFonts());
  ASSERT_TRUE(otherCanvas.CreateBackBuffer(400, 150));
  EXPECT_FALSE(other.DrawFrame(IdleFrame()));
  EXPECT_EQ(Describe(otherSurface.calls).size(), 4u)
      << "background, icons and the rate; the score is the first to fail";
}

}  // namespace
}  // namespace verselane
