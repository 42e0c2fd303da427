// The settings dialog and the favourite poem dialog, driven with the mouse and the keyboard.
#include <gtest/gtest.h>

#include <filesystem>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "dialogs_harness.h"
#include "fakes/temp_folder.h"
#include "settings/favourite.h"
#include "ui/dialogs/favourite_dialog.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/dialogs/up_down_control.h"
#include "ui/display_text.h"

namespace verselane::uitest {
namespace {

constexpr int kSingleCardSource = 6;  // 一枚札 (7首)
constexpr int kLoveSource = 5;        // 恋歌 (43首)

class SettingsDialogTest : public DialogsFixture {
 protected:
  explicit SettingsDialogTest(bool realFileDialogs = false) : DialogsFixture(realFileDialogs) {}

  static wxTextCtrl* Count(SettingsDialog& dialog) { return dialog.count(); }
  static wxChoice* Sources(SettingsDialog& dialog) { return dialog.sources(); }
  static std::string Entry(SettingsDialog& dialog, int entry) {
    return Utf8(Sources(dialog)->GetString(entry));
  }
  static void Ok(SettingsDialog& dialog) {
    Click(dialog.FindWindow(wxID_OK), [&] { return dialog.ended(); });
  }
  static void Cancel(SettingsDialog& dialog) {
    Click(dialog.FindWindow(wxID_CANCEL), [&] { return dialog.ended(); });
  }
  // Opens the source list with the mouse, as a player does.
  static void OpenList(SettingsDialog& dialog, bool* opened) {
    wxChoice* list = Sources(dialog);
    const wxRect area = list->GetScreenRect();
    wxUIActionSimulator mouse;
    mouse.MouseMove(area.GetRight() - 8, area.y + area.height / 2);
    RunEventsFor(30);
    mouse.MouseClick();
    EXPECT_TRUE(RunEventsUntil([&] { return *opened; })) << "the list did not open";
  }
  // A question file of `poems` entries in the test's folder; its path.
  static std::string QuestionFile(const std::string& name, int poems) {
    std::string text;
    for (int i = 0; i < poems; ++i) text += (i ? "," : "") + std::to_string(i);
    WriteBytes(ScratchFile(name), Scrambled(text));
    return ScratchFile(name);
  }
  // Watches the source list's dropping down and closing up.
  static void Watch(SettingsDialog& dialog, bool* opened, bool* closed) {
    Sources(dialog)->Bind(wxEVT_COMBOBOX_DROPDOWN, [opened](wxCommandEvent& event) {
      *opened = true;
      event.Skip();
    });
    Sources(dialog)->Bind(wxEVT_COMBOBOX_CLOSEUP, [closed](wxCommandEvent& event) {
      *closed = true;
      event.Skip();
    });
  }
};

TEST_F(SettingsDialogTest, OpensWithTheSettingsAndOkMarksThemForSaving) {
  settings().SetMode(QuestionMode::Reverse);
  settings().SetSource(kLoveSource);
  settings().SetQuestionCount(20);
  settings().SetAcceptOmission(true);
  settings().SetPlaySounds(false);
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  EXPECT_EQ(Utf8(dialog.GetTitle()), " 環境設定");
                  EXPECT_TRUE(dialog.reverse()->GetValue());
                  EXPECT_EQ(Sources(dialog)->GetSelection(), kLoveSource);
                  EXPECT_EQ(Entry(dialog, kLoveSource), "恋歌 (43首)");
                  EXPECT_EQ(Entry(dialog, 15), "ファイルから読み込む");
                  EXPECT_EQ(Utf8(Count(dialog)->GetValue()), "20");
                  EXPECT_TRUE(dialog.showAfterKimariji()->GetValue());
                  EXPECT_TRUE(dialog.showAfterKimariji()->IsEnabled());
                  EXPECT_TRUE(dialog.acceptOmission()->GetValue());
                  EXPECT_FALSE(dialog.playSounds()->GetValue());
                  EXPECT_EQ(Utf8(dialog.poetBox()->GetValue()),
                            "凡河内躬恒(おおしこうちのみつね)");
                  EXPECT_EQ(Utf8(dialog.poemBox()->GetValue()),
                            "心あてに折らばや折らむ初霜の置きまどはせる白菊の花");
                  EXPECT_TRUE(FocusIsIn(&dialog));
                  EXPECT_EQ(dialog.GetParent(), owner());
                  Ok(dialog);
                }));
  EXPECT_TRUE(settingsController.settingsChanged());
  EXPECT_EQ(settings().mode(), QuestionMode::Reverse);
  EXPECT_EQ(settings().source(), kLoveSource);
  EXPECT_EQ(settings().questionCount(), 20);
}

