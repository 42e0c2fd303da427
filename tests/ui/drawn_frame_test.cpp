#include "ui/drawn_frame.h"

#include <gtest/gtest.h>

namespace verselane {
namespace {

const void* const kBackground = "background";
const void* const kDigits = "digits";

DrawingStep Copy(const void* source, PixelRect area, std::string what = "") {
  return {source, std::move(what), area, true};
}
DrawingStep Text(std::string text, PixelRect area) {
  return {nullptr, std::move(text), area, false};
}

// The frame a question tick draws: the background over everything, a digit, a text.
void DrawTick(DrawnFrame& frame, const std::string& digit, const std::string& prompt) {
  frame.Begin(400, 150);
  frame.Add(Copy(kBackground, {0, 0, 400, 150}));
  frame.Add(Copy(kDigits, {300, 10, 8, 12}, digit));
  frame.Add(Text(prompt, {70, 5, 200, 40}));
}

TEST(DrawnFrameTest, OnlyTheStepsThatDifferAreCopiedAndOnlyOverAKnownFrame) {
  DrawnFrame frame;
  DrawTick(frame, "1", "あ");
  EXPECT_EQ(frame.ChangedSinceShown(), (std::vector<PixelRect>{{0, 0, 400, 150}}))
      << "nothing shown yet";
  frame.Shown();
  DrawTick(frame, "1", "あ");
  EXPECT_TRUE(frame.ChangedSinceShown().empty()) << "the same frame again";
  DrawTick(frame, "2", "あ");
  EXPECT_EQ(frame.ChangedSinceShown(), (std::vector<PixelRect>{{300, 10, 8, 12}}));
  // Compared with the frame shown, not with the one drawn last.
  DrawTick(frame, "1", "あき");
  EXPECT_EQ(frame.ChangedSinceShown(), (std::vector<PixelRect>{{70, 5, 200, 40}}));
  frame.Shown();

  frame.Forget();  // an expose painted part of the window
  DrawTick(frame, "1", "あき");
  EXPECT_EQ(frame.ChangedSinceShown(), (std::vector<PixelRect>{{0, 0, 400, 150}}));
}

TEST(DrawnFrameTest, AStepMovedAddedOrLeftOutChangesBothItsPlaces) {
  DrawnFrame frame;
  DrawTick(frame, "1", "あ");
  frame.Shown();
  frame.Begin(400, 150);
  frame.Add(Copy(kBackground, {0, 0, 400, 150}));
  frame.Add(Copy(kDigits, {310, 10, 8, 12}, "1"));  // moved
  EXPECT_EQ(frame.ChangedSinceShown(),
            (std::vector<PixelRect>{{310, 10, 8, 12}, {300, 10, 8, 12}, {70, 5, 200, 40}}))
      << "the digit's new and old places, and the text no longer drawn";
  frame.Add(Text("あ", {70, 5, 200, 40}));
  frame.Add(Text("popup", {-20, 140, 100, 30}));
  EXPECT_EQ(frame.ChangedSinceShown(),
            (std::vector<PixelRect>{{310, 10, 8, 12}, {300, 10, 8, 12}, {0, 140, 80, 10}}))
      << "a step added, cut to the buffer";
}

TEST(DrawnFrameTest, AFrameThatDoesNotCoverTheBufferIsCopiedWhole) {
  DrawnFrame frame;
  DrawTick(frame, "1", "あ");
  frame.Shown();
  frame.Begin(400, 150);
  frame.Add(Copy(kBackground, {0, 0, 400, 149}));
  EXPECT_EQ(frame.ChangedSinceShown(), (std::vector<PixelRect>{{0, 0, 400, 150}}));
  frame.Begin(400, 150);
  frame.Add(Text("over everything", {0, 0, 400, 150}));  // blended: what lay under it shows
  EXPECT_EQ(frame.ChangedSinceShown(), (std::vector<PixelRect>{{0, 0, 400, 150}}));
  // A buffer of another size.
  DrawTick(frame, "1", "あ");
  frame.Shown();
  frame.Begin(800, 300);
  frame.Add(Copy(kBackground, {0, 0, 800, 300}));
  EXPECT_EQ(frame.ChangedSinceShown(), (std::vector<PixelRect>{{0, 0, 800, 300}}));
}

}  // namespace
}  // namespace verselane
