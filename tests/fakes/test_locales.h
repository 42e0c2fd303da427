// Desktop locales for tests that run under them ("de_DE.UTF-8" writes a decimal comma). A locale
// the system lacks (`locale -a`) is made once with localedef into a folder of the tests' own in
// the temporary folder, and found there through LOCPATH: a test run installs nothing.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace verselane {

class TestLocale {
 public:
  // The C library's whole locale is `name` while this lives; usable() tells whether it could be
  // had, why() why not.
  explicit TestLocale(const std::string& name) {
    if (const char* current = std::setlocale(LC_ALL, nullptr)) previous_ = current;
    if (const char* path = std::getenv("LOCPATH")) previousPath_ = path;
    if (std::setlocale(LC_ALL, name.c_str()) != nullptr) {
      usable_ = true;
      return;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("verselane-test-locales-" + std::to_string(getuid()));
    if (!std::filesystem::exists(folder / name)) Make(folder, name);
    setenv("LOCPATH", folder.c_str(), 1);
    usable_ = std::setlocale(LC_ALL, name.c_str()) != nullptr;
    if (!usable_ && why_.empty()) why_ = name + " could not be loaded from " + folder.string();
  }
  ~TestLocale() {
    if (previousPath_) {
      setenv("LOCPATH", previousPath_->c_str(), 1);
    } else {
      unsetenv("LOCPATH");
    }
    std::setlocale(LC_ALL, previous_.c_str());
  }
  TestLocale(const TestLocale&) = delete;
  TestLocale& operator=(const TestLocale&) = delete;

  bool usable() const { return usable_; }
  const std::string& why() const { return why_; }

 private:
  // "de_DE.UTF-8" from the sources of Debian's locales package, by libc-bin's localedef; made
  // under a name of this process first, so that test programs running at once never see half of
  // one.
  void Make(const std::filesystem::path& folder, const std::string& name) {
    const std::string source = name.substr(0, name.find('.'));
    if (!std::filesystem::exists("/usr/share/i18n/locales/" + source) ||
        !std::filesystem::exists("/usr/bin/localedef")) {
      why_ = name + " is missing and cannot be made: it needs the packages locales and libc-bin";
      return;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::filesystem::path made = folder / (name + ".part-" + std::to_string(getpid()));
    const std::string command = "/usr/bin/localedef -c -i '" + source + "' -f UTF-8 '" +
                                made.string() + "' >/dev/null 2>&1";
    static_cast<void>(std::system(command.c_str()));  // -c: warnings leave a usable locale
    std::filesystem::rename(made, folder / name, error);
    if (error) std::filesystem::remove_all(made, error);
  }

  std::string previous_ = "C";
  std::optional<std::string> previousPath_;
  bool usable_ = false;
  std::string why_;
};

}  // namespace verselane
