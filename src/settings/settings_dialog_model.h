// The settings dialog as the player sees it, apart from any toolkit: the question mode and the
// rule that ties the Poet mode to "決まり字以降の文字を表示する", the source list with its file
// entry, the question count with its spinner and clamps, the favourite poem, the three options,
// and OK. The window layer shows this state and reports the player's actions; every decision a
// player could notice is taken here.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "catalogue/poem_groups.h"
#include "settings/favourite.h"
#include "settings/settings.h"
#include "settings/types.h"

namespace verselane {

class PoemCatalogue;
class FileChooserPort;
class NoticePort;
class RandomPoemPicker;
class SettingsController;

// The count box and the spinner read the box's text in two ways: leaving the box and OK read its
// first three characters the way atoi does (so "1000" is 100, "" or "abc" is 0); the spinner
// reads the whole text as a number.
int ReadCountBox(std::string_view text);

class SettingsDialogModel {
 public:
  SettingsDialogModel(const PoemCatalogue& catalogue, SettingsController& controller,
                      FileChooserPort& files, NoticePort& notices);
  SettingsDialogModel(const SettingsDialogModel&) = delete;
  SettingsDialogModel& operator=(const SettingsDialogModel&) = delete;

  // The dialog opens: everything is taken from the settings.
  void Open();

  // --- Question mode -----------------------------------------------------------------------
  QuestionMode mode() const { return mode_; }
  // A click on one of the three mode buttons. Poet checks "決まり字以降の文字を表示する" and
  // disables it; Normal and Reverse enable it again, leaving its check mark as it is.
  void ChooseMode(QuestionMode mode);

  // --- Options -----------------------------------------------------------------------------
  bool showAfterKimariji() const { return showAfterKimariji_; }
  bool showAfterKimarijiEnabled() const { return showAfterKimarijiEnabled_; }
  bool acceptOmission() const { return acceptOmission_; }
  bool playSounds() const { return playSounds_; }
  // Clicks on the check boxes. A disabled box cannot be clicked, so its mark stays.
  void SetShowAfterKimariji(bool on);
  void SetAcceptOmission(bool on) { acceptOmission_ = on; }
  void SetPlaySounds(bool on) { playSounds_ = on; }

  // --- Source list -------------------------------------------------------------------------
  // The text of list entry `entry` (0 to 15), CP932.
  const std::string& entryText(int entry) const { return entries_.at(entry); }
  // The entry the list shows as chosen.
  int selectedEntry() const { return selected_; }
  // The source last committed in the list (15 for a question file).
  int shownSource() const { return shownSource_; }
  // The list drops down: the file entry offers the file choice by its plain name.
  void OpenSourceList();
  // The player committed entry `entry` (also when it is the one already chosen). The file entry
  // asks for a question file and loads it at once; a cancelled or unreadable file leaves the
  // list, the count and the spinner as they were. Any other entry, and a file that loaded,
  // proposes all of the source's poems as the question count.
  void CommitSource(int entry);
  // The list closed up; the platform reports a commit before the closing. The file entry names
  // the chosen file again when the file is the committed source.
  void CloseSourceList();

  // --- Question count ----------------------------------------------------------------------
  // The count box's text, as the player typed it or as the dialog set it.
  const std::string& countText() const { return countText_; }
  void TypeCount(std::string text) { countText_ = std::move(text); }
  // The count box lost the focus: a count above the size of the chosen source is lowered to it;
  // nothing else is corrected yet.
  void LeaveCountBox();
  // The spinner's range is 1 ... spinnerMaximum(), the size of the committed source.
  int spinnerMaximum() const { return spinnerMaximum_; }
  // The spinner's arrows (and the arrow keys in the count box) step the count by one, wrapping
  // from the maximum to 1 and from 1 to the maximum. A count outside the range steps into it.
  void SpinUp() { Spin(+1); }
  void SpinDown() { Spin(-1); }

  // --- Favourite poem ----------------------------------------------------------------------
  // The favourite the dialog shows until OK takes it.
  int pendingFavourite() const { return pendingFavourite_; }
  // Its poem and poet, CP932.
  const FavouriteTexts& favouriteTexts() const { return favouriteTexts_; }
  // The favourite dialog found `poem`.
  void SetPendingFavourite(int poem);

  // --- OK ----------------------------------------------------------------------------------
  // Takes the dialog's values into the settings (a count of 0 or none becomes 1, one above the
  // source's size becomes that size) and marks the settings for saving, changed or not. Cancel
  // has no operation: the settings keep their values, except that a question file chosen in the
  // list stays loaded and remembered.
  void Ok();

 private:
  int SourceSize(int source) const;
  void Spin(int step);

  const PoemCatalogue& catalogue_;
  SettingsController& controller_;
  FileChooserPort& files_;
  NoticePort& notices_;

  QuestionMode mode_ = QuestionMode::Normal;
  bool showAfterKimariji_ = true;
  bool showAfterKimarijiEnabled_ = true;
  bool acceptOmission_ = false;
  bool playSounds_ = true;
  std::array<std::string, kListedSourceCount> entries_;
  int selected_ = 0;
  int shownSource_ = 0;
  std::string countText_;
  int spinnerMaximum_ = 100;
  int pendingFavourite_ = kDefaultFavouritePoem;
  FavouriteTexts favouriteTexts_;
};

// The favourite dialog (十八番の変更): the phrase box's text when it opens and after the random
// button, and the outcome of OK.
class FavouriteDialogModel {
 public:
  FavouriteDialogModel(const PoemCatalogue& catalogue, RandomPoemPicker& picker)
      : catalogue_(catalogue), picker_(picker) {}

  // The phrase box's text as the dialog opens on `favourite`: its upper reading (CP932).
  std::string Open(int favourite) const;
  // The random button: the upper reading of a poem picked at random, never the one picked last.
  std::string PickRandom();
  // OK with the phrase box holding `typedUtf8`: the poem found, or the notice to show. A
  // character Shift-JIS lacks belongs to no poem: such a text finds none.
  FavouriteSearch Search(std::string_view typedUtf8) const;

 private:
  const PoemCatalogue& catalogue_;
  RandomPoemPicker& picker_;
};

}  // namespace verselane
