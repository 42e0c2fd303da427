// What the tests of the sound device share: an environment variable set for a while (SDL's
// audio driver), and a recording as the synthesiser writes it.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace verselane {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value, 1);
  }
  ~ScopedEnvironment() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A second of silence at 48 kHz, 16-bit mono (as the synthesiser writes), as a RIFF WAV.
inline std::string RecordingBytes() {
  auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [](std::uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
  const std::uint32_t data = 48000 * 2;
  return "RIFF" + u32(36 + data) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(48000) +
         u32(48000 * 2) + u16(2) + u16(16) + "data" + u32(data) + std::string(data, '\0');
}

}  // namespace verselane
