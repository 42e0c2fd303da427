#include "ui/dialogs/dialog_templates.h"

#include <string>

#include "catalogue/poem_groups.h"
#include "catalogue/poem_table.h"
#include "ui/dialogs/dialog_layout.h"
#include "ui/display_text.h"

namespace verselane {
namespace {

using K = ControlKind;

ControlTemplate Control(int id, ControlKind kind, const char* text, int x, int y, int width,
                        int height, unsigned anchors = kAnchorNone, const char* sizingText = nullptr) {
  ControlTemplate control;
  control.id = id;
  control.kind = kind;
  control.text = text;
  control.x = x;
  control.y = y;
  control.width = width;
  control.height = height;
  control.anchors = anchors;
  control.sizingText = sizingText;
  return control;
}

ControlTemplate Disabled(ControlTemplate control) {
  control.disabled = true;
  return control;
}

ControlTemplate Picture(int resource, int x, int y, int width, int height,
                        unsigned anchors = kAnchorNone) {
  ControlTemplate control = Control(kIdNone, K::kPicture, "", x, y, width, height, anchors);
  control.resource = resource;
  return control;
}

DialogTemplate MakeResults() {
  DialogTemplate t;
  t.id = kResultsTemplate;
  t.caption = "";  // the results set it
  t.width = 167;
  t.height = 171;
  t.systemMenu = false;
  t.controls = {
      Control(kResultsPortrait, K::kPicture, "", 7, 7, 13, 14),
      Control(kResultsComment, K::kCommentBox, "", 37, 14, 119, 25, kStretchRight),
      Control(kIdNone, K::kGroupBox, " 結果 ", 7, 48, 153, 40),
      Control(kIdNone, K::kText, "Total Score=", 12, 61, 38, 8),
      Control(kResultsScore, K::kTextRight, "", 53, 61, 32, 8, kAnchorNone, "102000 pt"),
      Control(kIdNone, K::kText, "Clear Time=", 12, 74, 36, 8),
      Control(kResultsClearTime, K::kTextRight, "", 48, 74, 37, 8, kAnchorNone, "100:00:00"),
      Control(kIdNone, K::kText, "Correct Per=", 92, 61, 38, 8),
      Control(kResultsRate, K::kTextRight, "", 134, 61, 20, 8, kAnchorNone, "100 %"),
      Control(kIdNone, K::kText, "Correct Num=", 92, 74, 41, 8),
      Control(kResultsCorrect, K::kTextRight, "", 134, 74, 20, 8, kAnchorNone, "100"),
      Control(kResultsSaveResult, K::kFlatButton, ">> 結果をファイルへ保存する     ", 54, 93, 106,
              14, kAnchorRight),
      Disabled(Control(kResultsSaveQuestions, K::kFlatButton, ">> 結果を元に問題ファイルを作る", 54,
                       111, 106, 14, kAnchorRight)),
      Disabled(Control(kResultsRetry, K::kFlatButton, ">> 結果を元にゲームを再スタート", 54, 129,
                       106, 14, kAnchorRight)),
      Control(kIdNone, K::kEtchedLine, "", 7, 148, 154, 1),
      Control(kResultsClose, K::kButton, "閉じる", 86, 154, 74, 14, kAnchorRight),
  };
  return t;
}

DialogTemplate MakeAbout() {
  DialogTemplate t;
  t.id = kAboutTemplate;
  t.caption = " バージョン情報";
  t.width = 167;
  t.height = 81;
  t.controls = {
      Picture(kAboutBitmap, 7, 7, 29, 34),
      Control(kAboutVersion, K::kText, "", 45, 9, 114, 8, kAnchorNone, " Verselane ver 2.08"),
      Control(kIdNone, K::kText, "Copyright (C) 2026 The Verselane developers", 45, 21, 114, 8),
      Control(kAboutContact, K::kCommentBox, "", 45, 37, 114, 19, kStretchRight),
      Control(kIdOk, K::kDefaultButton, "閉じる", 109, 60, 50, 14, kAnchorRight),
  };
  return t;
}

DialogTemplate MakeRecordList() {
  DialogTemplate t;
  t.id = kRecordListTemplate;
  t.caption = " 記録一覧";
  t.width = 246;
  t.height = 131;
  t.tableColumns = true;
  t.controls = {
      Picture(kRecordListIcon, 7, 6, 20, 20),
      Control(kIdNone, K::kFrame, "", 24, 27, 215, 75),
  };
  // Column headings, centred over their columns.
  struct Heading {
    const char* text;
    int x, width;
  };
  const Heading headings[] = {{"名前", 41, 16}, {"得点", 77, 16}, {"時間", 107, 16},
                              {"正答率", 133, 23}, {"形式", 163, 16}, {"記録日時", 198, 30}};
  for (const Heading& heading : headings) {
    t.controls.push_back(Control(kIdNone, K::kText, heading.text, heading.x, 16, heading.width, 8));
  }
  // Grid lines between the rows and between the columns: the frame's 75 units make five rows of
  // 15, each with its texts 3 units from either line, so that rows stay even and their texts
  // centred however much the texts grow.
  for (const int y : {42, 57, 72, 87}) {
    t.controls.push_back(Control(kIdNone, K::kLine, "", 24, y, 215, 1));
  }
  for (const int x : {71, 99, 132, 157, 183}) {
    t.controls.push_back(Control(kIdNone, K::kLine, "", x, 27, 1, 75));
  }
  static const char* const kRowNumbers[] = {"01", "02", "03", "04", "05"};
  struct Column {
    ControlKind kind;
    int x, width;
    const char* placeholder;
    const char* sizing;
  };
  const Column columns[] = {{K::kText, 27, 42, "noname", nullptr},
                            {K::kTextRight, 74, 22, "100000", "102000"},
                            {K::kText, 103, 24, "00:00:00", nullptr},
                            {K::kTextRight, 137, 15, "100%", nullptr},
                            {K::kText, 163, 15, "普通", "普通*"},
                            {K::kText, 189, 46, "05/06/23 12:00", nullptr}};
  for (int row = 0; row < 5; ++row) {
    const int y = 30 + 15 * row;
    t.controls.push_back(Control(kIdNone, K::kText, kRowNumbers[row], 12, y, 10, 9));
    for (int column = 0; column < 6; ++column) {
      const Column& c = columns[column];
      t.controls.push_back(Control(kRecordListFirstField + 6 * row + column, c.kind, c.placeholder,
                                   c.x, y, c.width, 9, kAnchorNone, c.sizing));
    }
  }
  t.controls.push_back(Control(kIdOk, K::kDefaultButton, "閉じる", 175, 110, 64, 14, kAnchorRight));
  return t;
}

DialogTemplate MakeRankIn() {
  DialogTemplate t;
  t.id = kRankInTemplate;
  t.caption = " ランクイン";
  t.width = 119;
  t.height = 127;
  t.controls = {
      Picture(kRankInBitmap, 40, 8, 38, 44, kCentreX),
      Control(kIdNone, K::kTextCentred, "上位スコアにランクインしました", 8, 58, 102, 8, kCentreX),
      Control(kIdNone, K::kText, "名前を入力してください", 26, 70, 67, 8, kCentreX),
      Control(kIdNone, K::kText, ">>", 36, 85, 8, 8),
      // Wide enough for a whole name: ten bytes are five full-width characters.
      Control(kRankInName, K::kEdit, "", 46, 83, 36, 12, kAnchorNone, "ＷＷＷＷＷ"),
      Control(kIdOk, K::kDefaultButton, "OK", 7, 106, 50, 14),
      Control(kIdCancel, K::kButton, "ｷｬﾝｾﾙ", 62, 106, 50, 14, kAnchorRight),
  };
  return t;
}

// The source list's entries, for sizing the list: "全て (100首)|男歌 (79首)|...".
const std::string& SourceNames() {
  static const std::string names = [] {
    std::string joined;
    for (int entry = 0; entry < kListedSourceCount; ++entry) {
      if (entry > 0) joined += '|';
      joined += ToUtf8(FromSjis(GetGroupName(entry)));
    }
    return joined;
  }();
  return names;
}

// Every poem, and every poet with the reading of the name, as the favourite's boxes show them:
// "心あてに…|…", "凡河内躬恒(おおしこうちのみつね)|…". The boxes are made wide enough for each.
const std::string& FavouritePoems() {
  static const std::string poems = [] {
    std::string joined;
    for (const PoemEntry& entry : kPoemTable) {
      if (!joined.empty()) joined += '|';
      joined += entry.fullText;
    }
    return joined;
  }();
  return poems;
}
const std::string& FavouritePoets() {
  static const std::string poets = [] {
    std::string joined;
    for (const PoemEntry& entry : kPoemTable) {
      if (!joined.empty()) joined += '|';
      joined += std::string(entry.poet) + "(" + entry.poetReading + ")";
    }
    return joined;
  }();
  return poets;
}

DialogTemplate MakeSettings() {
  DialogTemplate t;
  t.id = kSettingsTemplate;
  t.caption = " 環境設定";
  t.width = 183;
  t.height = 207;
  // In the order the dialog defines them, which is also the keyboard's order.
  t.controls = {
      Control(kIdOk, K::kDefaultButton, "OK", 72, 186, 50, 14, kAnchorRight),
      Control(kIdCancel, K::kButton, "ｷｬﾝｾﾙ", 126, 186, 50, 14, kAnchorRight),
      Control(kIdNone, K::kGroupBox, "出題形式", 7, 6, 130, 53),
      Control(kSettingsNormal, K::kFirstRadio, "普通 ：上の句に対し下の句を答える", 12, 19, 114, 10),
      Control(kSettingsReverse, K::kRadio, "逆順 ：下の句に対し上の句を答える", 12, 31, 114, 10),
      Control(kSettingsPoetMode, K::kRadio, "詠人 ：詠人名に対し下の句を答える", 12, 43, 114, 10),
      Control(kSettingsCount, K::kNumberEdit, "", 149, 67, 25, 12, kAnchorNone, "100"),
      Control(kSettingsSpinner, K::kUpDown, "Spin1", 167, 52, 9, 14),
      Control(kSettingsSource, K::kDropList, "", 33, 67, 84, 12, kAnchorNone,
              SourceNames().c_str()),
      Control(kIdNone, K::kText, "出題元", 9, 69, 22, 8),
      Control(kIdNone, K::kGroupBox, "十八番（おはこ）", 7, 87, 169, 46, kStretchRight),
      Control(kIdNone, K::kText, "歌", 15, 100, 8, 8),
      Control(kIdNone, K::kText, "詠人", 12, 117, 15, 8),
      Control(kSettingsChangeFavourite, K::kButton, "変更", 123, 115, 45, 14),
      Control(kSettingsShowAfterKimariji, K::kCheckBox, "決まり字以降の文字を表示する", 7, 141, 107, 10),
      Control(kSettingsAcceptOmission, K::kCheckBox, "決まり字以降の入力を省略しても正解にする", 7, 155,
              145, 10),
      Control(kSettingsPlaySounds, K::kCheckBox, "色々な時に音を鳴らす", 7, 169, 81, 10),
      Control(kSettingsPoemBox, K::kReadOnlyEdit, "", 31, 99, 137, 12, kStretchRight,
              FavouritePoems().c_str()),
      Control(kSettingsPoetBox, K::kReadOnlyEdit, "", 31, 115, 83, 12, kAnchorNone,
              FavouritePoets().c_str()),
      Control(kIdNone, K::kText, "出題数", 125, 69, 22, 8),
  };
  return t;
}

DialogTemplate MakeFavourite() {
  DialogTemplate t;
  t.id = kFavouriteTemplate;
  t.caption = " 十八番(おはこ)の変更";
  t.width = 187;
  t.height = 63;
  t.controls = {
      Control(kIdNone, K::kText, "十八番の上の句を入力してください。( 決まり字以降省略可 )", 5, 8, 175, 8),
      Control(kFavouritePhrase, K::kEdit, "", 7, 22, 173, 13, kStretchRight),
      Control(kFavouriteRandom, K::kButton, "ランダムに選ぶ", 7, 42, 65, 14),
      Control(kIdOk, K::kDefaultButton, "OK", 76, 42, 50, 14, kAnchorRight),
      Control(kIdCancel, K::kButton, "ｷｬﾝｾﾙ", 130, 42, 50, 14, kAnchorRight),
  };
  return t;
}

}  // namespace

const DialogTemplate& ResultsTemplate() {
  static const DialogTemplate t = MakeResults();
  return t;
}
const DialogTemplate& AboutTemplate() {
  static const DialogTemplate t = MakeAbout();
  return t;
}
const DialogTemplate& RecordListTemplate() {
  static const DialogTemplate t = MakeRecordList();
  return t;
}
const DialogTemplate& RankInTemplate() {
  static const DialogTemplate t = MakeRankIn();
  return t;
}
const DialogTemplate& SettingsTemplate() {
  static const DialogTemplate t = MakeSettings();
  return t;
}
const DialogTemplate& FavouriteTemplate() {
  static const DialogTemplate t = MakeFavourite();
  return t;
}

}  // namespace verselane
