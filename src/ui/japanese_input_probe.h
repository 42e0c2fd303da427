// Whether the player's input method types Japanese: asked of IBus and of Fcitx 5 over their own
// D-Bus interfaces, for a start that must decide whether the answer line turns romaji into kana
// itself. A desktop may run an input method with no Japanese in it (stock GNOME runs IBus with
// keyboard layouts only), so "an input method runs" is not enough.
#pragma once

#include <string_view>

namespace verselane {

// An engine (IBus) or input method (Fcitx) named `name` whose language is `language` types
// Japanese. The keyboard layouts of Japan carry the language too, but type no kana.
bool IsJapaneseInputMethod(std::string_view name, std::string_view language);

// IBus (found through `ibus address`) offers a Japanese engine; false when it does not answer
// within `timeoutMs`.
bool IBusOffersJapanese(int timeoutMs);
// Fcitx 5 on the session bus offers a Japanese input method; false when it does not answer
// within `timeoutMs`. Never starts Fcitx through the bus.
bool FcitxOffersJapanese(int timeoutMs);

}  // namespace verselane
