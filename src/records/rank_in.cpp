#include "records/rank_in.h"

#include <optional>
#include <utility>

#include "base/file_ports.h"
#include "base/notices.h"
#include "base/scramble.h"
#include "base/shift_jis.h"
#include "records/mode_label.h"
#include "records/record_list.h"
#include "records/run_figures.h"
#include "settings/settings_controller.h"

namespace verselane {
namespace {

// The name as the files will hold it: Shift-JIS, cut to kMaxNameBytes, "noname" when empty.
// Nothing, after telling the player why, when the files could not hold it.
std::optional<std::string> NameToStore(std::string_view typedName, NoticePort& notices) {
  const Conversion sjis = Utf8ToSjisExact(typedName);
  std::string name = sjis.text.substr(0, SjisPrefixLength(sjis.text, kMaxNameBytes));
  if (name.empty()) name = "noname";

  // "," separates the fields of a record, "/" those of env.ini, where the name is stored too.
  std::optional<Notice> refusal;
  if (!sjis.ok()) {
    refusal = Notice::kNameWithBadCharacter;
  } else if (name.find(',') != std::string::npos) {
    refusal = Notice::kNameWithComma;
  } else if (name.find('/') != std::string::npos) {
    refusal = Notice::kNameWithSlash;
  } else if (HoldsControlByte(name)) {
    refusal = Notice::kNameWithBadCharacter;
  }
  if (!refusal) return name;
  Tell(notices, *refusal);
  return std::nullopt;
}

}  // namespace

bool NameFitsField(std::string_view typedName) {
  std::size_t bytes = 0;
  for (std::size_t at = 0; at < typedName.size();) {
    std::size_t length = 1;
    while (at + length < typedName.size() &&
           (static_cast<unsigned char>(typedName[at + length]) & 0xC0) == 0x80) {
      ++length;
    }
    const Conversion sjis = Utf8ToSjis(typedName.substr(at, length));
    bytes += sjis.ok() ? sjis.text.size() : 2;
    at += length;
  }
  return bytes <= kMaxNameBytes;
}

bool CommitRankIn(std::string_view typedName, const RunFigures& run, RecordList& records,
                  SettingsController& settings, NoticePort& notices, ClockPort& clock) {
  std::optional<std::string> name = NameToStore(typedName, notices);
  if (!name) return false;
  settings.settings().SetPlayerName(*name);
  settings.MarkChanged();

  records.InsertRecord({std::move(*name), run.score, FormatClockTime(run.clearSeconds),
                        std::to_string(CorrectRate(run.correct, run.answers)), run.modeLabel,
                        FormatRecordDate(clock.Now())});
  // The player asked for this record to be kept: a record that only lives until the program ends
  // must not pass for a saved one.
  TellIfFailed(notices, FileTask::kSaveRecords, records.SaveRecordList());
  return true;
}

}  // namespace verselane
