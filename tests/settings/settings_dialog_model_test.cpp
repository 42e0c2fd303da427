#include "settings/settings_dialog_model.h"

#include <gtest/gtest.h>

#include "catalogue/poem_catalogue.h"
#include "catalogue/poem_groups.h"
#include "base/shift_jis.h"
#include "fakes/desktop_fakes.h"
#include "fakes/file_fakes.h"
#include "fakes/temp_folder.h"
#include "catalogue/poem_catalogue.h"
#include "settings/favourite.h"
#include "settings/question_source.h"
#include "settings/settings_controller.h"

namespace verselane {
namespace {

constexpr int kSingleCardSource = 6;  // 一枚札 (7首)
constexpr int kLoveSource = 5;        // 恋歌 (43首)

class SettingsDialogModelTest : public ::testing::Test {
 protected:
  Settings& settings() { return controller.settings(); }
  void OpenWith(int source, int count) {
    settings().SetSource(source);
    settings().SetQuestionCount(count);
    model.Open();
  }
  // A question file of `poems` entries in the test's folder; its path.
  std::string QuestionFile(const std::string& name, int poems) {
    std::string text;
    for (int i = 0; i < poems; ++i) text += (i ? "," : "") + std::to_string(i);
    WriteBytes(folder.File(name), Scrambled(text));
    return folder.File(name);
  }

