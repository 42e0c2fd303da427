// The results dialog and what it leads to: the rank-in, the record list, the result and question
// files and the retry run.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include <wx/button.h>
#include <wx/settings.h>
#include <wx/filedlg.h>
#include <wx/listbox.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "dialogs_harness.h"
#include "fakes/temp_folder.h"
#include "game/menu_state.h"
#include "settings/question_file.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/poem_card_dialog.h"
#include "ui/dialogs/rank_in_dialog.h"
#include "ui/dialogs/record_list_dialog.h"
#include "ui/dialogs/results_dialog.h"
#include "ui/dialogs/wx_dialogs.h"
#include "ui/display_text.h"

namespace verselane::uitest {
namespace {

std::string TextOf(wxWindow* control) {
  if (auto* label = dynamic_cast<wxStaticText*>(control)) return Utf8(label->GetLabel());
  if (auto* edit = dynamic_cast<wxTextCtrl*>(control)) return Utf8(edit->GetValue());
  ADD_FAILURE() << "no text control";
  return {};
}

class ResultsDialogTest : public DialogsFixture {};

TEST_F(ResultsDialogTest, ShowsTheRunAndKeepsTheFocusWhenTheScoreDoesNotRank) {
  FillRecords({90000, 80000, 70000, 60000, 50000});
  FinishedRun(10, 7, 6000);  // ranks nowhere: no rank-in
  bool checked = false;
  wxTEST_DIALOG(OpenResults(); RunEventsUntil([&] { return checked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  EXPECT_EQ(Utf8(results.GetTitle()), " 全10問 解答完了");
                  EXPECT_EQ(TextOf(results.score()), "6000 pt");
                  EXPECT_EQ(TextOf(results.clearTime()), "00:00:00");
                  EXPECT_EQ(TextOf(results.rate()), "70 %");
                  EXPECT_EQ(TextOf(results.correct()), "7");
                  // Character 0 at 6000 points, 7 of 10 correct: level 2.
                  EXPECT_EQ(TextOf(results.comment()), "ふむ。\nまだこれじゃカツオは釣れめぇが…。");
                  auto* portrait = results.portrait();
                  ASSERT_NE(portrait, nullptr);
                  EXPECT_EQ(portrait->GetBitmap().GetSize(), wxSize(45, 45));
                  // No wrong answers: nothing to retry or to save as questions.
                  EXPECT_TRUE(results.saveResult()->IsEnabled());
                  EXPECT_FALSE(results.saveQuestions()->IsEnabled());
                  EXPECT_FALSE(results.retry()->IsEnabled());
                  EXPECT_EQ(wxWindow::FindFocus(), results.close());
                  // Each pair of right-aligned figures ends at one x.
                  const auto right = [](wxWindow* value) { return value->GetRect().GetRight(); };
                  EXPECT_EQ(right(results.score()), right(results.clearTime()));
                  EXPECT_EQ(right(results.rate()), right(results.correct()));
                  Click(results.close(), [&] { return results.ended(); });
                  checked = true;
                }));
  EXPECT_TRUE(checked);
  // Closing the results resets the game.
  EXPECT_EQ(game.playState(), PlayState::Idle);
  EXPECT_EQ(game.run().tallies.score, 0);
  EXPECT_FALSE(std::filesystem::exists(ScratchFile("record.dat")));
}

TEST_F(ResultsDialogTest, NeitherEnterNorEscNorTheCloseBoxEndIt) {
  FillRecords({90000, 80000, 70000, 60000, 50000});
  FinishedRun(3, 1, 1000, {4, 9});
  bool checked = false;
  wxTEST_DIALOG(OpenResults(); RunEventsUntil([&] { return checked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  EXPECT_FALSE(results.HasFlag(wxCLOSE_BOX));
                  EXPECT_FALSE(results.HasFlag(wxSYSTEM_MENU));
                  Key(&results, WXK_ESCAPE);
                  Key(&results, WXK_RETURN);
                  EXPECT_FALSE(results.Close());  // the close box asks, and is refused
                  RunEventsFor(100);
                  EXPECT_FALSE(results.ended());
                  EXPECT_TRUE(results.IsShown());
                  EXPECT_TRUE(results.retry()->IsEnabled());
                  EXPECT_TRUE(results.saveQuestions()->IsEnabled());
                  Click(results.close(), [&] { return results.ended(); });
                  checked = true;
                }));
  EXPECT_TRUE(checked);
  EXPECT_EQ(game.playState(), PlayState::Idle);
}

TEST_F(ResultsDialogTest, ARankingRunOpensTheRankInAndCancelRecordsNothing) {
  FillRecords({500, 400, 400, 300, 200});
  settings().SetPlayerName("hanako");
  FinishedRun(10, 7, 450);
  bool rankInSeen = false;
  bool checked = false;
  wxTEST_DIALOG(OpenResults(); RunEventsUntil([&] { return checked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  EXPECT_EQ(results.GetParent(), owner());
                  // The rank-in came over the results as soon as they were shown, and is gone.
                  EXPECT_TRUE(rankInSeen);
                  EXPECT_EQ(wxWindow::FindFocus(), results.close());
                  EXPECT_TRUE(results.IsShown());
                  EXPECT_FALSE(results.ended());
                  Click(results.close(), [&] { return results.ended(); });
                  checked = true;
                }),
                ExpectDialog<RankInDialog>([&](RankInDialog& rankIn) {
                  rankInSeen = true;
                  EXPECT_NE(dynamic_cast<ResultsDialog*>(rankIn.GetParent()), nullptr);
                  EXPECT_EQ(Utf8(rankIn.GetTitle()), " ランクイン");
                  auto* name = rankIn.name();
                  EXPECT_EQ(Utf8(name->GetValue()), "hanako");
                  EXPECT_EQ(wxWindow::FindFocus(), name);
                  Click(rankIn.FindWindow(wxID_CANCEL), [&] { return rankIn.ended(); });
                }));
  EXPECT_TRUE(checked);
  EXPECT_EQ(records.record(2).score, 400);
  EXPECT_EQ(records.record(4).score, 200);
  EXPECT_FALSE(std::filesystem::exists(ScratchFile("record.dat")));
  EXPECT_FALSE(settingsController.settingsChanged());
}

TEST_F(ResultsDialogTest, EscInTheRankInIsCancelToo) {
  FillRecords({500, 400, 400, 300, 200});
  FinishedRun(10, 7, 450);
  bool checked = false;
  wxTEST_DIALOG(OpenResults(); RunEventsUntil([&] { return checked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  Click(results.close(), [&] { return results.ended(); });
                  checked = true;
                }),
                ExpectDialog<RankInDialog>([&](RankInDialog& rankIn) {
                  Key(&rankIn, WXK_ESCAPE, [&] { return rankIn.ended(); });
                }));
  EXPECT_TRUE(checked);
  EXPECT_EQ(records.record(4).score, 200);
}

TEST_F(ResultsDialogTest, ANameWithACommaKeepsTheRankInOpenUntilItIsMended) {
  FillRecords({500, 400, 400, 300, 200});
  settings().SetPlayerName("noname");
  FinishedRun(10, 7, 450);
  bool checked = false;
  wxTEST_DIALOG(
      OpenResults(); RunEventsUntil([&] { return checked; }),
      ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
        Click(results.close(), [&] { return results.ended(); });
        checked = true;
      }),
      ExpectDialog<RankInDialog>([&](RankInDialog& rankIn) {
        auto* name = rankIn.name();
        FocusOn(name);
        name->SelectAll();
        Type(name, "ha,na");
        EXPECT_EQ(Utf8(name->GetValue()), "ha,na");
        Click(rankIn.FindWindow(wxID_OK), [&] { return !notices.shown.empty(); });
        ASSERT_EQ(notices.shown.size(), 1u);
        EXPECT_EQ(notices.shown[0].text, SjisLiteral("名前に\",\"を使うことはできません。"));
        EXPECT_EQ(notices.shown[0].caption, "Notice");
        EXPECT_EQ(notices.shown[0].icon, NoticeIcon::kExclamation);
        EXPECT_FALSE(rankIn.ended());
        EXPECT_TRUE(rankIn.IsShown());
        EXPECT_EQ(records.record(1).score, 400);  // nothing recorded yet
        // Mended, and confirmed with Enter.
        FocusOn(name);
        name->SelectAll();
        Type(name, "hanako");
        Key(&rankIn, WXK_RETURN, [&] { return rankIn.ended(); });
      }),
      ExpectDialog<RecordListDialog>([&](RecordListDialog& list) {
        EXPECT_NE(dynamic_cast<RankInDialog*>(list.GetParent()), nullptr);
        // The run is in, second below 500, stamped with the clock's time; 200 dropped out.
        EXPECT_EQ(TextOf(list.field(1, 0)), "hanako");
        EXPECT_EQ(TextOf(list.field(1, 1)), "450");
        EXPECT_EQ(TextOf(list.field(1, 3)), "70%");
        EXPECT_EQ(TextOf(list.field(1, 4)), "普通");
        EXPECT_EQ(TextOf(list.field(1, 5)), "26/03/07 09:05");
        EXPECT_EQ(TextOf(list.field(4, 1)), "300");
        Click(list.FindWindow(wxID_OK), [&] { return list.ended(); });
      }));
  EXPECT_TRUE(checked);
  EXPECT_EQ(records.record(1).name, "hanako");
  EXPECT_EQ(settings().playerName(), "hanako");
  EXPECT_TRUE(settingsController.settingsChanged());
  EXPECT_TRUE(std::filesystem::exists(ScratchFile("record.dat")));
}