TEST_F(SettingsDialogTest, PoetChecksAndDisablesTheOptionAndNormalEnablesItAgain) {
  settings().SetShowAfterKimariji(false);
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  wxCheckBox* option = dialog.showAfterKimariji();
                  EXPECT_FALSE(option->GetValue());
                  Click(dialog.poetMode(), [&] { return !option->IsEnabled(); });
                  EXPECT_TRUE(option->GetValue());
                  EXPECT_FALSE(option->IsEnabled());
                  Click(dialog.normal(), [&] { return option->IsEnabled(); });
                  EXPECT_TRUE(option->GetValue());  // enabled again, still checked
                  Click(option, [&] { return !option->GetValue(); });
                  Click(dialog.reverse());
                  EXPECT_TRUE(option->IsEnabled());
                  EXPECT_FALSE(option->GetValue());
                  Click(dialog.poetMode(), [&] { return !option->IsEnabled(); });
                  Ok(dialog);
                }));
  EXPECT_EQ(settings().mode(), QuestionMode::Poet);
  EXPECT_TRUE(settings().showAfterKimariji());
}

TEST_F(SettingsDialogTest, PoetModeOpensWithTheStoredMarkShownDisabled) {
  settings().SetMode(QuestionMode::Poet);
  settings().SetShowAfterKimariji(false);
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  EXPECT_TRUE(dialog.poetMode()->GetValue());
                  EXPECT_FALSE(dialog.showAfterKimariji()->GetValue());
                  EXPECT_FALSE(dialog.showAfterKimariji()->IsEnabled());
                  Cancel(dialog);
                }));
  EXPECT_FALSE(settingsController.settingsChanged());
}

TEST_F(SettingsDialogTest, ACountAboveTheSourceBecomesItsSizeOnLeavingTheBox) {
  settings().SetSource(kSingleCardSource);
  settings().SetQuestionCount(5);
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  wxTextCtrl* count = Count(dialog);
                  FocusOn(count);
                  count->SelectAll();
                  Type(count, "50");
                  EXPECT_EQ(Utf8(count->GetValue()), "50");
                  Key(&dialog, WXK_TAB, [&] { return wxWindow::FindFocus() != count; });
                  EXPECT_EQ(Utf8(count->GetValue()), "7");
                  // 0 stays until OK, which makes it 1.
                  FocusOn(count);
                  count->SelectAll();
                  Type(count, "0");
                  Key(&dialog, WXK_TAB, [&] { return wxWindow::FindFocus() != count; });
                  EXPECT_EQ(Utf8(count->GetValue()), "0");
                  Ok(dialog);
                }));
  EXPECT_EQ(settings().questionCount(), 1);
}

TEST_F(SettingsDialogTest, TheCountBoxTakesDigitsOnly) {
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  wxTextCtrl* count = Count(dialog);
                  FocusOn(count);
                  count->SelectAll();
                  Type(count, "4");
                  wxUIActionSimulator keyboard;
                  keyboard.Text("x-");
                  Type(count, "2");
                  EXPECT_EQ(Utf8(count->GetValue()), "42");
                  Ok(dialog);
                }));
  EXPECT_EQ(settings().questionCount(), 42);
  // Only the first three digits count: 1000 is read as 100.
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  wxTextCtrl* count = Count(dialog);
                  FocusOn(count);
                  count->SelectAll();
                  Type(count, "1000");
                  Key(&dialog, WXK_RETURN, [&] { return dialog.ended(); });  // OK, the default
                }));
  EXPECT_EQ(settings().questionCount(), 100);
}

