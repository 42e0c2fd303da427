// The wx surface draws what the canvas asks, pixel for pixel: copies and stretches without
// blending or smoothing, text in the chosen face and colour inside its box; and the faces stand
// in for missing ones.
#include <gtest/gtest.h>

#include <wx/fontenum.h>
#include <wx/mstream.h>

#include "base/shift_jis.h"
#include "fakes/file_fakes.h"
#include "ui/assets.h"
#include "ui/wx_surface.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

// A bitmap of `width` x `height` whose pixel (x, y) has colour (x, y, 200).
WxCanvasBitmap Gradient(int width, int height) {
  wxImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.SetRGB(x, y, x, y, 200);
  }
  return WxCanvasBitmap(wxBitmap(image, 24));
}

wxColour Pixel(const wxImage& image, int x, int y) {
  return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

wxImage FinishDrawing(WxSurface& surface) {
  surface.EndDrawing();
  return surface.backBuffer().ConvertToImage();
}

class WxSurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(surface.CreateBackBuffer(400, 150));
    ASSERT_TRUE(surface.BeginDrawing());
  }
  wxImage Finish() { return FinishDrawing(surface); }

  WxSurface surface;
};

TEST_F(WxSurfaceTest, BackBufferStartsBlack) {
  const wxImage image = Finish();
  EXPECT_EQ(image.GetWidth(), 400);
  EXPECT_EQ(image.GetHeight(), 150);
  EXPECT_EQ(Pixel(image, 0, 0), *wxBLACK);
  EXPECT_EQ(Pixel(image, 399, 149), *wxBLACK);
}

TEST_F(WxSurfaceTest, CopiesAreExactAndStayInsideTheirRectangle) {
  const WxCanvasBitmap source = Gradient(40, 20);
  ASSERT_TRUE(surface.Copy(source, 0, 0, 40, 20, 5, 6));
  ASSERT_TRUE(surface.Copy(source, 10, 0, 9, 11, 100, 50));  // a cell
  const wxImage image = Finish();
  EXPECT_EQ(Pixel(image, 5, 6), wxColour(0, 0, 200));
  EXPECT_EQ(Pixel(image, 44, 25), wxColour(39, 19, 200));
  EXPECT_EQ(Pixel(image, 45, 25), *wxBLACK);
  EXPECT_EQ(Pixel(image, 100, 50), wxColour(10, 0, 200));
  EXPECT_EQ(Pixel(image, 108, 60), wxColour(18, 10, 200));
  EXPECT_EQ(Pixel(image, 99, 50), *wxBLACK) << "nothing left of the cell";
  EXPECT_EQ(Pixel(image, 109, 50), *wxBLACK) << "nothing right of the cell";
  EXPECT_EQ(Pixel(image, 100, 61), *wxBLACK) << "nothing below the cell";
}

TEST_F(WxSurfaceTest, StretchScalesOneCellWithoutSmoothing) {
  // Three 1-pixel columns, as the time bar's body strip.
  wxImage strip(3, 9);
  for (int y = 0; y < 9; ++y) {
    strip.SetRGB(0, y, 200, 0, 0);
    strip.SetRGB(1, y, 0, 200, y * 20);
    strip.SetRGB(2, y, 0, 0, 200);
  }
  const WxCanvasBitmap body{wxBitmap(strip, 24)};
  ASSERT_TRUE(surface.Stretch(body, 1, 0, 1, 9, 87, 103, 300, 9));
  const wxImage image = Finish();
  for (int x : {87, 88, 200, 385, 386}) {
    for (int y = 0; y < 9; ++y) {
      ASSERT_EQ(Pixel(image, x, 103 + y), wxColour(0, 200, y * 20)) << x << "," << y;
    }
  }
  EXPECT_EQ(Pixel(image, 86, 103), *wxBLACK);
  EXPECT_EQ(Pixel(image, 387, 103), *wxBLACK);
  EXPECT_EQ(Pixel(image, 200, 102), *wxBLACK);
  EXPECT_EQ(Pixel(image, 200, 112), *wxBLACK);
}

