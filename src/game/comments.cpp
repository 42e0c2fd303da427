#include "game/comments.h"

#include <array>

#include "base/shift_jis.h"

namespace verselane {
namespace {

// "･" is the half-width middle dot (one byte, 0xA5) and "　" the full-width space.
constexpr const char* kComments[kCommentCharacters][kCommentLevels] = {
    {"調子悪いな。\r\n飯ちゃんと食ってるかい。", "･･･懲りずまた戻ってきな。\r\n鮭みたいによ。", "ふむ。\r\nまだこれじゃカツオは釣れめぇが…。", "･･･カッコいいぜ。\r\nシャチみてえだよ。", "レベルアップですぜ。\r\nあんたも成長したもんだ。"},
    {"いまいちですな！", "また頑張ってくだされ。", "まだ先は長いです。\r\n気長にやってくださいな。", "いいペースです。", "わたしはここまで。\r\nより上を目指してくださいな。"},
    {"オナカ痛いの？", "ゴハンちゃんと食べなきゃ。", "ま、\r\nそれなりになってきた。", "むぅ･･･\r\nなかなかやるじゃん。", "強くなった。\r\n本当に強くなった。"},
    {"あかん。店じまいや。", "まだまだ努力。\r\n辛抱が肝心やで。", "ようやく･･･\r\n使えるようになってきたわ。", "いい仕事や。\r\nこの調子で気張ってきぃ。", "もう立派な1人前や。\r\nけど、商いの道はまだこれからやで。"},
    {"･･･。(眠)", "･･･。(？)", "･･･。", "･･･あと一歩。", "･･･レベルアップ。"},
    {"なるようになる\r\n　心配するな", "人の一生は重荷を負て遠き道をゆく如し", "家は洩らぬ程、食事は飢えぬ程にて、\r\n　足る事なり", "おもしろき　こともなき世を\r\n　おもしろく", "これでおしまい"},
    {"Zzzz････", "･･ふむぅ。", "なかなか。", "あとちょい。", "お見事！"},
};

using CommentTable = std::array<std::array<std::string, kCommentLevels>, kCommentCharacters>;

const CommentTable& Comments() {
  static const CommentTable table = [] {
    CommentTable converted;
    for (int c = 0; c < kCommentCharacters; ++c) {
      for (int level = 0; level < kCommentLevels; ++level) {
        converted[c][level] = SjisLiteral(kComments[c][level]);
      }
    }
    return converted;
  }();
  return table;
}

}  // namespace

void GetComment(int character, int level, std::string& text) {
  if (character < 0 || character >= kCommentCharacters || level < 0 || level >= kCommentLevels) {
    return;
  }
  text = Comments()[character][level];
}

}  // namespace verselane
