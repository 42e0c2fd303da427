#include "settings/settings_dialog_model.h"

#include <cctype>
#include <cstdlib>
#include <optional>

#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"
#include "base/file_ports.h"
#include "settings/question_source.h"
#include "settings/settings_controller.h"

namespace verselane {
namespace {

constexpr std::size_t kCountCharactersRead = 3;
// The phrase box is read up to this many bytes (SearchFavourite cuts there as well).
constexpr std::size_t kPhraseBytesRead = 49;

// The whole text as a decimal number, as the spinner reads its box; nothing when it is not one.
std::optional<int> WholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

int ReadCountBox(std::string_view text) {
  const std::string head(text.substr(0, kCountCharactersRead));
  return std::atoi(head.c_str());
}

SettingsDialogModel::SettingsDialogModel(const PoemCatalogue& catalogue,
                                         SettingsController& controller, FileChooserPort& files,
                                         NoticePort& notices)
    : catalogue_(catalogue), controller_(controller), files_(files), notices_(notices) {}

int SettingsDialogModel::SourceSize(int source) const {
  return controller_.sources().GetGroupSize(source);
}

void SettingsDialogModel::Open() {
  const Settings& settings = controller_.settings();
  spinnerMaximum_ = 100;

  mode_ = settings.mode();
  showAfterKimarijiEnabled_ = mode_ != QuestionMode::Poet;

  for (int entry = 0; entry < kListedSourceCount; ++entry) entries_[entry] = GetGroupName(entry);
  const int source =
      settings.source() >= 0 && settings.source() < kListedSourceCount ? settings.source() : 0;
  if (source == kFileSource) {
    const std::string label = FileSourceLabel(settings, controller_.sources());
    if (!label.empty()) entries_[kFileSource] = label;
  }
  selected_ = source;
  shownSource_ = source;
  spinnerMaximum_ = SourceSize(source);

  countText_ = std::to_string(settings.questionCount());

  SetPendingFavourite(settings.favouritePoem());

  // The stored mark is shown as it is, also in Poet mode, where the box is disabled.
  showAfterKimariji_ = settings.showAfterKimariji();
  acceptOmission_ = settings.acceptOmission();
  playSounds_ = settings.playSounds();
}

void SettingsDialogModel::ChooseMode(QuestionMode mode) {
  mode_ = mode;
  if (mode == QuestionMode::Poet) {
    showAfterKimariji_ = true;
    showAfterKimarijiEnabled_ = false;
  } else {
    showAfterKimarijiEnabled_ = true;
  }
}

void SettingsDialogModel::SetShowAfterKimariji(bool on) {
  if (showAfterKimarijiEnabled_) showAfterKimariji_ = on;
}

void SettingsDialogModel::OpenSourceList() {
  if (shownSource_ == kFileSource) entries_[kFileSource] = GetGroupName(kFileSource);
}

void SettingsDialogModel::CommitSource(int entry) {
  if (entry < 0 || entry >= kListedSourceCount) return;
  if (entry == kFileSource) {
    const std::optional<std::string> path =
        ChooseQuestionFile(files_, notices_, controller_.sources());
    if (!path) {
      selected_ = shownSource_;
      return;
    }
    // The file is in use at once; Cancel does not take it back.
    controller_.settings().SetQuestionFilePath(*path);
    entries_[kFileSource] = FileSourceLabel(controller_.settings(), controller_.sources());
  }
  selected_ = entry;
  spinnerMaximum_ = SourceSize(entry);
  countText_ = std::to_string(SourceSize(entry));
  shownSource_ = entry;
}

void SettingsDialogModel::CloseSourceList() {
  if (shownSource_ == kFileSource) {
    const std::string label = FileSourceLabel(controller_.settings(), controller_.sources());
    entries_[kFileSource] = label.empty() ? GetGroupName(kFileSource) : label;
  }
  selected_ = shownSource_;
}

void SettingsDialogModel::LeaveCountBox() {
  const int size = SourceSize(selected_);
  if (ReadCountBox(countText_) > size) countText_ = std::to_string(size);
}

void SettingsDialogModel::Spin(int step) {
  const int maximum = spinnerMaximum_;
  if (maximum < 1) return;  // an empty source offers no count to step to
  // A count outside the range (or none at all) steps into it: from below as from 0, from above
  // as from one past the maximum.
  int count = WholeNumber(countText_).value_or(0);
  if (count < 0) count = 0;
  if (count > maximum + 1) count = maximum + 1;
  count += step;
  if (count > maximum) count = 1;
  if (count < 1) count = maximum;
  countText_ = std::to_string(count);
}

void SettingsDialogModel::SetPendingFavourite(int poem) {
  pendingFavourite_ = poem;
  favouriteTexts_ = ShowFavourite(catalogue_, poem);
}

void SettingsDialogModel::Ok() {
  Settings& settings = controller_.settings();
  settings.SetMode(mode_);
  settings.SetSource(selected_);
  const int size = SourceSize(selected_);
  const int count = ReadCountBox(countText_);
  settings.SetQuestionCount(count > size ? size : count <= 0 ? 1 : count);
  settings.SetFavouritePoem(pendingFavourite_);
  settings.SetShowAfterKimariji(showAfterKimariji_);
  settings.SetAcceptOmission(acceptOmission_);
  settings.SetPlaySounds(playSounds_);
  controller_.MarkChanged();
}

std::string FavouriteDialogModel::Open(int favourite) const {
  return std::string(catalogue_.FieldView(favourite, kUpperReading));
}

std::string FavouriteDialogModel::PickRandom() {
  return std::string(catalogue_.FieldView(picker_.PickRandomPoem(), kUpperReading));
}

FavouriteSearch FavouriteDialogModel::Search(std::string_view typedUtf8) const {
  const Conversion whole = Utf8ToSjis(typedUtf8);
  if (whole.ok()) return SearchFavourite(catalogue_, whole.text);
  // Only what lies within the bytes read counts; a character Shift-JIS lacks there belongs to
  // no poem.
  const Conversion readable = Utf8ToSjis(typedUtf8.substr(0, whole.failedAt));
  if (readable.ok() && readable.text.size() >= kPhraseBytesRead) {
    return SearchFavourite(catalogue_, readable.text);
  }
  FavouriteSearch none = SearchFavourite(catalogue_, "");
  return none;
}

}  // namespace verselane