TEST_F(SettingsDialogTest, TheSpinnerWrapsAtBothEndsWithTheMouseAndTheArrowKeys) {
  settings().SetSource(kSingleCardSource);
  settings().SetQuestionCount(7);
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  wxTextCtrl* count = Count(dialog);
                  wxWindow* spinner = dialog.spinner();
                  const wxSize size = spinner->GetClientSize();
                  FocusOn(count);
                  ClickAt(spinner, size.x / 2, size.y / 4);  // the upper arrow
                  EXPECT_TRUE(RunEventsUntil([&] { return count->GetValue() == "1"; }));
                  ClickAt(spinner, size.x / 2, size.y * 3 / 4);  // the lower arrow
                  EXPECT_TRUE(RunEventsUntil([&] { return count->GetValue() == "7"; }));
                  // The arrows leave the focus in the box, where the arrow keys step too.
                  EXPECT_EQ(wxWindow::FindFocus(), count);
                  Key(&dialog, WXK_DOWN, [&] { return count->GetValue() == "6"; });
                  Key(&dialog, WXK_UP, [&] { return count->GetValue() == "7"; });
                  Key(&dialog, WXK_UP, [&] { return count->GetValue() == "1"; });
                  Ok(dialog);
                }));
  EXPECT_EQ(settings().questionCount(), 1);
}

TEST_F(SettingsDialogTest, ChoosingAGroupInTheListProposesAllItsPoems) {
  settings().SetQuestionCount(3);
  bool opened = false, closed = false;
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Watch(dialog, &opened, &closed);
                  OpenList(dialog, &opened);
                  // From the entry chosen (0), six down.
                  Press({WXK_DOWN, WXK_DOWN, WXK_DOWN, WXK_DOWN, WXK_DOWN, WXK_DOWN, WXK_RETURN});
                  EXPECT_TRUE(RunEventsUntil([&] {
                    return closed && Sources(dialog)->GetSelection() == kSingleCardSource;
                  }));
                  EXPECT_EQ(Utf8(Count(dialog)->GetValue()), "7");
                  // The list is one Tab stop, with no text entry of its own.
                  FocusOn(Sources(dialog));
                  Key(&dialog, WXK_TAB);
                  EXPECT_EQ(wxWindow::FindFocus(), dialog.changeFavourite());
                  Ok(dialog);
                }));
  EXPECT_EQ(settings().source(), kSingleCardSource);
  EXPECT_EQ(settings().questionCount(), 7);
}

TEST_F(SettingsDialogTest, TheFavouriteBoxesShowEveryPoemAndPoetWhole) {
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  auto* poemBox = dialog.poemBox();
                  auto* poetBox = dialog.poetBox();
                  const auto fits = [](wxTextCtrl* box, const std::string& sjis) {
                    const int text = box->GetTextExtent(FromSjis(sjis)).x;
                    return box->GetSizeFromTextSize(text).x <= box->GetSize().x;
                  };
                  for (int poem = 0; poem < catalogue.poemCount(); ++poem) {
                    const FavouriteTexts texts = ShowFavourite(catalogue, poem);
                    EXPECT_TRUE(fits(poemBox, texts.poem)) << "poem " << poem + 1;
                    EXPECT_TRUE(fits(poetBox, texts.poet)) << "poem " << poem + 1;
                  }
                  Cancel(dialog);
                }));
}

TEST_F(SettingsDialogTest, CancelKeepsTheSettings) {
  settings().SetQuestionCount(30);
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Click(dialog.poetMode());
                  Click(dialog.playSounds());
                  Key(&dialog, WXK_ESCAPE, [&] { return dialog.ended(); });
                }));
  EXPECT_EQ(settings().mode(), QuestionMode::Normal);
  EXPECT_TRUE(settings().playSounds());
  EXPECT_EQ(settings().questionCount(), 30);
  EXPECT_FALSE(settingsController.settingsChanged());
  // The close box cancels as well.
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Click(dialog.playSounds());
                  EXPECT_TRUE(dialog.Close());
                  EXPECT_TRUE(dialog.ended());
                }));
  EXPECT_TRUE(settings().playSounds());
}

