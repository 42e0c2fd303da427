#include "ui/activation_token.h"

#include <algorithm>
#include <cstdlib>

namespace verselane {

bool IsUsableActivationToken(std::string_view token) {
  return !token.empty() && token.size() <= kMaxActivationTokenLength &&
         std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

std::string ActivationTokenFromEnvironment() {
  for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && IsUsableActivationToken(value)) return value;
  }
  return {};
}

TokenLine::State TokenLine::Add(std::string_view bytes) {
  if (state_ != State::kReading) return state_;
  const std::size_t end = bytes.find('\n');
  line_.append(bytes.substr(0, std::min(end, kMaxActivationTokenLength + 1)));
  if (line_.size() > kMaxActivationTokenLength) return state_ = State::kRefused;
  return end == std::string_view::npos ? state_ : Finish();
}

TokenLine::State TokenLine::End() { return state_ == State::kReading ? Finish() : state_; }

TokenLine::State TokenLine::Finish() {
  state_ = line_.empty() || IsUsableActivationToken(line_) ? State::kDone : State::kRefused;
  if (state_ == State::kRefused) line_.clear();
  return state_;
}

}  // namespace verselane
