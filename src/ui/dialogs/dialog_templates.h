// The program's six dialog templates: every control with its id, kind, text and rectangle in
// dialog units.
#pragma once

#include "ui/dialogs/dialog_template.h"

namespace verselane {

// Template ids.
inline constexpr int kResultsTemplate = 140;
inline constexpr int kSettingsTemplate = 145;
inline constexpr int kFavouriteTemplate = 146;
inline constexpr int kAboutTemplate = 149;
inline constexpr int kRecordListTemplate = 152;
inline constexpr int kRankInTemplate = 154;

// Bitmap and icon resources the templates show.
inline constexpr int kAboutBitmap = 151;
inline constexpr int kRecordListIcon = 153;
inline constexpr int kRankInBitmap = 157;

// Results (140).
inline constexpr int kResultsPortrait = 1002;
inline constexpr int kResultsClearTime = 1003;
inline constexpr int kResultsScore = 1004;
inline constexpr int kResultsRate = 1006;
inline constexpr int kResultsCorrect = 1007;
inline constexpr int kResultsComment = 1008;
inline constexpr int kResultsClose = 8;
inline constexpr int kResultsSaveResult = 9;
inline constexpr int kResultsSaveQuestions = 11;
inline constexpr int kResultsRetry = 12;

// About (149).
inline constexpr int kAboutVersion = 1033;
inline constexpr int kAboutContact = 1026;

// Record list (152): the value of column c (0 to 5) in row r (0 to 4) is 1029 + 6r + c.
inline constexpr int kRecordListFirstField = 1029;

// Rank-in (154).
inline constexpr int kRankInName = 1030;

// Settings (145).
inline constexpr int kSettingsNormal = 1009;
inline constexpr int kSettingsReverse = 1010;
inline constexpr int kSettingsPoetMode = 1011;
inline constexpr int kSettingsCount = 1012;
inline constexpr int kSettingsSpinner = 1013;
inline constexpr int kSettingsSource = 1015;
inline constexpr int kSettingsChangeFavourite = 1018;
inline constexpr int kSettingsPoemBox = 1021;
inline constexpr int kSettingsPoetBox = 1022;
inline constexpr int kSettingsShowAfterKimariji = 1005;
inline constexpr int kSettingsAcceptOmission = 1006;
inline constexpr int kSettingsPlaySounds = 1007;

// Favourite poem (146).
inline constexpr int kFavouritePhrase = 1022;
inline constexpr int kFavouriteRandom = 3;

const DialogTemplate& ResultsTemplate();
const DialogTemplate& AboutTemplate();
const DialogTemplate& RecordListTemplate();
const DialogTemplate& RankInTemplate();
const DialogTemplate& SettingsTemplate();
const DialogTemplate& FavouriteTemplate();

}  // namespace verselane