// --- The question file in the source list, through GTK's file dialog -----------------------

class SourceFileTest : public SettingsDialogTest {
 protected:
  SourceFileTest() : SettingsDialogTest(true) {}
};

TEST_F(SourceFileTest, AChosenFileOfTwelveShowsItsNameAndSize) {
  settings().SetSource(kLoveSource);
  settings().SetQuestionCount(20);
  const std::string path = QuestionFile("name.vlq", 12);
  const std::string folder = ScratchFolder();
  const std::filesystem::path before = std::filesystem::current_path();
  FileDialogSeen seen;
  bool opened = false, closed = false;
  wxTEST_DIALOG(dialogs.OpenSettings(),
                ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Watch(dialog, &opened, &closed);
                  OpenList(dialog, &opened);
                  Press({WXK_END, WXK_RETURN});
                  EXPECT_TRUE(RunEventsUntil([&] { return seen.shown == 1 && closed; }));
                  EXPECT_TRUE(RunEventsUntil([&] { return Entry(dialog, 15) == "name.vlq (12首)"; }));
                  EXPECT_EQ(Sources(dialog)->GetSelection(), 15);
                  EXPECT_EQ(Utf8(Sources(dialog)->GetStringSelection()), "name.vlq (12首)")
                      << "the closed list shows the label, not the entry's plain name";
                  EXPECT_EQ(Utf8(Count(dialog)->GetValue()), "12");
                  // The spinner's range follows: up from 12 wraps to 1.
                  wxWindow* spinner = dialog.spinner();
                  ClickAt(spinner, spinner->GetClientSize().x / 2, spinner->GetClientSize().y / 4);
                  EXPECT_TRUE(RunEventsUntil([&] { return Count(dialog)->GetValue() == "1"; }));
                  Ok(dialog);
                }),
                ExpectFileDialog(path, wxID_OK, &seen));
  EXPECT_EQ(seen.title, " Verselane 問題ファイルの読み込み");
  EXPECT_EQ(seen.wildcard, "Verselane question files(*.vlq)|*.vlq|All files(*.*)|*");
  EXPECT_EQ(seen.filterIndex, 0);
  EXPECT_EQ(seen.directory, folder);  // the dialogs start in the data folder
  EXPECT_TRUE(seen.style & wxFD_OPEN);
  EXPECT_FALSE(seen.style & wxFD_FILE_MUST_EXIST);  // a name without ".vlq" is let through
  EXPECT_EQ(settings().source(), kFileSource);
  EXPECT_EQ(settings().questionCount(), 1);
  EXPECT_EQ(settings().questionFilePath(), path);
  EXPECT_EQ(settingsController.sources().GetGroupSize(kFileSource), 12);
  EXPECT_EQ(std::filesystem::current_path(), before);  // choosing never moves the current folder
}

TEST_F(SourceFileTest, CancellingTheFileDialogLeavesThePreviousEntry) {
  settings().SetSource(kLoveSource);
  settings().SetQuestionCount(20);
  bool opened = false, closed = false;
  FileDialogSeen seen;
  wxTEST_DIALOG(dialogs.OpenSettings(),
                ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Watch(dialog, &opened, &closed);
                  FocusOn(Count(dialog));
                  Count(dialog)->SelectAll();
                  Type(Count(dialog), "25");
                  OpenList(dialog, &opened);
                  Press({WXK_END, WXK_RETURN});
                  EXPECT_TRUE(RunEventsUntil([&] { return seen.shown == 1 && closed; }));
                  EXPECT_TRUE(RunEventsUntil(
                      [&] { return Sources(dialog)->GetSelection() == kLoveSource; }));
                  EXPECT_EQ(Entry(dialog, 15), "ファイルから読み込む");
                  EXPECT_EQ(Utf8(Count(dialog)->GetValue()), "25");
                  Cancel(dialog);
                }),
                ExpectFileDialog("", wxID_CANCEL, &seen));
  EXPECT_TRUE(settings().questionFilePath().empty());
  EXPECT_EQ(settings().source(), kLoveSource);
}

