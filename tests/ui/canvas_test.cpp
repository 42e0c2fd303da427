// The canvas rules: back buffer, bitmap copies, cells, bitmap-digit numbers, text in a box with
// the overflow rule, fonts made once, bitmap lists. Checked on a recording surface.
#include <gtest/gtest.h>

#include "fakes/file_fakes.h"
#include "recording_surface.h"

namespace verselane {
namespace {

using uitest::FakeBitmap;
using uitest::FakeBitmapLoader;
using uitest::RecordingSurface;
using uitest::SurfaceCall;

class CanvasTest : public ::testing::Test {
 protected:
  // A canvas with its back buffer and the drawing open, as inside a frame cycle.
  void Open() {
    ASSERT_TRUE(canvas.CreateBackBuffer(400, 150));
    ASSERT_TRUE(canvas.OpenDrawing());
  }
  std::vector<int> CopiedXs() const {
    std::vector<int> xs;
    for (const SurfaceCall& call : surface.calls) xs.push_back(call.x);
    return xs;
  }

  RecordingSurface surface;
  FakeNotices errors;
  Canvas canvas{surface, errors};
  FakeBitmap smallDigits{133, 90, 11};
};

TEST_F(CanvasTest, BackBufferIsMadeOnceAndDrawingOpensOnce) {
  EXPECT_FALSE(canvas.OpenDrawing()) << "nothing to draw into yet";
  ASSERT_TRUE(canvas.CreateBackBuffer(400, 150));
  EXPECT_FALSE(canvas.CreateBackBuffer(400, 150)) << "a second back buffer is refused";
  EXPECT_EQ(surface.backBuffersMade, 1);
  EXPECT_EQ(surface.bufferWidth, 400);
  EXPECT_EQ(surface.bufferHeight, 150);

  ASSERT_TRUE(canvas.OpenDrawing());
  EXPECT_FALSE(canvas.OpenDrawing()) << "a repaint inside a frame cycle fails";
  EXPECT_TRUE(canvas.Present());
  EXPECT_TRUE(canvas.CloseDrawing());
  EXPECT_FALSE(canvas.CloseDrawing());
  EXPECT_FALSE(canvas.Present()) << "presenting needs the drawing open";
  EXPECT_TRUE(canvas.OpenDrawing()) << "the next frame opens again";
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(CanvasTest, FailedBackBufferShowsItsErrorBox) {
  surface.failBackBuffer = true;
  EXPECT_FALSE(canvas.CreateBackBuffer(400, 150));
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_EQ(errors.shown[0].text, SjisLiteral("ERROR(InitDraw):描画の初期処理に失敗しました"));
  EXPECT_EQ(errors.shown[0].caption, "ERROR");
  EXPECT_EQ(errors.shown[0].icon, NoticeIcon::kError);
  EXPECT_FALSE(canvas.OpenDrawing());
}

TEST_F(CanvasTest, BitmapOperationsNeedOpenDrawingAndABitmap) {
  FakeBitmap icon{136, 25, 25};
  EXPECT_FALSE(canvas.DrawBitmapAt(&icon, 1, 2)) << "no back buffer";
  ASSERT_TRUE(canvas.CreateBackBuffer(400, 150));
  EXPECT_FALSE(canvas.DrawBitmapAt(&icon, 1, 2)) << "drawing not open";
  ASSERT_TRUE(canvas.OpenDrawing());
  EXPECT_FALSE(canvas.DrawBitmapAt(nullptr, 1, 2));
  EXPECT_FALSE(canvas.DrawCell(nullptr, 0, 1, 1, 2));
  EXPECT_FALSE(canvas.DrawNumber(1, 1, nullptr, 1, 2, 'r'));
  EXPECT_TRUE(surface.calls.empty());

  EXPECT_TRUE(canvas.DrawBitmap(&icon));
  EXPECT_TRUE(canvas.DrawBitmapAt(&icon, 23, 11));
  ASSERT_EQ(surface.calls.size(), 2u);
  EXPECT_EQ(surface.calls[0].x, 0);
  EXPECT_EQ(surface.calls[0].y, 0);
  EXPECT_EQ(surface.calls[0].width, 25);
  EXPECT_EQ(surface.calls[1].x, 23);
  EXPECT_EQ(surface.calls[1].y, 11);
}

TEST_F(CanvasTest, CellsAreEqualSlicesOfTheStrip) {
  Open();
  FakeBitmap marker{139, 35, 25};
  EXPECT_TRUE(canvas.DrawCell(&marker, 3, 5, 70, 62));
  ASSERT_EQ(surface.calls.size(), 1u);
  EXPECT_EQ(surface.calls[0].sourceX, 21);
  EXPECT_EQ(surface.calls[0].width, 7);
  EXPECT_EQ(surface.calls[0].height, 25);
  EXPECT_EQ(surface.calls[0].x, 70);

  EXPECT_TRUE(canvas.DrawCell(&marker, 6, 5, 0, 0)) << "the index is not checked against the count";
  EXPECT_EQ(surface.calls.back().sourceX, 42);

  surface.calls.clear();
  FakeBitmap uneven{1, 34, 25};
  EXPECT_FALSE(canvas.DrawCell(&uneven, 0, 5, 0, 0)) << "34 is not a multiple of 5";
  EXPECT_FALSE(canvas.DrawCell(&marker, -1, 5, 0, 0));
  EXPECT_FALSE(canvas.DrawCell(&marker, 0, 0, 0, 0));
  EXPECT_FALSE(canvas.DrawCellStretched(&uneven, 0, 5, 0, 0, 10, 10));
  EXPECT_TRUE(surface.calls.empty()) << "a refused cell draws nothing";

  FakeBitmap body{143, 3, 9};
  EXPECT_TRUE(canvas.DrawCellStretched(&body, 2, 3, 87, 103, 300, 9));
  ASSERT_EQ(surface.calls.size(), 1u);
  EXPECT_EQ(surface.calls[0].kind, SurfaceCall::kStretch);
  EXPECT_EQ(surface.calls[0].sourceX, 2);
  EXPECT_EQ(surface.calls[0].sourceWidth, 1);
  EXPECT_EQ(surface.calls[0].width, 300);
}

TEST_F(CanvasTest, NumbersEndAtTheRightEdgeWithAlignmentR) {
  Open();
  EXPECT_TRUE(canvas.DrawNumber(7, 2, &smallDigits, 100, 20, 'r'));
  EXPECT_EQ(CopiedXs(), (std::vector<int>{82, 91})) << "07 drawn from x = 82";
  EXPECT_EQ(surface.calls[0].sourceX, 0) << "the leading zero";
  EXPECT_EQ(surface.calls[1].sourceX, 63) << "the 7";
  EXPECT_EQ(surface.calls[1].width, 9);
  EXPECT_EQ(surface.calls[1].y, 20);
}

TEST_F(CanvasTest, NumbersBeginAtXOtherwiseAndGrowPastTheMinimum) {
  Open();
  EXPECT_TRUE(canvas.DrawNumber(123, 2, &smallDigits, 100, 0, 'l'));
  EXPECT_EQ(CopiedXs(), (std::vector<int>{100, 109, 118})) << "three digits, not two";
  EXPECT_EQ(surface.calls[2].sourceX, 27);

  surface.calls.clear();
  EXPECT_TRUE(canvas.DrawNumber(0, 1, &smallDigits, 45, 98, 'r'));
  EXPECT_EQ(CopiedXs(), (std::vector<int>{36}));

  surface.calls.clear();
  EXPECT_TRUE(canvas.DrawNumber(5, 3, &smallDigits, 10, 0, 'x')) << "any other letter: left";
  EXPECT_EQ(CopiedXs(), (std::vector<int>{10, 19, 28}));
}

TEST_F(CanvasTest, NumbersRefuseNegativeValuesAndUnevenStrips) {
  Open();
  EXPECT_FALSE(canvas.DrawNumber(-1, 1, &smallDigits, 0, 0, 'r'));
  FakeBitmap uneven{1, 95, 11};
  EXPECT_FALSE(canvas.DrawNumber(1, 1, &uneven, 0, 0, 'r'));
  EXPECT_TRUE(surface.calls.empty());
}

TEST_F(CanvasTest, TextWiderThanItsBoxReportsTheOverflowAndDrawsNothing) {
  Open();
  CanvasFont font(surface, errors);
  canvas.SelectFont(font.Create(26));
  // 5 double-byte characters at height 26 measure 130.
  const std::string text = SjisLiteral("あいうえお");
  int overflow = -1;
  EXPECT_FALSE(canvas.DrawText(text, 10, 0, 120, 42, overflow));
  EXPECT_EQ(overflow, 10);
  EXPECT_TRUE(surface.Texts().empty());

  EXPECT_TRUE(canvas.DrawText(text, 10, 0, 130, 42, overflow));
  EXPECT_EQ(overflow, 0);
  ASSERT_EQ(surface.Texts().size(), 1u);
  EXPECT_EQ(surface.Texts()[0].x, 10);
  EXPECT_EQ(surface.Texts()[0].y, 8) << "centred down: (42 - 26) / 2";
}

TEST_F(CanvasTest, TextIsAlignedAcrossItsBox) {
  Open();
  CanvasFont font(surface, errors);
  canvas.SelectFont(font.Create(20));
  const std::string text = "ABCD";  // 4 x 10 = 40 pixels
  int overflow = 0;
  ASSERT_TRUE(canvas.DrawTextAligned(text, 70, 53, 308, 41, 'c', overflow));
  ASSERT_TRUE(canvas.DrawTextAligned(text, 70, 53, 308, 41, 'r', overflow));
  ASSERT_TRUE(canvas.DrawTextAligned(text, 70, 53, 308, 41, 'l', overflow));
  ASSERT_TRUE(canvas.DrawTextAligned(text, 70, 53, 308, 41, '?', overflow));
  const auto texts = surface.Texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].x, 70 + (308 - 40) / 2);
  EXPECT_EQ(texts[1].x, 70 + 308 - 40);
  EXPECT_EQ(texts[2].x, 70);
  EXPECT_EQ(texts[3].x, 70);
  EXPECT_EQ(texts[0].y, 53 + (41 - 20) / 2);
}

TEST_F(CanvasTest, TextAndColourNeedOpenDrawing) {
  int overflow = 0;
  EXPECT_FALSE(canvas.DrawText("A", 0, 0, 100, 20, overflow));
  EXPECT_FALSE(canvas.SetTextColour({1, 2, 3}));
  CanvasFont font(surface, errors);
  EXPECT_EQ(canvas.SelectFont(font.Create(20)), nullptr);
  Open();
  EXPECT_TRUE(canvas.SetTextColour({1, 2, 3}));
  EXPECT_EQ(surface.colour, (Rgb{1, 2, 3}));
}

TEST_F(CanvasTest, SelectingAFontReturnsThePreviousOne) {
  Open();
  CanvasFont first(surface, errors);
  CanvasFont second(surface, errors);
  const SurfaceFont* a = first.Create(25, 800);
  const SurfaceFont* b = second.Create(35, 900, kAnsiCharset, "Arial Black");
  EXPECT_EQ(canvas.SelectFont(a), nullptr);
  EXPECT_EQ(canvas.SelectFont(b), a);
  EXPECT_EQ(surface.selected.face, "Arial Black");
  EXPECT_EQ(canvas.SelectFont(a), b);
  EXPECT_EQ(surface.selected.height, 25);
}

TEST(CanvasFontTest, KeepsTheFirstFontUntilDeleted) {
  RecordingSurface surface;
  FakeNotices errors;
  CanvasFont font(surface, errors);
  const SurfaceFont* first = font.Create(25);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(font.Create(30), first) << "the new height is ignored";
  EXPECT_EQ(font.setup().height, 25);
  EXPECT_EQ(surface.fontsMade.size(), 1u);

  font.Delete();
  EXPECT_EQ(font.handle(), nullptr);
  ASSERT_NE(font.Create(30), nullptr);
  EXPECT_EQ(font.setup().height, 30);
  EXPECT_EQ(font.setup().weight, kNormalWeight);
  EXPECT_EQ(font.setup().charset, kShiftJisCharset);
  EXPECT_EQ(font.setup().face, "");

  font.Delete();
  font.Create(35, 900, kAnsiCharset, "Arial Black");
  EXPECT_EQ(surface.fontsMade.back(), (FontSpec{35, 900, kAnsiCharset, "Arial Black"}));
  EXPECT_TRUE(errors.shown.empty());
}

TEST(CanvasFontTest, AFontThatCannotBeMadeShowsItsErrorBox) {
  RecordingSurface surface;
  surface.failFonts = true;
  FakeNotices errors;
  CanvasFont font(surface, errors);
  EXPECT_EQ(font.Create(25, 800), nullptr);
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_EQ(errors.shown[0].text, SjisLiteral("ERROR(CreateFontDat):Fontの生成に失敗しました"));
  EXPECT_EQ(errors.shown[0].caption, "ERROR");
}

TEST(BitmapListTest, LoadsInOrderAndStopsAtTheFirstFailure) {
  FakeNotices errors;
  FakeBitmapLoader loader;
  loader.sizes = {{130, {400, 150}}, {135, {7, 11}}, {137, {25, 25}}};
  BitmapList list(errors);
  const std::string_view names[] = {"bitmap-130.png", "bitmap-135.png", "bitmap-136.png",
                                    "bitmap-137.png"};
  EXPECT_FALSE(list.Load(names, loader));
  EXPECT_EQ(loader.loaded, (std::vector<int>{130, 135, 136})) << "137 is never tried";
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_EQ(errors.shown[0].text, SjisLiteral("ERROR(LoadResource):リソースの読込に失敗しました"));
  ASSERT_NE(list.Get(0), nullptr) << "what loaded before the failure stays";
  EXPECT_EQ(list.Get(1)->width(), 7);
  EXPECT_EQ(list.Get(2), nullptr);
  EXPECT_EQ(list.Get(3), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(4), nullptr);
}

TEST(BitmapListTest, AnEmptyListLoads) {
  FakeNotices errors;
  FakeBitmapLoader loader;
  BitmapList list(errors);
  EXPECT_TRUE(list.Load({}, loader));
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.Get(0), nullptr);
  EXPECT_TRUE(errors.shown.empty());
}

}  // namespace
}  // namespace verselane