TEST_F(ResultsDialogTest, AnEmptyNameIsRecordedAsNoname) {
  FillRecords({0, 0, 0, 0, 0});
  settings().SetPlayerName("taro");
  FinishedRun(1, 1, 1000);
  bool checked = false;
  wxTEST_DIALOG(OpenResults(); RunEventsUntil([&] { return checked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  Click(results.close(), [&] { return results.ended(); });
                  checked = true;
                }),
                ExpectDialog<RankInDialog>([&](RankInDialog& rankIn) {
                  rankIn.name()->SetValue("");
                  Click(rankIn.FindWindow(wxID_OK), [&] { return rankIn.ended(); });
                }),
                ExpectDialog<RecordListDialog>([&](RecordListDialog& list) {
                  Key(&list, WXK_ESCAPE, [&] { return list.ended(); });
                }));
  EXPECT_TRUE(checked);
  EXPECT_EQ(records.record(0).name, "noname");
  EXPECT_EQ(records.record(0).score, 1000);
}

TEST_F(ResultsDialogTest, ANameIsKeptToTenBytes) {
  FillRecords({0, 0, 0, 0, 0});
  FinishedRun(1, 1, 1000);
  bool checked = false;
  wxTEST_DIALOG(OpenResults(); RunEventsUntil([&] { return checked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  Click(results.close(), [&] { return results.ended(); });
                  checked = true;
                }),
                ExpectDialog<RankInDialog>([&](RankInDialog& rankIn) {
                  auto* name = rankIn.name();
                  // The field opened the input method, as the answer line does.
                  EXPECT_TRUE(RunEventsUntil([&] { return inputMethod.openRequests == 1; }));
                  FocusOn(name);
                  name->SelectAll();
                  // Kana committed by the input method past ten bytes are refused, not cut.
                  name->WriteText(wxString::FromUTF8("やまだたろう"));
                  EXPECT_EQ(Utf8(name->GetValue()), "");
                  name->WriteText(wxString::FromUTF8("やまだ"));
                  EXPECT_EQ(Utf8(name->GetValue()), "やまだ");
                  name->SelectAll();
                  Type(name, "abcdefghij");
                  wxUIActionSimulator keyboard;
                  keyboard.Text("klm");
                  RunEventsFor(200);
                  EXPECT_EQ(Utf8(name->GetValue()), "abcdefghij");
                  Key(&rankIn, WXK_RETURN, [&] { return rankIn.ended(); });
                }),
                ExpectDialog<RecordListDialog>([&](RecordListDialog& list) {
                  EXPECT_EQ(TextOf(list.field(0, 0)), "abcdefghij");
                  Key(&list, WXK_ESCAPE, [&] { return list.ended(); });
                }));
  EXPECT_TRUE(checked);
  EXPECT_EQ(records.record(0).name, "abcdefghij");
  EXPECT_EQ(settings().playerName(), "abcdefghij");
}

