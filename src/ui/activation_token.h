// The desktop's activation token: what a launcher gives the program it starts so that the
// program's window may take the focus (XDG_ACTIVATION_TOKEN on Wayland, DESKTOP_STARTUP_ID on
// X11). A second copy hands its token to the running copy, which needs it to come forward: a
// Wayland compositor moves the focus only for a token it issued.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace verselane {

// Longer than any token a desktop issues (wlroots: 32 characters; an X11 startup id names the
// launcher, the host and a time), short enough that nobody can make the running copy hoard.
inline constexpr std::size_t kMaxActivationTokenLength = 200;

// Printable ASCII without spaces, 1 to kMaxActivationTokenLength characters.
bool IsUsableActivationToken(std::string_view token);

// This process's token: XDG_ACTIVATION_TOKEN, else DESKTOP_STARTUP_ID; empty when neither is set
// or what is set is not usable.
std::string ActivationTokenFromEnvironment();

// Reads one request line, "TOKEN\n" (an empty line: no token), as it arrives in pieces. A line
// that grows past the limit or holds anything but a usable token is refused: no token is taken
// from it.
class TokenLine {
 public:
  enum class State { kReading, kDone, kRefused };

  // Takes the bytes that came; the state after them.
  State Add(std::string_view bytes);
  // The sender closed the connection: what came so far, without its newline, counts as the line.
  State End();

  State state() const { return state_; }
  // The token once kDone; empty otherwise.
  std::string token() const { return state_ == State::kDone ? line_ : std::string(); }

 private:
  State Finish();

  std::string line_;
  State state_ = State::kReading;
};

}  // namespace verselane
