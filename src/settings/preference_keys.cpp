#include "settings/preference_keys.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace verselane {
namespace {

struct PreferenceKey {
  const char* group;
  const char* key;
  // Takes the text into the field; false when it is not a value of the key.
  bool (*read)(std::string_view text, Preferences& preferences);
  // Nothing: the key stays out of the file (a value not chosen yet).
  std::optional<std::string> (*write)(const Preferences& preferences);
  // A value the key is left out of the file at, unless the file has it already; null: always
  // written.
  const char* quietDefault = nullptr;
};

// The voice's keys join the file once the player moves them off their defaults: the file of a
// player who never uses the voice stays as it was.
constexpr PreferenceKey Quiet(PreferenceKey key, const char* defaultText) {
  key.quietDefault = defaultText;
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

// A decimal number from Low to High, as "0.85"; anything else (a comma, words, a number out of
// bounds) is not a value of the key.
template <double Preferences::*Field, double Low, double High>
constexpr PreferenceKey Bounded(const char* group, const char* key) {
  return {group, key,
          [](std::string_view text, Preferences& preferences) {
            double number = 0;
            const char* end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, number);
            if (error != std::errc() || stop != end || !(number >= Low && number <= High)) {
              return false;
            }
            preferences.*Field = number;
            return true;
          },
          [](const Preferences& preferences) -> std::optional<std::string> {
            char text[32];
            std::snprintf(text, sizeof text, "%.2f", preferences.*Field);
            std::string written = text;
            if (written.ends_with('0')) written.pop_back();  // 1.0, 0.85
            return written;
          }};
}

// The zoom by percent, as the file writes it: 1, 1.5 or 2 times.
constexpr Choice kZoomTexts[] = {{100, "1"}, {150, "1.5"}, {200, "2"}};

// In the order a new file lists them.
constexpr PreferenceKey kKeys[] = {
    ChosenFlag<&Preferences::romajiInput, &Preferences::romajiChosen>("input", "romaji"),
    OneOf<&Preferences::zoomPercent, kZoomTexts>("view", "zoom"),
    Quiet(Flag<&Preferences::recite>("voice", "recite"), "false"),
    Quiet(Flag<&Preferences::listenOnly>("voice", "listen-only"), "false"),
    Quiet(Flag<&Preferences::opening>("voice", "opening"), "false"),
    Quiet(Bounded<&Preferences::voiceSpeed, kSlowestVoiceSpeed, kFastestVoiceSpeed>("voice",
                                                                                     "speed"),
          "1.0"),
};

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
    if (key.quietDefault != nullptr && *value == key.quietDefault &&
        !file.Get(key.group, key.key)) {
      continue;
    }
    file.Set(key.group, key.key, *value);
  }
}

}  // namespace verselane