// With romaji input on, the name is typed as the answer is: romaji become kana in the field, the
// input method is not opened, and a pending "n" is ん when OK takes the name.
TEST_F(ResultsDialogTest, TheNameFieldFollowsRomajiInputAsTheAnswerLineDoes) {
  romajiInput = true;
  FillRecords({0, 0, 0, 0, 0});
  FinishedRun(1, 1, 1000);
  bool checked = false;
  wxTEST_DIALOG(OpenResults(); RunEventsUntil([&] { return checked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  Click(results.close(), [&] { return results.ended(); });
                  checked = true;
                }),
                ExpectDialog<RankInDialog>([&](RankInDialog& rankIn) {
                  auto* name = rankIn.name();
                  FocusOn(name);
                  name->SelectAll();
                  wxUIActionSimulator keyboard;
                  keyboard.Text("hanan");
                  EXPECT_TRUE(RunEventsUntil([&] { return Utf8(name->GetValue()) == "はなn"; }))
                      << Utf8(name->GetValue());
                  Key(&rankIn, WXK_RETURN, [&] { return rankIn.ended(); });
                }),
                ExpectDialog<RecordListDialog>([&](RecordListDialog& list) {
                  Key(&list, WXK_ESCAPE, [&] { return list.ended(); });
                }));
  EXPECT_TRUE(checked);
  EXPECT_EQ(records.record(0).name, SjisLiteral("はなん"));
  EXPECT_EQ(inputMethod.openRequests, 0);
}