  TempFolder folder;
  const PoemCatalogue catalogue;
  FakeNotices notices;
  FakeFileChooser files;
  SettingsController controller{folder.File("env.ini")};
  SettingsDialogModel model{catalogue, controller, files, notices};
};

TEST_F(SettingsDialogModelTest, OpensWithTheSettings) {
  settings().SetMode(QuestionMode::Reverse);
  settings().SetFavouritePoem(0);
  settings().SetShowAfterKimariji(false);
  settings().SetAcceptOmission(true);
  settings().SetPlaySounds(false);
  OpenWith(kLoveSource, 20);
  EXPECT_EQ(model.mode(), QuestionMode::Reverse);
  EXPECT_TRUE(model.showAfterKimarijiEnabled());
  EXPECT_FALSE(model.showAfterKimariji());
  EXPECT_TRUE(model.acceptOmission());
  EXPECT_FALSE(model.playSounds());
  EXPECT_EQ(model.selectedEntry(), kLoveSource);
  EXPECT_EQ(model.shownSource(), kLoveSource);
  EXPECT_EQ(model.spinnerMaximum(), 43);
  EXPECT_EQ(model.countText(), "20");
  EXPECT_EQ(model.pendingFavourite(), 0);
  const FavouriteTexts& texts = model.favouriteTexts();
  EXPECT_EQ(texts.poet, SjisLiteral("天智天皇(てんちてんのう)"));
  for (int entry = 0; entry < kListedSourceCount; ++entry) {
    EXPECT_EQ(model.entryText(entry), GetGroupName(entry)) << entry;
  }
  EXPECT_EQ(model.entryText(15), SjisLiteral("ファイルから読み込む"));
}

TEST_F(SettingsDialogModelTest, PoetModeOpensWithTheStoredMarkDisabled) {
  settings().SetMode(QuestionMode::Poet);
  settings().SetShowAfterKimariji(false);
  model.Open();
  EXPECT_EQ(model.mode(), QuestionMode::Poet);
  EXPECT_FALSE(model.showAfterKimarijiEnabled());
  EXPECT_FALSE(model.showAfterKimariji());  // shown as stored, not forced on
  model.SetShowAfterKimariji(true);         // a disabled box cannot be clicked
  EXPECT_FALSE(model.showAfterKimariji());
}

TEST_F(SettingsDialogModelTest, PoetChecksAndDisablesTheOptionAndNormalEnablesItChecked) {
  settings().SetShowAfterKimariji(false);
  model.Open();
  model.ChooseMode(QuestionMode::Poet);
  EXPECT_TRUE(model.showAfterKimariji());
  EXPECT_FALSE(model.showAfterKimarijiEnabled());
  model.ChooseMode(QuestionMode::Normal);
  EXPECT_TRUE(model.showAfterKimarijiEnabled());
  EXPECT_TRUE(model.showAfterKimariji());  // enabled again without losing the mark
  model.SetShowAfterKimariji(false);
  model.ChooseMode(QuestionMode::Reverse);
  EXPECT_TRUE(model.showAfterKimarijiEnabled());
  EXPECT_FALSE(model.showAfterKimariji());
  model.Ok();
  EXPECT_EQ(settings().mode(), QuestionMode::Reverse);
  EXPECT_FALSE(settings().showAfterKimariji());
}

TEST_F(SettingsDialogModelTest, APoetChoiceAlwaysStoresTheOptionOn) {
  settings().SetShowAfterKimariji(false);
  model.Open();
  model.ChooseMode(QuestionMode::Poet);
  model.Ok();
  EXPECT_EQ(settings().mode(), QuestionMode::Poet);
  EXPECT_TRUE(settings().showAfterKimariji());
}

TEST_F(SettingsDialogModelTest, LeavingTheCountBoxLowersACountAboveTheSource) {
  OpenWith(kSingleCardSource, 5);
  model.TypeCount("50");
  model.LeaveCountBox();
  EXPECT_EQ(model.countText(), "7");
  model.TypeCount("0");
  model.LeaveCountBox();
  EXPECT_EQ(model.countText(), "0");  // only lowered here; OK makes it 1
  model.TypeCount("");
  model.LeaveCountBox();
  EXPECT_EQ(model.countText(), "");
  model.TypeCount("6");
  model.LeaveCountBox();
  EXPECT_EQ(model.countText(), "6");
}

TEST_F(SettingsDialogModelTest, OkClampsTheCountToTheSource) {
  OpenWith(kSingleCardSource, 5);
  model.TypeCount("0");
  model.Ok();
  EXPECT_EQ(settings().questionCount(), 1);
  model.Open();
  model.TypeCount("");
  model.Ok();
  EXPECT_EQ(settings().questionCount(), 1);
  model.Open();
  model.TypeCount("12");
  model.Ok();
  EXPECT_EQ(settings().questionCount(), 7);
  model.Open();
  model.TypeCount("4");
  model.Ok();
  EXPECT_EQ(settings().questionCount(), 4);
}

TEST_F(SettingsDialogModelTest, OnlyTheFirstThreeDigitsCount) {
  EXPECT_EQ(ReadCountBox("1000"), 100);
  EXPECT_EQ(ReadCountBox("0071"), 7);
  EXPECT_EQ(ReadCountBox("12x"), 12);
  EXPECT_EQ(ReadCountBox("x12"), 0);
  EXPECT_EQ(ReadCountBox(""), 0);
  OpenWith(kAllPoemsSource, 10);
  model.TypeCount("1000");
  model.LeaveCountBox();
  EXPECT_EQ(model.countText(), "1000");  // read as 100, which the source holds
  model.Ok();
  EXPECT_EQ(settings().questionCount(), 100);
  model.Open();
  model.TypeCount("0999");
  model.Ok();
  EXPECT_EQ(settings().questionCount(), 99);
}

TEST_F(SettingsDialogModelTest, TheSpinnerWrapsAtBothEnds) {
  OpenWith(kSingleCardSource, 7);
  model.SpinUp();
  EXPECT_EQ(model.countText(), "1");
  model.SpinDown();
  EXPECT_EQ(model.countText(), "7");
  model.SpinDown();
  EXPECT_EQ(model.countText(), "6");
  model.SpinUp();
  model.SpinUp();
  EXPECT_EQ(model.countText(), "1");
}

TEST_F(SettingsDialogModelTest, TheSpinnerStepsACountOutsideItsRangeIntoIt) {
  OpenWith(kSingleCardSource, 7);
  model.TypeCount("50");
  model.SpinDown();
  EXPECT_EQ(model.countText(), "7");
  model.TypeCount("50");
  model.SpinUp();
  EXPECT_EQ(model.countText(), "1");
  model.TypeCount("0");
  model.SpinUp();
  EXPECT_EQ(model.countText(), "1");
  model.TypeCount("");
  model.SpinDown();
  EXPECT_EQ(model.countText(), "7");
}

TEST_F(SettingsDialogModelTest, OkWithoutAnyChangeStillMarksTheSettings) {
  ASSERT_FALSE(controller.settingsChanged());
  model.Open();
  model.Ok();
  EXPECT_TRUE(controller.settingsChanged());
}

TEST_F(SettingsDialogModelTest, OkTakesEveryValue) {
  OpenWith(kAllPoemsSource, 100);
  model.ChooseMode(QuestionMode::Reverse);
  model.CommitSource(kLoveSource);
  model.TypeCount("30");
  model.SetPendingFavourite(86);
  model.SetShowAfterKimariji(false);
  model.SetAcceptOmission(true);
  model.SetPlaySounds(false);
  model.Ok();
  EXPECT_EQ(settings().mode(), QuestionMode::Reverse);
  EXPECT_EQ(settings().source(), kLoveSource);
  EXPECT_EQ(settings().questionCount(), 30);
  EXPECT_EQ(settings().favouritePoem(), 86);
  EXPECT_FALSE(settings().showAfterKimariji());
  EXPECT_TRUE(settings().acceptOmission());
  EXPECT_FALSE(settings().playSounds());
}

TEST_F(SettingsDialogModelTest, WithoutOkTheSettingsKeepTheirValues) {
  settings().SetFavouritePoem(28);
  OpenWith(kAllPoemsSource, 100);
  model.SetPendingFavourite(5);
  model.CommitSource(kSingleCardSource);
  model.ChooseMode(QuestionMode::Poet);
  // Cancel: nothing is taken.
  EXPECT_EQ(settings().favouritePoem(), 28);
  EXPECT_EQ(settings().source(), kAllPoemsSource);
  EXPECT_EQ(settings().mode(), QuestionMode::Normal);
  EXPECT_FALSE(controller.settingsChanged());
  model.Open();  // the next opening shows the old favourite
  EXPECT_EQ(model.pendingFavourite(), 28);
  EXPECT_EQ(model.favouriteTexts().poet, SjisLiteral("凡河内躬恒(おおしこうちのみつね)"));
}

TEST_F(SettingsDialogModelTest, CommittingASourceProposesAllItsPoems) {
  OpenWith(kAllPoemsSource, 3);
  model.CommitSource(kSingleCardSource);
  EXPECT_EQ(model.selectedEntry(), kSingleCardSource);
  EXPECT_EQ(model.shownSource(), kSingleCardSource);
  EXPECT_EQ(model.spinnerMaximum(), 7);
  EXPECT_EQ(model.countText(), "7");  // even though the box held a smaller number
  model.TypeCount("2");
  model.CommitSource(kSingleCardSource);  // the same entry again
  EXPECT_EQ(model.countText(), "7");
}

TEST_F(SettingsDialogModelTest, ChoosingAFileShowsItsNameAndSize) {
  OpenWith(kAllPoemsSource, 100);
  files.answer = QuestionFile("set1.vlq", 12);
  model.OpenSourceList();
  model.CommitSource(kFileSource);
  model.CloseSourceList();
  EXPECT_EQ(model.entryText(kFileSource), SjisLiteral("set1.vlq (12首)"));
  EXPECT_EQ(model.selectedEntry(), kFileSource);
  EXPECT_EQ(model.shownSource(), kFileSource);
  EXPECT_EQ(model.spinnerMaximum(), 12);
  EXPECT_EQ(model.countText(), "12");
  EXPECT_EQ(settings().questionFilePath(), folder.File("set1.vlq"));
  ASSERT_EQ(files.openDialogs.size(), 1u);
  EXPECT_EQ(DialogFields(files.openDialogs[0]), DialogFields(QuestionFileOpenSpec()));
  model.Ok();
  EXPECT_EQ(settings().source(), kFileSource);
  EXPECT_EQ(settings().questionCount(), 12);
}

TEST_F(SettingsDialogModelTest, CancellingTheFileChoiceLeavesThePreviousEntry) {
  OpenWith(kLoveSource, 20);
  model.TypeCount("25");
  model.OpenSourceList();
  model.CommitSource(kFileSource);  // the player cancels the file dialog
  model.CloseSourceList();
  EXPECT_EQ(files.openDialogs.size(), 1u);
  EXPECT_EQ(model.selectedEntry(), kLoveSource);
  EXPECT_EQ(model.shownSource(), kLoveSource);
  EXPECT_EQ(model.countText(), "25");
  EXPECT_EQ(model.spinnerMaximum(), 43);
  EXPECT_EQ(model.entryText(kFileSource), SjisLiteral("ファイルから読み込む"));
  EXPECT_TRUE(settings().questionFilePath().empty());
}

TEST_F(SettingsDialogModelTest, AnUnreadableFileLeavesTheFileSourceAsItWas) {
  const std::string first = QuestionFile("first.vlq", 3);
  controller.sources().SetFileList(std::vector<int>{0, 1, 2});
  settings().SetQuestionFilePath(first);
  OpenWith(kFileSource, 2);
  WriteBytes(folder.File("bad.vlq"), Scrambled("3,,5"));
  files.answer = folder.File("bad.vlq");
  model.OpenSourceList();
  model.CommitSource(kFileSource);
  model.CloseSourceList();
  EXPECT_EQ(model.selectedEntry(), kFileSource);
  EXPECT_EQ(model.entryText(kFileSource), SjisLiteral("first.vlq (3首)"));
  EXPECT_EQ(model.countText(), "2");
  EXPECT_EQ(settings().questionFilePath(), first);
  EXPECT_TRUE(notices.shown.empty());
}

TEST_F(SettingsDialogModelTest, TheOpenListOffersTheFileChoiceByItsPlainName) {
  controller.sources().SetFileList(std::vector<int>{4, 17, 0});
  settings().SetQuestionFilePath("/home/hanako/drill/set1.vlq");
  OpenWith(kFileSource, 3);
  const std::string label = SjisLiteral("set1.vlq (3首)");
  EXPECT_EQ(model.entryText(kFileSource), label);
  EXPECT_EQ(model.spinnerMaximum(), 3);
  model.OpenSourceList();
  EXPECT_EQ(model.entryText(kFileSource), SjisLiteral("ファイルから読み込む"));
  model.CloseSourceList();  // closed without a choice
  EXPECT_EQ(model.entryText(kFileSource), label);
  EXPECT_EQ(model.selectedEntry(), kFileSource);
  // A built-in group committed instead: the entry keeps the plain name from then on.
  model.OpenSourceList();
  model.CommitSource(kLoveSource);
  model.CloseSourceList();
  EXPECT_EQ(model.entryText(kFileSource), SjisLiteral("ファイルから読み込む"));
  EXPECT_EQ(model.selectedEntry(), kLoveSource);
}

TEST_F(SettingsDialogModelTest, AFileChosenAndThenCancelledStaysLoaded) {
  OpenWith(kLoveSource, 20);
  files.answer = QuestionFile("set2.vlq", 4);
  model.CommitSource(kFileSource);
  // Cancel of the settings dialog.
  EXPECT_EQ(settings().source(), kLoveSource);
  EXPECT_EQ(settings().questionCount(), 20);
  EXPECT_EQ(settings().questionFilePath(), folder.File("set2.vlq"));
  EXPECT_EQ(controller.sources().GetGroupSize(kFileSource), 4);
}

TEST_F(SettingsDialogModelTest, LeavingTheBoxClampsToTheSelectedEntry) {
  OpenWith(kAllPoemsSource, 100);
  model.CommitSource(kSingleCardSource);
  model.TypeCount("99");
  model.LeaveCountBox();
  EXPECT_EQ(model.countText(), "7");
}

class FavouriteDialogModelTest : public ::testing::Test {
 protected:
  PoemCatalogue catalogue;
  ScriptedRandom random{{28, 28, 0, 5}};
  RandomPoemPicker picker{random};
  FavouriteDialogModel model{catalogue, picker};
};

TEST_F(FavouriteDialogModelTest, OpensOnTheFavouritesUpperReading) {
  EXPECT_EQ(model.Open(28), SjisLiteral("こころあてにおらばやおらむはつしもの"));
}

TEST_F(FavouriteDialogModelTest, TheRandomButtonNeverRepeatsThePoemBeforeIt) {
  const std::string first = model.PickRandom();
  EXPECT_EQ(first, catalogue.FieldView(28, kUpperReading));
  const std::string second = model.PickRandom();  // drew 28 again: another poem instead
  EXPECT_NE(second, first);
  EXPECT_EQ(model.Search(SjisToUtf8(second).text).poem, FindPoemByUpperPhrase(catalogue, second));
}

TEST_F(FavouriteDialogModelTest, SearchesWhatThePlayerTyped) {
  EXPECT_EQ(model.Search("こころあ").poem, 28);
  EXPECT_EQ(model.Search("心当").poem, 28);
  const FavouriteSearch odd = model.Search("こころあa");
  EXPECT_EQ(odd.poem, std::nullopt);
  ASSERT_EQ(odd.refusal, Notice::kFavouriteNotFullWidth);
  EXPECT_EQ(ComposeNotice(*odd.refusal).text, SjisLiteral("すべて全角文字で入力してください "));
  EXPECT_EQ(ComposeNotice(*odd.refusal).caption, "Notice");
  const FavouriteSearch none = model.Search("");
  EXPECT_EQ(none.poem, std::nullopt);
  ASSERT_EQ(none.refusal, Notice::kFavouriteNotFound);
  EXPECT_EQ(ComposeNotice(*none.refusal).text,
            SjisLiteral("入力された上の句を持つ歌を特定できませんでした "));
  EXPECT_EQ(ComposeNotice(*none.refusal).caption, SjisLiteral(" 歌検索の結果"));
}

TEST_F(FavouriteDialogModelTest, ACharacterShiftJisLacksFindsNoPoem) {
  const FavouriteSearch search = model.Search("こころあ𠮷");
  EXPECT_EQ(search.poem, std::nullopt);
  EXPECT_EQ(search.refusal, Notice::kFavouriteNotFound);
  // Past the 49 bytes read it no longer matters.
  const std::string whole = SjisToUtf8(catalogue.FieldView(28, kUpperReading)).text;
  std::string longText = whole + whole;  // 52 bytes of Shift-JIS
  EXPECT_EQ(model.Search(longText + "𠮷").poem, 28);
}

}  // namespace
}  // namespace verselane
