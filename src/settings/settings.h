// The player's lasting choices, plus the source and count put aside during a retry run.
#pragma once

#include <string>
#include <utility>

#include "settings/types.h"

namespace verselane {

class Settings {
 public:
  QuestionMode mode() const { return mode_; }
  void SetMode(QuestionMode mode) { mode_ = mode; }

  // Question source index: 0 to 14 a built-in group, 15 the question file, 16 the retry source.
  int source() const { return source_; }
  void SetSource(int source) { source_ = source; }

  int questionCount() const { return questionCount_; }
  void SetQuestionCount(int count) { questionCount_ = count; }

  // Poem index (0 to 99) of the favourite poem.
  int favouritePoem() const { return favouritePoem_; }
  void SetFavouritePoem(int poem) { favouritePoem_ = poem; }

  bool showAfterKimariji() const { return showAfterKimariji_; }
  void SetShowAfterKimariji(bool on) { showAfterKimariji_ = on; }

  bool acceptOmission() const { return acceptOmission_; }
  void SetAcceptOmission(bool on) { acceptOmission_ = on; }

  bool playSounds() const { return playSounds_; }
  void SetPlaySounds(bool on) { playSounds_ = on; }

  // The question file's path as the file system names it; empty when no file was chosen.
  const std::string& questionFilePath() const { return questionFilePath_; }
  void SetQuestionFilePath(std::string path) { questionFilePath_ = std::move(path); }

  // CP932 bytes.
  const std::string& playerName() const { return playerName_; }
  void SetPlayerName(std::string name) { playerName_ = std::move(name); }

  int savedSource() const { return savedSource_; }
  int savedQuestionCount() const { return savedQuestionCount_; }

  // Starts a retry run: puts the source and count aside and switches to the retry source with
  // `retryCount` questions. A retry run started from a retry run keeps the values put aside by
  // the first, so the player still returns to their own choice.
  void SaveSourceForRetry(int retryCount);

  // Ends a retry run: puts back the source and count in force before it and returns true. Does
  // nothing and returns false unless the retry source is in force, so a player's own choice is
  // never overwritten by stale saved values.
  bool RestoreSavedSource();

 private:
  QuestionMode mode_ = QuestionMode::Normal;
  int source_ = 0;
  int questionCount_ = 100;
  int favouritePoem_ = 28;
  bool showAfterKimariji_ = true;
  bool acceptOmission_ = false;
  bool playSounds_ = true;
  std::string questionFilePath_;
  std::string playerName_;
  int savedSource_ = 0;
  int savedQuestionCount_ = 100;
};

}  // namespace verselane