TEST_F(ResultsDialogTest, SavesTheResultAndAQuestionFileWhereThePlayerChooses) {
  FillRecords({90000, 80000, 70000, 60000, 50000});
  FinishedRun(3, 1, 1000, {2, 0});
  bool checked = false;
  const std::filesystem::path before = std::filesystem::current_path();
  files.answer = ScratchFile("run.txt");
  wxTEST_DIALOG(OpenResults(); RunEventsUntil([&] { return checked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  Click(results.saveResult(),
                        [] { return std::filesystem::exists(ScratchFile("run.txt")); });
                  files.answer = ScratchFile("wrong.vlq");
                  Click(results.saveQuestions(),
                        [] { return std::filesystem::exists(ScratchFile("wrong.vlq")); });
                  EXPECT_FALSE(results.ended());  // both leave the results open
                  Click(results.close(), [&] { return results.ended(); });
                  checked = true;
                }));
  EXPECT_TRUE(checked);
  ASSERT_EQ(files.saveDialogs.size(), 2u);
  EXPECT_EQ(files.saveDialogs[0].title, SjisLiteral(" Verselane 結果ファイルの生成"));
  EXPECT_EQ(files.saveDialogs[1].title, SjisLiteral(" Verselane 問題ファイルの生成"));
  EXPECT_EQ(Unscrambled(ReadBytes(ScratchFile("wrong.vlq"))), "2,0");
  EXPECT_NE(ReadBytes(ScratchFile("run.txt")).find(SjisLiteral("誤答した歌---")),
            std::string::npos);
  EXPECT_EQ(std::filesystem::current_path(), before);  // saving never moves the current folder
}