TEST_F(WxSurfaceTest, TextIsDrawnInItsColourWithinItsMeasuredExtent) {
  FontSpec prompt{25, 800, kShiftJisCharset, ""};
  const auto font = surface.CreateFont(prompt);
  ASSERT_NE(font, nullptr);
  surface.SelectFont(font.get());
  const std::string text = SjisLiteral("あきのたの");
  const TextExtent extent = surface.MeasureText(text);
  EXPECT_NEAR(extent.height, 25, 1) << "a cell 25 pixels high";
  EXPECT_NEAR(extent.width, 5 * 25, 6) << "kana are about as wide as high";
  ASSERT_TRUE(surface.SetTextColour({100, 100, 100}));
  ASSERT_TRUE(surface.DrawText(text, 76, 16));
  const wxImage image = Finish();
  int inked = 0;
  for (int y = 0; y < 150; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (Pixel(image, x, y) == *wxBLACK) continue;
      ++inked;
      EXPECT_GE(x, 76);
      EXPECT_LT(x, 76 + extent.width);
      EXPECT_GE(y, 16);
      EXPECT_LT(y, 16 + extent.height);
    }
  }
  EXPECT_GT(inked, 200);
  EXPECT_EQ(surface.faces().FaceFor(prompt), "IPAexGothic");
}