TEST_F(SourceFileTest, TheOpenListOffersTheFileChoiceByItsPlainName) {
  const std::string path = QuestionFile("set1.vlq", 3);
  settingsController.sources().SetFileList(std::vector<int>{0, 1, 2});
  settings().SetQuestionFilePath(path);
  settings().SetSource(kFileSource);
  settings().SetQuestionCount(2);
  bool opened = false, closed = false;
  std::string whileOpen;
  wxTEST_DIALOG(dialogs.OpenSettings(), ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Watch(dialog, &opened, &closed);
                  EXPECT_EQ(Entry(dialog, 15), "set1.vlq (3首)");
                  EXPECT_EQ(Sources(dialog)->GetSelection(), 15);
                  OpenList(dialog, &opened);
                  whileOpen = Entry(dialog, 15);
                  Press({WXK_ESCAPE});  // closed without a choice
                  EXPECT_TRUE(RunEventsUntil([&] { return closed; }));
                  EXPECT_TRUE(RunEventsUntil([&] { return Entry(dialog, 15) == "set1.vlq (3首)"; }));
                  EXPECT_EQ(Sources(dialog)->GetSelection(), 15);
                  EXPECT_EQ(Utf8(Count(dialog)->GetValue()), "2");
                  EXPECT_FALSE(dialog.ended());
                  Cancel(dialog);
                }));
  EXPECT_EQ(whileOpen, "ファイルから読み込む");
}

TEST_F(SourceFileTest, ChoosingTheFileEntryAgainAsksForAnotherFile) {
  const std::string first = QuestionFile("first.vlq", 3);
  const std::string second = QuestionFile("second.vlq", 5);
  settingsController.sources().SetFileList(std::vector<int>{0, 1, 2});
  settings().SetQuestionFilePath(first);
  settings().SetSource(kFileSource);
  settings().SetQuestionCount(3);
  bool opened = false, closed = false;
  FileDialogSeen seen;
  wxTEST_DIALOG(dialogs.OpenSettings(),
                ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Watch(dialog, &opened, &closed);
                  OpenList(dialog, &opened);
                  Press({WXK_END, WXK_RETURN});
                  EXPECT_TRUE(RunEventsUntil([&] { return seen.shown == 1 && closed; }));
                  EXPECT_TRUE(RunEventsUntil([&] { return Entry(dialog, 15) == "second.vlq (5首)"; }));
                  EXPECT_EQ(Utf8(Count(dialog)->GetValue()), "5");
                  Cancel(dialog);
                }),
                ExpectFileDialog(second, wxID_OK, &seen));
  // Cancel of the settings keeps the file that was loaded, and the source as it was.
  EXPECT_EQ(settings().questionFilePath(), second);
  EXPECT_EQ(settingsController.sources().GetGroupSize(kFileSource), 5);
  EXPECT_EQ(settings().questionCount(), 3);
}

// --- The favourite poem ------------------------------------------------------------------

class FavouriteDialogTest : public SettingsDialogTest {
 protected:
  static wxTextCtrl* Phrase(FavouriteDialog& dialog) {
    return dialog.phrase();
  }
};