TEST_F(ResultsDialogTest, TheRetryRunAsksExactlyTheMissedPoemsAndRestoresTheSourceAtItsResults) {
  FillRecords({900000, 800000, 700000, 600000, 500000});
  settings().SetSource(5);  // 恋歌 (43首)
  settings().SetQuestionCount(6);
  StartRun();
  std::vector<int> missed;
  for (int question = 0; question < 6; ++question) {
    ASSERT_TRUE(TickUntilAnswering()) << question;
    const bool correct = question % 2 == 1;
    if (!correct) missed.push_back(game.run().question.poem);
    Answer(correct);
  }
  ASSERT_EQ(game.playState(), PlayState::Finished);

  std::set<int> retried;
  bool firstClosed = false;
  // The game asked for its results as the run ended; they open once that tick has returned.
  wxTEST_DIALOG(RunEventsUntil([&] { return firstClosed; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  EXPECT_TRUE(results.retry()->IsEnabled());
                  Click(results.retry(), [&] { return results.ended(); });
                  firstClosed = true;
                }));
  // The new run began at once, over the missed poems only.
  ASSERT_EQ(game.playState(), PlayState::Running);
  EXPECT_TRUE(game.run().retry);
  EXPECT_EQ(game.run().questionCount, 3);
  EXPECT_EQ(settings().source(), 5) << "the player's choice stays in the settings";
  for (int question = 0; question < 3; ++question) {
    ASSERT_TRUE(TickUntilAnswering()) << question;
    retried.insert(game.run().question.poem);
    Answer(true);
  }
  ASSERT_EQ(game.playState(), PlayState::Finished);
  EXPECT_EQ(retried, std::set<int>(missed.begin(), missed.end()));

  bool secondChecked = false;
  wxTEST_DIALOG(RunEventsUntil([&] { return secondChecked; }),
                ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
                  EXPECT_EQ(Utf8(results.GetTitle()), " 全3問 解答完了");
                  // At its results the player's source and count are in force.
                  EXPECT_EQ(settings().source(), 5);
                  EXPECT_EQ(settings().questionCount(), 6);
                  EXPECT_FALSE(results.retry()->IsEnabled());
                  Click(results.close(), [&] { return results.ended(); });
                  secondChecked = true;
                }));
  EXPECT_EQ(game.playState(), PlayState::Idle);
  EXPECT_EQ(settings().source(), 5);
  EXPECT_EQ(settings().questionCount(), 6);
}