// A text drawn again in a later frame (from the layout kept since), in another colour, has the
// pixels wx's own DrawText gives it.
TEST_F(WxSurfaceTest, TextDrawnAgainLooksAsWxDrawsIt) {
  const auto font = surface.CreateFont({25, 800, kShiftJisCharset, ""});
  ASSERT_NE(font, nullptr);
  const std::string text = SjisLiteral("あきのたの");
  surface.SelectFont(font.get());
  ASSERT_TRUE(surface.SetTextColour({100, 100, 100}));
  ASSERT_TRUE(surface.DrawText(text, 10, 10));
  Finish();
  ASSERT_TRUE(surface.BeginDrawing());
  surface.SelectFont(font.get());
  ASSERT_TRUE(surface.SetTextColour({200, 30, 60}));
  ASSERT_TRUE(surface.DrawText(text, 76, 60));
  const wxImage drawn = Finish();

  wxBitmap reference(400, 150, 24);
  {
    wxMemoryDC dc(reference);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    dc.SetFont(surface.faces().FontFor({25, 800, kShiftJisCharset, ""}));
    dc.SetTextForeground(wxColour(100, 100, 100));
    dc.DrawText(wxString::FromUTF8("あきのたの"), 10, 10);
    dc.SetTextForeground(wxColour(200, 30, 60));
    dc.DrawText(wxString::FromUTF8("あきのたの"), 76, 60);
  }
  const wxImage expected = reference.ConvertToImage();
  int differing = 0;
  for (int y = 0; y < 150; ++y) {
    for (int x = 0; x < 400; ++x) differing += Pixel(drawn, x, y) != Pixel(expected, x, y);
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(Pixel(drawn, 0, 0), *wxBLACK);
}

TEST_F(WxSurfaceTest, ShrinkingTheFontNarrowsTheText) {
  const std::string text = SjisLiteral("わがころもではつゆにぬれつつ");
  int previous = 1 << 30;
  for (int height = 25; height >= 15; --height) {
    const auto font = surface.CreateFont({height, 800, kShiftJisCharset, ""});
    surface.SelectFont(font.get());
    const int width = surface.MeasureText(text).width;
    EXPECT_LE(width, previous) << "height " << height;
    previous = width;
  }
  Finish();
}

TEST(FontFacesTest, MissingFacesAreFoundOutAndStoodInFor) {
  FontFaces faces;
  EXPECT_TRUE(faces.japaneseDefaultInstalled());
  EXPECT_EQ(faces.japaneseDefault(), "IPAexGothic");
  const bool arialBlack = wxFontEnumerator::IsValidFacename("Arial Black");
  EXPECT_EQ(faces.heavySans(), arialBlack ? "Arial Black" : "DejaVu Sans");
  EXPECT_EQ(faces.FaceFor({35, 900, kAnsiCharset, "Arial Black"}), faces.heavySans());
  EXPECT_EQ(faces.FaceFor({25, 400, kShiftJisCharset, "ＭＳ Ｐゴシック"}), "IPAexGothic")
      << "a Windows face not installed here";
  EXPECT_EQ(faces.FaceFor({25, 400, kShiftJisCharset, "IPAGothic"}), "IPAGothic");
}

TEST(FontFacesTest, FontsHaveTheCellHeightAskedFor) {
  FontFaces faces;
  wxBitmap scratch(1, 1);
  wxMemoryDC dc(scratch);
  for (const FontSpec& setup : {FontSpec{25, 800, kShiftJisCharset, ""},
                               FontSpec{35, 900, kAnsiCharset, "Arial Black"},
                               FontSpec{18, 800, kShiftJisCharset, ""}}) {
    const wxFont font = faces.FontFor(setup);
    ASSERT_TRUE(font.IsOk());
    dc.SetFont(font);
    const wxFontMetrics metrics = dc.GetFontMetrics();
    EXPECT_NEAR(metrics.ascent + metrics.descent, setup.height, 1) << setup.face << setup.height;
    EXPECT_GE(font.GetNumericWeight(), 700) << "bold faces for weights 800 and 900";
  }
}

TEST(BitmapFromBytesTest, ReadsPngOpaqueAndRefusesOtherBytes) {
  wxImage image(4, 2);
  image.SetRGB(0, 0, 10, 20, 30);
  image.InitAlpha();
  image.SetAlpha(0, 0, 0);  // fully transparent, yet copied as it is
  wxMemoryOutputStream out;
  ASSERT_TRUE(image.SaveFile(out, wxBITMAP_TYPE_PNG));
  std::vector<unsigned char> bytes(out.GetSize());
  out.CopyTo(bytes.data(), bytes.size());
  const auto bitmap = BitmapFromBytes(bytes.data(), bytes.size());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->width(), 4);
  EXPECT_EQ(bitmap->height(), 2);
  const wxImage back = bitmap->bitmap().ConvertToImage();
  EXPECT_FALSE(back.HasAlpha());
  EXPECT_EQ(Pixel(back, 0, 0), wxColour(10, 20, 30));

  const unsigned char junk[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(BitmapFromBytes(junk, sizeof junk), nullptr);
  EXPECT_EQ(BitmapFromBytes(nullptr, 0), nullptr);
}

TEST(EmbeddedBitmapLoaderTest, LoadsTheGameScreenBitmapsByName) {
  EmbeddedBitmapLoader loader([](std::string_view name)
                                  -> std::optional<std::pair<const unsigned char*, std::size_t>> {
    const auto asset = FindAsset(name);
    if (!asset) return std::nullopt;
    return std::make_pair(asset->data, asset->size);
  });
  const auto background = loader.Load("bitmap-130.png");
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->width(), 400);
  EXPECT_EQ(background->height(), 150);
  EXPECT_EQ(loader.Load("bitmap-999.png"), nullptr);
  // The larger screens draw from the versions made at their size, not from the 1x one enlarged.
  const auto& versions = static_cast<const WxCanvasBitmap&>(*background);
  for (int factor : {2, 3}) {
    const std::string name = "bitmap-130@" + std::to_string(factor) + "x.png";
    const auto asset = FindAsset(name);
    ASSERT_TRUE(asset) << name;
    const wxImage drawn = ImageFromBytes(asset->data, asset->size);
    const wxImage used = versions.AtScale(factor).ConvertToImage();
    ASSERT_EQ(used.GetSize(), wxSize(400 * factor, 150 * factor));
    EXPECT_TRUE(std::equal(used.GetData(), used.GetData() + used.GetWidth() * used.GetHeight() * 3,
                           drawn.GetData()))
        << name;
  }
}

