// The player's lasting choices, as env.ini keeps them.
#pragma once

#include <string>
#include <utility>

#include "settings/types.h"

namespace verselane {

// The settings of a new player, and those env.ini falls back to.
inline constexpr int kDefaultQuestionCount = 100;
inline constexpr int kDefaultFavouritePoem = 28;  // poem 29, 「心あてに」
inline constexpr const char* kDefaultPlayerName = "noname";

class Settings {
 public:
  QuestionMode mode() const { return mode_; }
  void SetMode(QuestionMode mode) { mode_ = mode; }

  // Question source index: 0 to 14 a built-in group, 15 the question file.
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

 private:
  QuestionMode mode_ = QuestionMode::Normal;
  int source_ = 0;
  int questionCount_ = kDefaultQuestionCount;
  int favouritePoem_ = kDefaultFavouritePoem;
  bool showAfterKimariji_ = true;
  bool acceptOmission_ = false;
  bool playSounds_ = true;
  std::string questionFilePath_;
  std::string playerName_;
};

}  // namespace verselane
