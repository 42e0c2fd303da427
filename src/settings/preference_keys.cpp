#include "settings/preference_keys.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "base/decimal.h"

namespace verselane {
namespace {

struct PreferenceKey {
  const char* group;
  const char* key;
  // Takes the text into the field; false when it is not a value of the key.
  bool (*read)(std::string_view text, Preferences& preferences);
  // Nothing: the key stays out of the file (a value not chosen yet).
  std::optional<std::string> (*write)(const Preferences& preferences);
  // The key stays out of a file that does not name it for as long as its value is the default:
  // a player who never changed it finds no line of it in their file.
  bool writtenOnceChanged = false;
};

// A key written only once changed (writtenOnceChanged): the file of a player who never uses
// what it sets stays as it was.
constexpr PreferenceKey Quiet(PreferenceKey key) {
  key.writtenOnceChanged = true;
  return key;
}

// "true" or "false", as the freedesktop.org key-file format writes a boolean.
template <bool Preferences::*Field>
constexpr PreferenceKey Flag(const char* group, const char* key) {
  return {group, key,
          [](std::string_view text, Preferences& preferences) {
            if (text != "true" && text != "false") return false;
            preferences.*Field = text == "true";
            return true;
          },
          [](const Preferences& preferences) -> std::optional<std::string> {
            return preferences.*Field ? "true" : "false";
          }};
}

// A flag the file may leave out, which `Chosen` tells: its key is written once it is chosen.
template <bool Preferences::*Field, bool Preferences::*Chosen>
constexpr PreferenceKey ChosenFlag(const char* group, const char* key) {
  return {group, key,
          [](std::string_view text, Preferences& preferences) {
            if (!Flag<Field>("", "").read(text, preferences)) return false;
            preferences.*Chosen = true;
            return true;
          },
          [](const Preferences& preferences) -> std::optional<std::string> {
            if (!(preferences.*Chosen)) return std::nullopt;
            return Flag<Field>("", "").write(preferences);
          }};
}

// A number from a short list, each written as one text.
struct Choice {
  int number;
  const char* text;
};

template <int Preferences::*Field, const auto& Choices>
constexpr PreferenceKey OneOf(const char* group, const char* key) {
  return {group, key,
          [](std::string_view text, Preferences& preferences) {
            for (const Choice& choice : Choices) {
              if (text != choice.text) continue;
              preferences.*Field = choice.number;
              return true;
            }
            return false;
          },
          [](const Preferences& preferences) -> std::optional<std::string> {
            for (const Choice& choice : Choices) {
              if (choice.number == preferences.*Field) return std::string(choice.text);
            }
            return std::string(Choices[0].text);
          }};
}

// Whole hundredths of a text of digits with at most two decimals ("5", "0.9", "0.90"); nothing
// for anything else, a sign, a space or an exponent included.
std::optional<int> Hundredths(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const bool digitsOnly = whole.find_first_not_of("0123456789") == std::string_view::npos &&
                          fraction.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digitsOnly || whole.empty() || whole.size() > 3 || fraction.size() > 2 ||
      (point != std::string_view::npos && fraction.empty())) {
    return std::nullopt;
  }
  int value = 0;
  std::from_chars(whole.data(), whole.data() + whole.size(), value);
  value *= 100;
  if (!fraction.empty()) value += (fraction[0] - '0') * 10;
  if (fraction.size() == 2) value += fraction[1] - '0';
  return value;
}

// A decimal number from Low to High with at most two decimals, as "0.85"; anything else (a
// comma, words, a number out of bounds) is not a value of the key.
template <double Preferences::*Field, const double& Low, const double& High>
constexpr PreferenceKey Bounded(const char* group, const char* key) {
  return {group, key,
          [](std::string_view text, Preferences& preferences) {
            const std::optional<int> hundredths = Hundredths(text);
            if (!hundredths || *hundredths < std::lround(Low * 100) ||
                *hundredths > std::lround(High * 100)) {
              return false;
            }
            preferences.*Field = *hundredths / 100.0;
            return true;
          },
          [](const Preferences& preferences) -> std::optional<std::string> {
            std::string written = HundredthsText(std::lround(preferences.*Field * 100));
            if (written.ends_with('0')) written.pop_back();  // 1.0, 0.85
            return written;
          }};
}

// The plan's new poems a day: a whole number within its range.
constexpr PreferenceKey kNewPerDayKey{
    "plan", "new-per-day",
    [](std::string_view text, Preferences& preferences) {
      const std::optional<int> hundredths =
          text.find('.') == std::string_view::npos ? Hundredths(text) : std::nullopt;
      if (!hundredths || *hundredths < kMinNewPerDay * 100 || *hundredths > kMaxNewPerDay * 100) {
        return false;
      }
      preferences.plan.newPerDay = *hundredths / 100;
      return true;
    },
    [](const Preferences& preferences) -> std::optional<std::string> {
      return std::to_string(preferences.plan.newPerDay);
    },
    true};

// The plan's target retention, in hundredths within its range, written with two decimals.
constexpr PreferenceKey kRetentionKey{
    "plan", "retention",
    [](std::string_view text, Preferences& preferences) {
      const std::optional<int> hundredths = Hundredths(text);
      if (!hundredths || *hundredths < RetentionHundredths(kMinRetention) ||
          *hundredths > RetentionHundredths(kMaxRetention)) {
        return false;
      }
      preferences.plan.retention = *hundredths / 100.0;
      return true;
    },
    [](const Preferences& preferences) -> std::optional<std::string> {
      return HundredthsText(RetentionHundredths(preferences.plan.retention));
    },
    true};

// The zoom by percent, as the file writes it: 1, 1.5 or 2 times.
constexpr Choice kZoomTexts[] = {{100, "1"}, {150, "1.5"}, {200, "2"}};

// In the order a new file lists them.
constexpr PreferenceKey kKeys[] = {
    ChosenFlag<&Preferences::romajiInput, &Preferences::romajiChosen>("input", "romaji"),
    OneOf<&Preferences::zoomPercent, kZoomTexts>("view", "zoom"),
    Quiet(Flag<&Preferences::recite>("voice", "recite")),
    Quiet(Flag<&Preferences::listenOnly>("voice", "listen-only")),
    Quiet(Flag<&Preferences::opening>("voice", "opening")),
    Quiet(Bounded<&Preferences::voiceSpeed, kSlowestVoiceSpeed, kFastestVoiceSpeed>("voice",
                                                                                     "speed")),
    kNewPerDayKey,
    kRetentionKey,
};

// Whether `text`, as the file has it, already says `value`: written otherwise ("0.9" for 0.90,
// "1.50" for 1.5, with spaces around), it means the same and is left as the player wrote it.
bool Says(const PreferenceKey& key, std::string_view text, const Preferences& preferences,
          const std::string& value) {
  Preferences asWritten = preferences;
  return key.read(text, asWritten) && key.write(asWritten) == value;
}

}  // namespace

bool ReadPreferenceKeys(const KeyFile& file, Preferences& preferences) {
  for (const PreferenceKey& key : kKeys) {
    const std::optional<std::string_view> text = file.Get(key.group, key.key);
    if (text && !key.read(*text, preferences)) return false;
  }
  return true;
}

void WritePreferenceKeys(const Preferences& preferences, KeyFile& file) {
  for (const PreferenceKey& key : kKeys) {
    const std::optional<std::string> value = key.write(preferences);
    if (!value) continue;
    const std::optional<std::string_view> written = file.Get(key.group, key.key);
    if (written ? Says(key, *written, preferences, *value)
                : key.writtenOnceChanged && *value == key.write(Preferences{})) {
      continue;
    }
    file.Set(key.group, key.key, *value);
  }
}

}  // namespace verselane
