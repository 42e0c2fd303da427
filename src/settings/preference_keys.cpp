#include "settings/preference_keys.h"

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
};

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

// The zoom by percent, as the file writes it: 1, 1.5 or 2 times.
constexpr Choice kZoomTexts[] = {{100, "1"}, {150, "1.5"}, {200, "2"}};

// In the order a new file lists them.
constexpr PreferenceKey kKeys[] = {
    ChosenFlag<&Preferences::romajiInput, &Preferences::romajiChosen>("input", "romaji"),
    OneOf<&Preferences::zoomPercent, kZoomTexts>("view", "zoom"),
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
    if (const std::optional<std::string> value = key.write(preferences)) {
      file.Set(key.group, key.key, *value);
    }
  }
}

}  // namespace verselane
