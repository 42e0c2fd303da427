// Opening the input method when a question is put, so the player can type kana at once. GTK
// gives no way to do that, but the common input methods can be asked over their own tools:
// Fcitx opens for the focused field with `fcitx5-remote -o` (asked again within a second, for a
// field Fcitx learns of late); IBus has no open state of its own, so when its engine is a plain
// keyboard layout it is switched to the first input-method engine the player has set up. With
// any other input method, or none, nothing is done.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "game/desktop_ports.h"

namespace verselane {

enum class InputMethodKind { kNone, kIBus, kFcitx };

// Which input method GTK talks to, from GTK_IM_MODULE or else XMODIFIERS (either may be null).
InputMethodKind DetectInputMethod(const char* gtkImModule, const char* xmodifiers);

// The command that opens `kind`, run without waiting; empty when there is none. `findProgram`
// gives a program's full path, or "" when it is not installed.
std::vector<std::string> OpenInputMethodCommand(
    InputMethodKind kind, std::string (*findProgram)(const std::string& name));

// The full path of `name` on $PATH, or "".
std::string FindOnPath(const std::string& name);

// Whether a process named by one of `names` (as /proc/<pid>/comm gives it) runs under user `uid`,
// looking in `procFolder`.
bool ProcessRuns(const std::string& procFolder, const std::vector<std::string>& names,
                 unsigned uid);

// How long a start waits at most for the input methods to say whether they type Japanese.
inline constexpr int kJapaneseProbeWaitMs = 700;

class InputMethodSwitch : public InputMethodPort {
 public:
  // Looks at the environment once: the input method does not change while the program runs.
  InputMethodSwitch();
  explicit InputMethodSwitch(std::vector<std::string> command) : command_(std::move(command)) {}

  void RequestOpen() override;
  // Asks IBus and Fcitx that run for this user, once, on a thread of its own: an input method
  // that does not answer within kJapaneseProbeWaitMs counts as offering no Japanese, and the
  // start goes on without waiting for it any longer.
  bool OffersJapanese() override;
  const std::vector<std::string>& command() const { return command_; }

 private:
  std::vector<std::string> command_;
  std::optional<bool> offersJapanese_;
};

}  // namespace verselane
