#include "settings/environment_line.h"

#include <algorithm>
#include <cstdio>

#include "catalogue/poem_groups.h"
#include "base/shift_jis.h"
#include "base/decimal.h"
#include "base/scramble.h"
#include "settings/settings.h"

namespace verselane {
namespace {

// Mode and the options read only their first byte.
QuestionMode ModeFromField(std::string_view field) {
  if (field.starts_with('2')) return QuestionMode::Poet;
  if (field.starts_with('1')) return QuestionMode::Reverse;
  return QuestionMode::Normal;
}

bool OptionFromField(std::string_view field) { return field.starts_with('1'); }

void ApplyField(int index, std::string_view field, Settings& settings) {
  switch (index) {
    case 0: settings.SetMode(ModeFromField(field)); break;
    case 1:
      // Three bytes or more can only be a path.
      if (field.size() >= 3) {
        settings.SetSource(kFileSource);
        settings.SetQuestionFilePath(PathFromStored(field));
      } else {
        settings.SetSource(ParseDecimal(field));
      }
      break;
    case 2: settings.SetQuestionCount(ParseDecimal(field)); break;
    case 3: settings.SetFavouritePoem(ParseDecimal(field)); break;
    case 4: settings.SetShowAfterKimariji(OptionFromField(field)); break;
    case 5: settings.SetAcceptOmission(OptionFromField(field)); break;
    case 6: settings.SetPlaySounds(OptionFromField(field)); break;
    default: break;  // further fields are ignored
  }
}

std::string Line(int mode, const std::string& source, int count, const Settings& settings) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%d%c%d%c%d%c%d%c%d%c", count, kFieldSeparator,
                settings.favouritePoem(), kFieldSeparator, settings.showAfterKimariji() ? 1 : 0,
                kFieldSeparator, settings.acceptOmission() ? 1 : 0, kFieldSeparator,
                settings.playSounds() ? 1 : 0, kFieldSeparator);
  return std::to_string(mode) + kFieldSeparator + source + kFieldSeparator + numbers +
         settings.playerName();
}

}  // namespace

std::string ComposeEnvironmentLine(const Settings& settings) {
  const int source = settings.source();
  const int count = settings.questionCount();
  const int mode = static_cast<int>(settings.mode());
  std::string stored;
  if (source == kFileSource &&
      StoredPathFor(settings.questionFilePath(), stored) == PathProblem::kNone) {
    return Line(mode, stored, count, settings);
  }
  // A path that cannot be stored never reaches this point (the file choice refuses it); should
  // one, the line names all poems rather than fail at the next start.
  return Line(mode, std::to_string(source == kFileSource ? kAllPoemsSource : source), count,
              settings);
}

bool ParseEnvironmentLine(std::string_view line, Settings& settings) {
  // A line that could not be written back and read again is as good as corrupt.
  if (HoldsControlByte(line)) return false;
  int separators = 0;
  std::size_t start = 0;
  for (std::size_t pos = line.find(kFieldSeparator); pos != std::string_view::npos;
       pos = line.find(kFieldSeparator, start)) {
    ApplyField(separators++, line.substr(start, pos - start), settings);
    start = pos + 1;
  }
  const std::string_view name = line.substr(start);
  if (separators != 7 || name.empty()) return false;
  settings.SetPlayerName(std::string(name));
  return true;
}

PathProblem StoredPathFor(const std::string& path, std::string& stored) {
  if (path.find('\\') != std::string::npos) return PathProblem::kBackslash;
  std::string exchanged = path;
  std::replace(exchanged.begin(), exchanged.end(), '/', '\\');
  Conversion sjis = Utf8ToSjisExact(exchanged);
  if (!sjis.ok()) return PathProblem::kNotShiftJis;
  // Shorter than three bytes it would read back as a source number; no full path is.
  if (sjis.text.size() > kQuestionFilePathMaxBytes || sjis.text.size() < 3) {
    return PathProblem::kTooLong;
  }
  stored = std::move(sjis.text);
  return PathProblem::kNone;
}

std::string PathFromStored(std::string_view stored) {
  Conversion utf8 = SjisToUtf8(stored);
  if (!utf8.ok()) return {};
  std::replace(utf8.text.begin(), utf8.text.end(), '\\', '/');
  return std::move(utf8.text);
}

}  // namespace verselane
