#include "catalogue/poem_groups.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "catalogue/poem_catalogue.h"
#include "game/retry_list.h"
#include "base/shift_jis.h"

namespace verselane {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

TEST(PoemGroupsTest, AllPoemsInAnthologyOrder) {
  QuestionSources sources;
  std::vector<int> expected(100);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(sources.GetGroupSize(kAllPoemsSource), 100);
  EXPECT_EQ(sources.GetGroupPoems(kAllPoemsSource), expected);
}

TEST(PoemGroupsTest, OneCardGroupKeepsItsStoredOrder) {
  QuestionSources sources;
  EXPECT_THAT(sources.GetGroupPoems(6), ElementsAre(17, 21, 56, 69, 80, 76, 86));
}

TEST(PoemGroupsTest, SizesAreTheStatedOnesAndMatchTheMembers) {
  const int stated[kBuiltInGroupCount] = {100, 79, 21, 13, 19, 43, 7, 10, 12, 16, 5, 12, 14, 8, 16};
  QuestionSources sources;
  for (int group = 0; group < kBuiltInGroupCount; ++group) {
    SCOPED_TRACE(group);
    EXPECT_EQ(sources.GetGroupSize(group), stated[group]);
    EXPECT_EQ(sources.GetGroupPoems(group).size(), static_cast<std::size_t>(stated[group]));
  }
}

TEST(PoemGroupsTest, MembersAreDistinctPoemIndices) {
  QuestionSources sources;
  for (int group = 0; group < kBuiltInGroupCount; ++group) {
    SCOPED_TRACE(group);
    std::vector<int> poems = sources.GetGroupPoems(group);
    std::set<int> distinct(poems.begin(), poems.end());
    EXPECT_EQ(distinct.size(), poems.size());
    ASSERT_FALSE(distinct.empty());
    EXPECT_GE(*distinct.begin(), 0);
    EXPECT_LE(*distinct.rbegin(), 99);
  }
}

TEST(PoemGroupsTest, MenAndWomenHoldEveryPoemExactlyOnce) {
  QuestionSources sources;
  std::vector<int> seen(100, 0);
  for (int group : {1, 2}) {
    for (int poem : sources.GetGroupPoems(group)) ++seen[poem];
  }
  EXPECT_EQ(seen, std::vector<int>(100, 1));
}

TEST(PoemGroupsTest, Poem44IsASevenCardNotASixteenCard) {
  QuestionSources sources;
  EXPECT_THAT(sources.GetGroupPoems(12), Contains(43));
  EXPECT_THAT(sources.GetGroupPoems(14), Not(Contains(43)));
}

// The first kana of a poem as the n-card rule counts it.
std::string OpeningKana(const PoemCatalogue& catalogue, int poem) {
  if (poem == 43) return SjisLiteral("お");  // stored "あう…", recited "おう…"
  std::string reading;
  EXPECT_TRUE(catalogue.GetPoemField(poem, kUpperReading, reading));
  return reading.substr(0, kCellBytes);
}

TEST(PoemGroupsTest, CardGroupsFollowTheOpeningKanaCount) {
  const std::map<int, int> groupOfCardCount = {{1, 6}, {2, 7},  {3, 8},  {4, 9}, {5, 10},
                                               {6, 11}, {7, 12}, {8, 13}, {16, 14}};
  PoemCatalogue catalogue;
  std::map<std::string, int> poemsPerKana;
  for (int poem = 0; poem < 100; ++poem) ++poemsPerKana[OpeningKana(catalogue, poem)];

  QuestionSources sources;
  std::vector<std::vector<int>> groupsOfPoem(100);
  for (int group = 6; group <= 14; ++group) {
    for (int poem : sources.GetGroupPoems(group)) groupsOfPoem[poem].push_back(group);
  }
  for (int poem = 0; poem < 100; ++poem) {
    SCOPED_TRACE(poem);
    int cards = poemsPerKana[OpeningKana(catalogue, poem)];
    ASSERT_TRUE(groupOfCardCount.contains(cards)) << cards << " poems share the opening kana";
    EXPECT_THAT(groupsOfPoem[poem], ElementsAre(groupOfCardCount.at(cards)));
  }
}

TEST(PoemGroupsTest, NamesAreTheListEntries) {
  EXPECT_EQ(GetGroupName(0), SjisLiteral("全て (100首)"));
  EXPECT_EQ(GetGroupName(4), SjisLiteral("三十六歌仙の歌 (19首)"));
  EXPECT_EQ(GetGroupName(14), SjisLiteral("十六枚札 (16首)"));
  EXPECT_EQ(GetGroupName(kFileSource), SjisLiteral("ファイルから読み込む"));
}

TEST(PoemGroupsTest, EachNameShowsItsGroupSize) {
  QuestionSources sources;
  for (int group = 0; group < kBuiltInGroupCount; ++group) {
    std::string suffix = SjisLiteral(" (" + std::to_string(sources.GetGroupSize(group)) + "首)");
    EXPECT_TRUE(GetGroupName(group).ends_with(suffix)) << group;
  }
}

TEST(PoemGroupsTest, UnlistedSourcesHaveNoName) {
  EXPECT_THAT(GetGroupName(-1), IsEmpty());
  EXPECT_THAT(GetGroupName(kListedSourceCount), IsEmpty());
}

TEST(QuestionSourcesTest, FileListStartsEmpty) {
  QuestionSources sources;
  EXPECT_EQ(sources.GetGroupSize(kFileSource), 0);
  EXPECT_THAT(sources.GetGroupPoems(kFileSource), IsEmpty());
}

TEST(QuestionSourcesTest, SourcesOutsideTheRangeHaveNoPoems) {
  QuestionSources sources;
  sources.SetFileList(std::vector<int>{1, 2});
  for (int source : {-1, 16, 17, 1000}) {
    SCOPED_TRACE(source);
    EXPECT_EQ(sources.GetGroupSize(source), 0);
    EXPECT_THAT(sources.GetGroupPoems(source), IsEmpty());
  }
}

TEST(QuestionSourcesTest, SecondFileListReplacesTheFirstEntirely) {
  QuestionSources sources;
  sources.SetFileList(std::vector<int>{10, 20, 30, 40});
  sources.SetFileList(std::vector<int>{7, 3});
  EXPECT_EQ(sources.GetGroupSize(kFileSource), 2);
  EXPECT_THAT(sources.GetGroupPoems(kFileSource), ElementsAre(7, 3));

  sources.SetFileList({});
  EXPECT_EQ(sources.GetGroupSize(kFileSource), 0);
}

TEST(QuestionSourcesTest, KeepsItsOwnCopyOfTheFileList) {
  std::vector<int> file = {5, 6};
  QuestionSources sources;
  sources.SetFileList(file);
  file[0] = 99;
  EXPECT_THAT(sources.GetGroupPoems(kFileSource), ElementsAre(5, 6));
}

}  // namespace
}  // namespace verselane