TEST_F(FavouriteDialogTest, OddTextsAndUnknownPhrasesKeepItOpenWithTheirNotices) {
  wxTEST_DIALOG(dialogs.OpenSettings(),
                ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Click(dialog.changeFavourite());
                  Cancel(dialog);
                }),
                ExpectDialog<FavouriteDialog>([&](FavouriteDialog& favourite) {
                  EXPECT_EQ(Utf8(favourite.GetTitle()), " 十八番(おはこ)の変更");
                  EXPECT_NE(dynamic_cast<SettingsDialog*>(favourite.GetParent()), nullptr);
                  wxTextCtrl* phrase = Phrase(favourite);
                  EXPECT_EQ(Utf8(phrase->GetValue()), "こころあてにおらばやおらむはつしもの");
                  EXPECT_EQ(wxWindow::FindFocus(), phrase);
                  phrase->SelectAll();
                  Type(phrase, "a");
                  Click(favourite.FindWindow(wxID_OK), [&] { return notices.shown.size() == 1; });
                  EXPECT_EQ(notices.shown[0].text, SjisLiteral("すべて全角文字で入力してください "));
                  EXPECT_EQ(notices.shown[0].caption, "Notice");
                  EXPECT_EQ(notices.shown[0].icon, NoticeIcon::kInformation);
                  phrase->SetValue(wxString::FromUTF8("こころ"));  // poems 29 and 68 both
                  Click(favourite.FindWindow(wxID_OK), [&] { return notices.shown.size() == 2; });
                  EXPECT_EQ(notices.shown[1].text,
                            SjisLiteral("入力された上の句を持つ歌を特定できませんでした "));
                  EXPECT_EQ(notices.shown[1].caption, SjisLiteral(" 歌検索の結果"));
                  EXPECT_EQ(notices.shown[1].icon, NoticeIcon::kInformation);
                  phrase->Clear();
                  Click(favourite.FindWindow(wxID_OK), [&] { return notices.shown.size() == 3; });
                  EXPECT_EQ(notices.shown[2].caption, SjisLiteral(" 歌検索の結果"));
                  EXPECT_FALSE(favourite.ended());
                  EXPECT_EQ(Utf8(phrase->GetValue()), "");
                  Key(&favourite, WXK_ESCAPE, [&] { return favourite.ended(); });
                }));
}

TEST_F(FavouriteDialogTest, AFoundPoemShowsInTheSettingsAndOnlyOkOfTheSettingsKeepsIt) {
  wxTEST_DIALOG(dialogs.OpenSettings(),
                ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Click(dialog.changeFavourite());
                  EXPECT_EQ(Utf8(dialog.poetBox()->GetValue()),
                            "在原業平朝臣(ありわらのなりひらあそん)");
                  Cancel(dialog);
                }),
                ExpectDialog<FavouriteDialog>([&](FavouriteDialog& favourite) {
                  Phrase(favourite)->SetValue(wxString::FromUTF8("千早"));  // poem 17
                  Key(&favourite, WXK_RETURN, [&] { return favourite.ended(); });
                }));
  EXPECT_EQ(settings().favouritePoem(), 28);  // the settings were cancelled
  wxTEST_DIALOG(dialogs.OpenSettings(),
                ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  EXPECT_EQ(Utf8(dialog.poetBox()->GetValue()),
                            "凡河内躬恒(おおしこうちのみつね)");
                  Click(dialog.changeFavourite());
                  Ok(dialog);
                }),
                ExpectDialog<FavouriteDialog>([&](FavouriteDialog& favourite) {
                  Phrase(favourite)->SetValue(wxString::FromUTF8("ちはやぶる"));
                  Click(favourite.FindWindow(wxID_OK), [&] { return favourite.ended(); });
                }));
  EXPECT_EQ(settings().favouritePoem(), 16);
}

TEST_F(FavouriteDialogTest, TheRandomButtonNeverGivesTheSamePoemTwiceInARow) {
  wxTEST_DIALOG(dialogs.OpenSettings(),
                ExpectDialog<SettingsDialog>([&](SettingsDialog& dialog) {
                  Click(dialog.changeFavourite());
                  Ok(dialog);
                }),
                ExpectDialog<FavouriteDialog>([&](FavouriteDialog& favourite) {
                  wxTextCtrl* phrase = Phrase(favourite);
                  wxWindow* random = favourite.random();
                  phrase->Clear();
                  Click(random, [&] { return !phrase->IsEmpty(); });
                  const wxString first = phrase->GetValue();
                  // The stand-in random numbers draw poem 29 first, then 29 again.
                  EXPECT_EQ(Utf8(first), "こころあてにおらばやおらむはつしもの");
                  Click(random, [&] { return phrase->GetValue() != first; });
                  const wxString second = phrase->GetValue();
                  EXPECT_NE(second, first);
                  EXPECT_FALSE(favourite.ended());  // it only fills the box
                  Click(favourite.FindWindow(wxID_OK), [&] { return favourite.ended(); });
                }));
  EXPECT_NE(settings().favouritePoem(), 28);
}

}  // namespace
}  // namespace verselane::uitest
