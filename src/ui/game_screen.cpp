#include "ui/game_screen.h"

#include <algorithm>

#include "game/frame.h"
#include "game/game_animation.h"

namespace verselane {
namespace {

constexpr int kMarkerFrames = 5;
constexpr int kBarFrames = 3;
constexpr int kClockDigits = 2;
constexpr std::size_t kFittedHeightsKept = 256;

FontSpec PromptSpec() {
  return {screen::kPromptHeight, screen::kPromptWeight, kShiftJisCharset, ""};
}
FontSpec BannerSpec() {
  return {screen::kBannerHeight, screen::kBannerWeight, kAnsiCharset, screen::kBannerFace};
}
FontSpec PenaltyFont() {
  return {screen::kBannerHeight, screen::kBannerWeight, kShiftJisCharset, ""};
}
// The expected reading after a wrong answer is drawn like the prompt.
FontSpec ReadingSpec() { return PromptSpec(); }
FontSpec HintFont() { return {screen::kHintHeight, screen::kHintWeight, kShiftJisCharset, ""}; }

std::string FitKey(const FontSpec& own, const FontSpec& shrunk, std::string_view text, int width) {
  std::string key = std::to_string(own.height) + ',' + std::to_string(own.weight) + ',' +
                    std::to_string(own.charset) + ',' + own.face + ',' +
                    std::to_string(shrunk.weight) + ',' + std::to_string(shrunk.charset) + ',' +
                    shrunk.face + ',' + std::to_string(width) + ',';
  key.append(text);
  return key;
}

}  // namespace

GameScreen::GameScreen(Canvas& canvas, NoticePort& errors)
    : canvas_(canvas),
      images_(errors),
      digits_(errors),
      promptFont_(canvas.surface(), errors),
      popupFont_(canvas.surface(), errors),
      missAnswer_{{canvas.surface(), errors}, {canvas.surface(), errors}},
      missWritten_{{canvas.surface(), errors}, {canvas.surface(), errors}},
      missReading_{{canvas.surface(), errors}, {canvas.surface(), errors}},
      errors_(errors) {}

bool GameScreen::LoadPictures(BitmapLoader& loader) {
  const bool imagesLoaded = images_.Load(kImageFiles, loader);
  const bool digitsLoaded = digits_.Load(kDigitFiles, loader);
  if (!imagesLoaded || !digitsLoaded) {
    ShowDrawingError(errors_, "ERROR(LoadAllImgRes):ImgDataの読込に失敗しました");
    return false;
  }
  largeDigitWidth_ = digits_.Get(kDigitsLarge)->width() / 10;
  smallDigitWidth_ = digits_.Get(kDigitsSmall)->width() / 10;
  colonWidth_ = images_.Get(kImageColon)->width();
  return true;
}

bool GameScreen::CreateFonts() {
  const bool prompt = promptFont_.Create(screen::kPromptHeight, screen::kPromptWeight) != nullptr;
  const bool popup = popupFont_.Create(1) != nullptr;
  if (!prompt || !popup) {
    ShowDrawingError(errors_, "ERROR(LoadAllFontRes):FontDataの読込に失敗しました");
    return false;
  }
  return true;
}

bool GameScreen::DrawFrame(const GameFrame& frame) {
  if (!canvas_.OpenDrawing()) return false;
  const bool drawn = Draw(frame) && canvas_.Present();
  canvas_.CloseDrawing();
  return drawn;
}

bool GameScreen::Draw(const GameFrame& frame) {
  return canvas_.DrawBitmap(images_.Get(kImageBackground)) && DrawIcons(frame) &&
         DrawPrompt(frame) && DrawTallies(frame) && DrawMarker(frame) && DrawPopup(frame) &&
         DrawMiss(frame) && DrawBanner(frame) && DrawTimeBar(frame) && DrawHint(frame);
}

bool GameScreen::DrawIcons(const GameFrame& frame) {
  int prompt = kImageUpperIcon;
  int answer = kImageLowerIcon;
  if (frame.mode == QuestionMode::Reverse) std::swap(prompt, answer);
  if (frame.mode == QuestionMode::Poet) prompt = kImagePoetIcon;
  return canvas_.DrawBitmapAt(images_.Get(prompt), screen::kPromptIconX, screen::kPromptIconY) &&
         canvas_.DrawBitmapAt(images_.Get(answer), screen::kAnswerIconX, screen::kAnswerIconY);
}

bool GameScreen::DrawPrompt(const GameFrame& frame) {
  if (!frame.promptShown) return true;
  if (!canvas_.SetTextColour(screen::kPromptColour)) return false;
  return DrawFitted(promptFont_, PromptSpec(), PromptSpec(), frame.prompt, screen::kPromptBox,
                    kAlignLeft);
}

bool GameScreen::DrawTallies(const GameFrame& frame) {
  const CanvasBitmap* small = digits_.Get(kDigitsSmall);
  return canvas_.DrawNumber(frame.correctRate, 1, digits_.Get(kDigitsLarge),
                            screen::kCorrectRateRight, screen::kCorrectRateY, kAlignRight) &&
         canvas_.DrawNumber(frame.score, 1, small, screen::kScoreRight, screen::kScoreY,
                            kAlignRight) &&
         canvas_.DrawNumber(frame.correctCount, 1, small, screen::kCorrectCountRight,
                            screen::kCorrectCountY, kAlignRight) &&
         DrawClock(frame) &&
         canvas_.DrawNumber(frame.askedCount, 1, digits_.Get(kDigitsSecond),
                            screen::kAskedCountRight, screen::kAskedCountY, kAlignRight);
}

bool GameScreen::DrawMarker(const GameFrame& frame) {
  if (!frame.markerShown) return true;
  return canvas_.DrawCell(images_.Get(kImageMarker), frame.markerFrame, kMarkerFrames,
                          screen::kMarkerX, screen::kMarkerY);
}

// hh:mm:ss from x = 320; the colons' places stay free while the blink is off.
bool GameScreen::DrawClock(const GameFrame& frame) {
  const CanvasBitmap* digits = digits_.Get(kDigitsSmall);
  const CanvasBitmap* colon = images_.Get(kImageColon);
  const int pair = kClockDigits * smallDigitWidth_;
  const int y = screen::kClockY;
  int x = screen::kClockX;
  if (!canvas_.DrawNumber(frame.clock.hours, kClockDigits, digits, x, y, kAlignLeft)) return false;
  x += pair;
  if (frame.colonShown && !canvas_.DrawBitmapAt(colon, x, y)) return false;
  x += colonWidth_;
  if (!canvas_.DrawNumber(frame.clock.minutes, kClockDigits, digits, x, y, kAlignLeft)) {
    return false;
  }
  x += pair;
  if (frame.colonShown && !canvas_.DrawBitmapAt(colon, x, y)) return false;
  x += colonWidth_;
  return canvas_.DrawNumber(frame.clock.seconds, kClockDigits, digits, x, y, kAlignLeft);
}

// A miss's reading is a line of the miss.
bool GameScreen::DrawPopup(const GameFrame& frame) {
  if (!frame.popupShown || frame.missShown) return true;
  FontSpec own = ReadingSpec();
  if (frame.popupFont == PopupFont::kScore) own = BannerSpec();
  if (frame.popupFont == PopupFont::kPenalty) own = PenaltyFont();
  FontSpec shrunk = own;
  shrunk.weight = screen::kShrinkWeight;
  if (!Recreate(popupFont_, own) || !canvas_.SetTextColour(frame.popupColour)) return false;
  return DrawFitted(popupFont_, own, shrunk, frame.popupText, screen::kPopupBox, kAlignLeft);
}

bool GameScreen::DrawMiss(const GameFrame& frame) {
  if (!frame.missShown) return true;
  return DrawMarked(missAnswer_, frame.missText, frame.missMarkFrom, screen::kMissBox,
                    screen::kMissHeight, frame.missColour, frame.missMarkColour) &&
         DrawMarked(missWritten_, frame.missWritten, frame.missWrittenMarkFrom,
                    screen::kMissWrittenBox, screen::kMissExpectedHeight, frame.popupColour,
                    frame.missMarkColour) &&
         DrawMarked(missReading_, frame.popupText, frame.missReadingMarkFrom,
                    screen::kMissReadingBox, screen::kMissExpectedHeight, frame.popupColour,
                    frame.missMarkColour);
}

// The agreed part and the marked part side by side.
bool GameScreen::DrawMarked(MarkedLine& line, std::string_view text, std::size_t markFrom,
                            ScreenBox box, int maxHeight, Rgb colour, Rgb markColour) {
  const std::size_t split = std::min(markFrom, text.size());
  const std::string_view agreed = text.substr(0, split);
  const std::string_view marked = text.substr(split);
  std::string key = "miss," + std::to_string(maxHeight) + ',' + std::to_string(box.width) + ',' +
                    std::to_string(split) + ',';
  key.append(text);
  const auto known = fittedHeights_.find(key);
  int height = known != fittedHeights_.end() ? known->second : maxHeight;
  std::pair<int, int> widths;
  for (; height >= 1; --height) {
    if (!MakeMarkedFonts(line, height)) return false;
    widths = MarkedWidths(line, agreed, marked);
    if (widths.first + widths.second <= box.width) break;
  }
  if (height < 1) return false;
  if (fittedHeights_.size() >= kFittedHeightsKept) fittedHeights_.clear();
  fittedHeights_[key] = height;

  const SurfaceFont* previous = canvas_.SelectFont(line.font.handle());
  int overflow = 0;
  bool drawn = canvas_.SetTextColour(colour) &&
               (agreed.empty() || canvas_.DrawText(agreed, box.x, box.y, widths.first,
                                                   box.height, overflow));
  canvas_.SelectFont(line.markFont.handle());
  drawn = drawn && canvas_.SetTextColour(markColour) &&
          (marked.empty() || canvas_.DrawText(marked, box.x + widths.first, box.y,
                                              box.width - widths.first, box.height, overflow));
  canvas_.SelectFont(previous);
  return drawn;
}

bool GameScreen::MakeMarkedFonts(MarkedLine& line, int height) {
  for (CanvasFont* font : {&line.font, &line.markFont}) {
    if (font->handle() != nullptr && font->setup().height != height) font->Delete();
  }
  return line.font.Create(height, screen::kMissWeight) != nullptr &&
         line.markFont.Create(height, screen::kMissMarkWeight) != nullptr;
}

std::pair<int, int> GameScreen::MarkedWidths(const MarkedLine& line, std::string_view agreed,
                                             std::string_view marked) {
  const SurfaceFont* previous = canvas_.SelectFont(line.font.handle());
  const int agreedWidth = agreed.empty() ? 0 : canvas_.surface().MeasureText(agreed).width;
  canvas_.SelectFont(line.markFont.handle());
  const int markedWidth = marked.empty() ? 0 : canvas_.surface().MeasureText(marked).width;
  canvas_.SelectFont(previous);
  return {agreedWidth, markedWidth};
}

bool GameScreen::DrawBanner(const GameFrame& frame) {
  if (!frame.bannerShown) return true;
  if (!Recreate(popupFont_, BannerSpec()) || !canvas_.SetTextColour(frame.bannerColour)) {
    return false;
  }
  const SurfaceFont* previous = canvas_.SelectFont(popupFont_.handle());
  int overflow = 0;
  const ScreenBox box = screen::kBannerBox;
  const bool drawn = canvas_.DrawTextAligned(frame.bannerText, box.x, box.y, box.width,
                                             box.height, kAlignCentre, overflow);
  canvas_.SelectFont(previous);
  return drawn;
}

// Left cap when there is any bar, the body stretched over the rest, the right cap only when full.
bool GameScreen::DrawTimeBar(const GameFrame& frame) {
  const int width = frame.timeBarWidth;
  const int mode = static_cast<int>(frame.mode);
  const int y = screen::kTimeBarY;
  if (width > 0 && !canvas_.DrawCell(images_.Get(kImageBarLeft), mode, kBarFrames,
                                     screen::kTimeBarLeftX, y)) {
    return false;
  }
  if (width > 1) {
    const CanvasBitmap* body = images_.Get(kImageBarBody);
    const int height = body ? body->height() : 0;
    if (!canvas_.DrawCellStretched(body, mode, kBarFrames, screen::kTimeBarBodyX, y, width - 2,
                                   height)) {
      return false;
    }
  }
  if (width == kTimeBarFull && !canvas_.DrawCell(images_.Get(kImageBarRight), mode, kBarFrames,
                                                 screen::kTimeBarRightX, y)) {
    return false;
  }
  return true;
}

bool GameScreen::DrawHint(const GameFrame& frame) {
  if (!frame.hintShown) return true;
  if (!Recreate(popupFont_, HintFont()) || !canvas_.SetTextColour(screen::kHintColour)) {
    return false;
  }
  // The keys that type kana make a long hint: it shrinks rather than leave its box.
  return DrawFitted(popupFont_, HintFont(), HintFont(), frame.hintText, screen::kHintBox,
                    kAlignRight);
}

bool GameScreen::Recreate(CanvasFont& font, const FontSpec& setup) {
  font.Delete();
  return font.Create(setup.height, setup.weight, setup.charset, setup.face) != nullptr;
}

bool GameScreen::DrawFitted(CanvasFont& font, const FontSpec& own, FontSpec shrunk,
                            std::string_view text, ScreenBox box, char alignment) {
  const SurfaceFont* previous = canvas_.SelectFont(font.handle());
  int overflow = 0;
  bool drawn = canvas_.DrawTextAligned(text, box.x, box.y, box.width, box.height, alignment,
                                       overflow);
  if (drawn || overflow == 0) {
    canvas_.SelectFont(previous);
    return drawn;
  }
  const std::string key = FitKey(own, shrunk, text, box.width);
  const auto known = fittedHeights_.find(key);
  int height = known != fittedHeights_.end() ? known->second : own.height - 1;
  bool fontMade = true;
  for (; height >= 1 && fontMade; --height) {
    shrunk.height = height;
    fontMade = Recreate(font, shrunk);
    if (!fontMade) break;
    canvas_.SelectFont(font.handle());
    drawn = canvas_.DrawTextAligned(text, box.x, box.y, box.width, box.height, alignment,
                                    overflow);
    if (drawn || overflow == 0) break;
    // A remembered height that no longer fits: step on down from it as the rule does.
  }
  if (drawn) {
    if (fittedHeights_.size() >= kFittedHeightsKept) fittedHeights_.clear();
    fittedHeights_[key] = height;
  }
  canvas_.SelectFont(previous);
  const bool setBack = Recreate(font, own);
  return drawn && setBack;
}

}  // namespace verselane