// At twice the size: the buffer has twice the pixels each way, a cell is cut from the picture
// drawn at that size, the text is drawn at twice its height (not its 1x pixels doubled) and
// measured in the screen's own pixels, and a stretched cell takes in nothing of its neighbours at
// a scale between the sizes the pictures were drawn at.
TEST(WxSurfaceScaleTest, DrawsSharpAtTheScaleInTheScreensOwnPixels) {
  WxSurface surface;
  ASSERT_TRUE(surface.CreateBackBuffer(400, 150));
  const std::string text = SjisLiteral("あきのたの");
  ASSERT_TRUE(surface.BeginDrawing());
  const auto font = surface.CreateFont(FontSpec{25, 800, kShiftJisCharset, ""});
  surface.SelectFont(font.get());
  const TextExtent atOne = surface.MeasureText(text);
  surface.EndDrawing();

  ASSERT_TRUE(surface.SetScale(2.0));
  ASSERT_TRUE(surface.BeginDrawing());
  WxCanvasBitmap picture = Gradient(40, 20);
  picture.AddDrawnAt(2, Gradient(80, 40).bitmap());
  ASSERT_TRUE(surface.Copy(picture, 10, 0, 9, 11, 100, 50));
  surface.SelectFont(font.get());
  const TextExtent atTwo = surface.MeasureText(text);
  EXPECT_NEAR(atTwo.width, atOne.width, atOne.width / 20) << "in the screen's pixels, hinted apart";
  EXPECT_NEAR(atTwo.height, atOne.height, 1);
  ASSERT_TRUE(surface.SetTextColour({255, 255, 255}));
  ASSERT_TRUE(surface.DrawText(text, 10, 5));
  const wxImage image = FinishDrawing(surface);

  ASSERT_EQ(image.GetSize(), wxSize(800, 300));
  EXPECT_EQ(Pixel(image, 200, 100), wxColour(20, 0, 200)) << "the cell from the 2x picture";
  EXPECT_EQ(Pixel(image, 217, 121), wxColour(37, 21, 200));
  EXPECT_EQ(Pixel(image, 218, 100), *wxBLACK) << "nothing right of the cell";
  EXPECT_EQ(Pixel(image, 199, 100), *wxBLACK) << "nothing left of the cell";
  // Text drawn at 2x has edges that fall inside the 2 x 2 blocks of a doubled 1x picture.
  int split = 0;
  int inked = 0;
  for (int y = 10; y < 10 + 2 * atTwo.height; y += 2) {
    for (int x = 20; x < 20 + 2 * atTwo.width; x += 2) {
      const wxColour corner = Pixel(image, x, y);
      if (corner != *wxBLACK) ++inked;
      if (corner != Pixel(image, x + 1, y) || corner != Pixel(image, x, y + 1) ||
          corner != Pixel(image, x + 1, y + 1)) {
        ++split;
      }
    }
  }
  EXPECT_GT(inked, 300);
  EXPECT_GT(split, inked / 4) << "the glyphs are their 1x pixels doubled";

  wxImage strip(3, 9);
  for (int y = 0; y < 9; ++y) {
    strip.SetRGB(0, y, 200, 0, 0);
    strip.SetRGB(1, y, 0, 0, 200);
  }
  WxCanvasBitmap body{wxBitmap(strip, 24)};
  body.AddDrawnAt(2, wxBitmap(strip.Scale(6, 18, wxIMAGE_QUALITY_NEAREST), 24));
  ASSERT_TRUE(surface.SetScale(1.5));
  ASSERT_TRUE(surface.BeginDrawing());
  ASSERT_TRUE(surface.Stretch(body, 0, 0, 1, 9, 87, 103, 300, 9));
  const wxImage bar = FinishDrawing(surface);
  ASSERT_EQ(bar.GetSize(), wxSize(600, 225));
  for (int x = 131; x < 580; x += 7) {
    ASSERT_EQ(Pixel(bar, x, 160), wxColour(200, 0, 0)) << x;
  }
}

}  // namespace
}  // namespace verselane