// Beside the links the results list the poems missed in the run; Enter or a double click on one
// opens its card, with the figures the history holds as it opens: the run's own answers in them.
TEST_F(ResultsDialogTest, EachMissedPoemOpensItsCard) {
  FillRecords({900000, 800000, 700000, 600000, 500000});
  settings().SetQuestionCount(3);
  StartRun();
  std::vector<int> missed;
  for (int question = 0; question < 3; ++question) {
    ASSERT_TRUE(TickUntilAnswering()) << question;
    if (question != 1) missed.push_back(game.run().question.poem);
    Answer(question == 1);
  }
  ASSERT_EQ(game.playState(), PlayState::Finished);
  const auto title = [](int poem) { return " 第" + std::to_string(poem + 1) + "首"; };

  int cards = 0;
  bool checked = false;
  wxTEST_DIALOG(
      RunEventsUntil([&] { return checked; }),
      ExpectDialog<ResultsDialog>([&](ResultsDialog& results) {
        wxListBox* list = results.missed();
        ASSERT_EQ(list->GetCount(), 2u);
        for (unsigned i = 0; i < 2; ++i) {
          EXPECT_EQ(Utf8(list->GetString(i)).rfind(std::to_string(missed[i] + 1) + " ", 0), 0u);
        }
        EXPECT_EQ(wxWindow::FindFocus(), results.close()) << "the list comes after 閉じる";
        list->SetFocus();
        list->SetSelection(1);
        Press({WXK_RETURN});
        EXPECT_TRUE(RunEventsUntil([&] { return cards == 1; })) << "Enter opened no card";
        EXPECT_FALSE(results.ended());
        // A history that can no longer be read: the card still shows the poem.
        history.readable = false;
        wxUIActionSimulator mouse;
        const wxPoint firstRow = list->ClientToScreen(wxPoint(list->GetClientSize().x / 2, 8));
        mouse.MouseMove(firstRow.x, firstRow.y);
        RunEventsUntil([&] { return wxFindWindowAtPoint(wxGetMousePosition()) == list; }, 2000);
        mouse.MouseDblClick();
        EXPECT_TRUE(RunEventsUntil([&] { return cards == 2; }));
        Click(results.close(), [&] { return results.ended(); });
        checked = true;
      }),
      ExpectDialog<PoemCardDialog>([&](PoemCardDialog& card) {
        ++cards;
        EXPECT_EQ(Utf8(card.GetTitle()), title(missed[1]));
        EXPECT_EQ(card.poem()->GetLabel(), FromSjis(catalogue.FieldView(missed[1], kFullText)));
        ASSERT_FALSE(card.FigureTexts().empty());
        EXPECT_EQ(Utf8(card.FigureTexts()[0]), "解答 1回　正解 0回");
        Key(&card, WXK_RETURN, [&] { return card.ended(); });
      }),
      ExpectDialog<PoemCardDialog>([&](PoemCardDialog& card) {
        ++cards;
        EXPECT_EQ(Utf8(card.GetTitle()), title(missed[0]));
        EXPECT_EQ(card.poem()->GetLabel(), FromSjis(catalogue.FieldView(missed[0], kFullText)));
        EXPECT_EQ(card.FigureTexts(), std::vector<wxString>{Text("成績を読み込めませんでした")});
        Click(card.FindWindow(wxID_OK), [&] { return card.ended(); });
      }));
  EXPECT_TRUE(checked);
  EXPECT_EQ(cards, 2);
}

TEST_F(ResultsDialogTest, TheRecordListFromTheMenuShowsTheFiveResults) {
  FillRecords({500, 400, 300, 200, 100});
  int shown = 0;
  wxTEST_DIALOG(dialogs.OpenRecordList(),
                ExpectDialog<RecordListDialog>([&](RecordListDialog& list) {
                  ++shown;
                  EXPECT_EQ(Utf8(list.GetTitle()), " 記録一覧");
                  for (int row = 0; row < 5; ++row) {
                    EXPECT_EQ(TextOf(list.field(row, 0)), "player");
                    EXPECT_EQ(TextOf(list.field(row, 1)),
                              std::to_string(500 - 100 * row));
                    EXPECT_EQ(TextOf(list.field(row, 2)), "00:00:00");
                    EXPECT_EQ(TextOf(list.field(row, 3)), "0%");
                    EXPECT_EQ(TextOf(list.field(row, 4)), "-");
                    EXPECT_EQ(TextOf(list.field(row, 5)), "00/00/00 00:00");
                  }
                  EXPECT_TRUE(FocusIsIn(&list));
                  Key(&list, WXK_RETURN, [&] { return list.ended(); });
                }));
  EXPECT_EQ(shown, 1);
}

