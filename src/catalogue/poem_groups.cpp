#include "catalogue/poem_groups.h"

#include <array>
#include <cstddef>

#include "base/shift_jis.h"

namespace verselane {
namespace {

// Members are poem indices (anthology number - 1) in the order players know the lists by.

constexpr std::array<int, 100> kAllPoems = [] {
  std::array<int, 100> poems{};
  for (int i = 0; i < 100; ++i) poems[i] = i;
  return poems;
}();

// Poems by men: every poem not in kWomen.
constexpr std::array<int, 79> kMen = {
    0,  2,  3,  4,  5,  6,  7,  9,  10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21, 22,
    23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 38, 39, 40, 41, 42, 43,
    44, 45, 46, 47, 48, 49, 50, 51, 54, 62, 63, 65, 67, 68, 69, 70, 72, 73, 74, 75,
    76, 77, 78, 80, 81, 82, 83, 84, 85, 86, 90, 92, 93, 94, 95, 96, 97, 98, 99};
constexpr std::array<int, 21> kWomen = {1,  8,  18, 37, 52, 53, 55, 56, 57, 58, 59,
                                        60, 61, 64, 66, 71, 79, 87, 88, 89, 91};
constexpr std::array<int, 13> kMonks = {7, 9, 11, 20, 46, 65, 68, 69, 81, 84, 85, 86, 94};
constexpr std::array<int, 19> kImmortalPoets = {4,  8,  11, 16, 17, 26, 27, 29, 30, 32,
                                                33, 34, 39, 40, 41, 42, 43, 47, 48};
constexpr std::array<int, 43> kLovePoems = {
    2,  12, 13, 17, 18, 19, 20, 24, 26, 29, 37, 38, 39, 40, 41, 42, 43, 44, 45, 47, 48, 49,
    50, 51, 52, 53, 55, 57, 58, 62, 64, 71, 73, 76, 79, 81, 84, 85, 87, 88, 89, 91, 97};

// The n-card groups: a poem is in group n when n poems, itself included, open with its first
// kana. Poem 44 counts under "お": its reading is stored as "あう…" but recited "おう…".
constexpr std::array<int, 7> kOneCard = {17, 21, 56, 69, 80, 76, 86};
constexpr std::array<int, 10> kTwoCard = {12, 22, 36, 39, 45, 64, 65, 70, 73, 99};
constexpr std::array<int, 12> kThreeCard = {14, 16, 20, 32, 34, 41, 49, 60, 62, 74, 90, 98};
constexpr std::array<int, 16> kFourCard = {1,  5,  8,  27, 31, 46, 47, 50,
                                           58, 61, 66, 82, 84, 92, 95, 97};
constexpr std::array<int, 5> kFiveCard = {13, 26, 48, 89, 93};
constexpr std::array<int, 12> kSixCard = {3, 9, 15, 23, 28, 33, 40, 54, 67, 72, 88, 96};
constexpr std::array<int, 14> kSevenCard = {4,  7,  10, 19, 25, 37, 43,
                                            53, 59, 71, 75, 81, 91, 94};
constexpr std::array<int, 8> kEightCard = {18, 24, 35, 52, 79, 83, 85, 87};
constexpr std::array<int, 16> kSixteenCard = {0,  2,  6,  11, 29, 30, 38, 42,
                                              44, 51, 55, 57, 63, 68, 77, 78};

constexpr std::array<std::span<const int>, kBuiltInGroupCount> kGroupMembers = {
    kAllPoems,  kMen,     kWomen,    kMonks,    kImmortalPoets,
    kLovePoems, kOneCard, kTwoCard,  kThreeCard, kFourCard,
    kFiveCard,  kSixCard, kSevenCard, kEightCard, kSixteenCard};

// The sizes the settings dialog promises in each group's name.
constexpr std::array<int, kBuiltInGroupCount> kGroupSizes = {100, 79, 21, 13, 19, 43, 7, 10,
                                                             12,  16, 5,  12, 14, 8,  16};

constexpr bool SizesMatchMembers() {
  for (std::size_t group = 0; group < kGroupSizes.size(); ++group) {
    if (kGroupMembers[group].size() != static_cast<std::size_t>(kGroupSizes[group])) return false;
  }
  return true;
}
static_assert(SizesMatchMembers(), "a group's size disagrees with its member list");

constexpr std::array<const char*, kListedSourceCount> kGroupNamesUtf8 = {
    "全て (100首)",
    "男歌 (79首)",
    "女歌 (21首)",
    "坊主歌 (13首)",
    "三十六歌仙の歌 (19首)",
    "恋歌 (43首)",
    "一枚札 (7首)",
    "二枚札 (10首)",
    "三枚札 (12首)",
    "四枚札 (16首)",
    "五枚札 (5首)",
    "六枚札 (12首)",
    "七枚札 (14首)",
    "八枚札 (8首)",
    "十六枚札 (16首)",
    "ファイルから読み込む",
};

bool IsBuiltIn(int source) { return source >= 0 && source < kBuiltInGroupCount; }

}  // namespace

const std::string& GetGroupName(int source) {
  static const std::array<std::string, kListedSourceCount> names = [] {
    std::array<std::string, kListedSourceCount> converted;
    for (int i = 0; i < kListedSourceCount; ++i) converted[i] = SjisLiteral(kGroupNamesUtf8[i]);
    return converted;
  }();
  static const std::string none;
  if (source < 0 || source >= kListedSourceCount) return none;
  return names[source];
}

void QuestionSources::SetFileList(std::span<const int> poems) {
  fileList_.assign(poems.begin(), poems.end());
}

int QuestionSources::GetGroupSize(int source) const {
  if (IsBuiltIn(source)) return kGroupSizes[source];
  if (source == kFileSource) return static_cast<int>(fileList_.size());
  return 0;
}

std::vector<int> QuestionSources::GetGroupPoems(int source) const {
  if (IsBuiltIn(source)) {
    std::span<const int> members = kGroupMembers[source];
    return {members.begin(), members.end()};
  }
  if (source == kFileSource) return fileList_;
  return {};
}

}  // namespace verselane