TEST_F(ResultsDialogTest, TheRecordListsRowsAreOfOneHeightWithTheirTextCentred) {
  FillRecords({500, 400, 300, 200, 100});
  wxTEST_DIALOG(dialogs.OpenRecordList(),
                ExpectDialog<RecordListDialog>([&](RecordListDialog& list) {
                  // The grid as the screen shows it: down the frame's inside edge, its top, the
                  // four lines and its bottom in the grey it is painted in.
                  const wxRect area(list.ClientToScreen(wxPoint(0, 0)), list.GetClientSize());
                  const wxImage shot = ScreenshotOf(area);
                  ASSERT_TRUE(shot.IsOk());
                  const wxColour grey = wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW);
                  const auto isGrey = [&](int x, int y) {
                    return shot.GetRed(x, y) == grey.Red() && shot.GetGreen(x, y) == grey.Green() &&
                           shot.GetBlue(x, y) == grey.Blue();
                  };
                  const wxRect first = list.field(0, 0)->GetRect();
                  int frameLeft = first.x;
                  const int middle = first.y + first.height / 2;
                  while (frameLeft > 0 && !isGrey(frameLeft, middle)) --frameLeft;
                  ASSERT_GT(frameLeft, 0) << "no frame left of the first name";
                  std::vector<int> lines;
                  for (int y = 0; y < shot.GetHeight(); ++y) {
                    if (isGrey(frameLeft + 2, y) && (lines.empty() || lines.back() != y - 1)) {
                      lines.push_back(y);
                    }
                  }
                  ASSERT_EQ(lines.size(), 6u) << "the frame's top and bottom and four lines";
                  for (int row = 0; row < 5; ++row) {
                    SCOPED_TRACE("row " + std::to_string(row + 1));
                    EXPECT_NEAR(lines[row + 1] - lines[row], lines[1] - lines[0], 1);
                    const wxRect name = list.field(row, 0)->GetRect();
                    EXPECT_NEAR(2 * name.y + name.height, lines[row] + lines[row + 1] + 1, 2);
                  }
                  Key(&list, WXK_RETURN, [&] { return list.ended(); });
                }));
}

// On a desktop drawn at a scale the dialogs take the pictures drawn at the next size up, shown at
// their 1x size: the portrait is its character's cell of the larger strip.
TEST(DialogPicturesTest, AtAScaleThePicturesDrawnAtThatSizeAreTaken) {
  const wxImage strip = AssetBitmap("bitmap-141.png", 2.0).ConvertToImage();
  ASSERT_EQ(strip.GetSize(), wxSize(630, 90));
  for (int frame : {0, 6}) {
    const wxBitmap portrait = Portrait(frame, 2.0);
    ASSERT_TRUE(portrait.IsOk());
    EXPECT_EQ(portrait.GetScaleFactor(), 2.0);
    EXPECT_EQ(portrait.GetLogicalSize(), wxSize(45, 45));
    EXPECT_TRUE(uitest::SameRegion(portrait.ConvertToImage(), 0, 0, strip, frame * 90, 0, 90, 90))
        << frame;
  }
  EXPECT_EQ(AssetBitmap("bitmap-157.png", 1.5).GetScaleFactor(), 2.0);
  EXPECT_EQ(AssetBitmap("bitmap-157.png", 3.0).GetSize(), wxSize(198, 198));
  EXPECT_EQ(Portrait(2).GetSize(), wxSize(45, 45));
}

TEST_F(ResultsDialogTest, TheAboutBoxNamesTheProgramAndItsVersion) {
  int shown = 0;
  wxTEST_DIALOG(dialogs.OpenAbout(), ExpectDialog<AboutDialog>([&](AboutDialog& about) {
                  ++shown;
                  EXPECT_EQ(Utf8(about.GetTitle()), " バージョン情報");
                  EXPECT_EQ(TextOf(about.version()), " Verselane ver 2.08");
                  const std::string contact = TextOf(about.contact());
                  EXPECT_NE(contact.find("https://"), std::string::npos);
                  EXPECT_NE(contact.find("\n"), std::string::npos);
                  EXPECT_NE(contact.find("@"), std::string::npos);
                  Key(&about, WXK_RETURN, [&] { return about.ended(); });
                }));
  EXPECT_EQ(shown, 1);
  // Esc and the close box end it as well.
  wxTEST_DIALOG(dialogs.OpenAbout(), ExpectDialog<AboutDialog>([&](AboutDialog& about) {
                  Key(&about, WXK_ESCAPE, [&] { return about.ended(); });
                }));
  wxTEST_DIALOG(dialogs.OpenAbout(), ExpectDialog<AboutDialog>([&](AboutDialog& about) {
                  EXPECT_TRUE(about.Close());
                  EXPECT_TRUE(about.ended());
                }));
}

}  // namespace
}  // namespace verselane::uitest
