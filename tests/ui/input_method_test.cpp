// Which input method is asked to open when a question is put, and how.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/input_method.h"
#include "ui_test_support.h"

namespace verselane {
namespace {

std::string Everything(const std::string& name) { return "/usr/bin/" + name; }
std::string Nothing(const std::string&) { return {}; }
std::string OnlyFcitx4(const std::string& name) {
  return name == "fcitx5-remote" ? std::string() : "/usr/bin/" + name;
}

TEST(InputMethodTest, DetectedFromGtkImModuleFirstThenXModifiers) {
  EXPECT_EQ(DetectInputMethod("ibus", nullptr), InputMethodKind::kIBus);
  EXPECT_EQ(DetectInputMethod("fcitx", "@im=ibus"), InputMethodKind::kFcitx);
  EXPECT_EQ(DetectInputMethod("fcitx5", nullptr), InputMethodKind::kFcitx);
  EXPECT_EQ(DetectInputMethod("gtk-im-context-simple", "@im=ibus"), InputMethodKind::kNone)
      << "GTK uses the module it is told to";
  EXPECT_EQ(DetectInputMethod(nullptr, "@im=ibus"), InputMethodKind::kIBus);
  EXPECT_EQ(DetectInputMethod("", "@im=fcitx"), InputMethodKind::kFcitx);
  EXPECT_EQ(DetectInputMethod(nullptr, "@im=uim"), InputMethodKind::kNone);
  EXPECT_EQ(DetectInputMethod(nullptr, nullptr), InputMethodKind::kNone);
}

TEST(InputMethodTest, FcitxIsOpenedWithItsRemote) {
  const auto fcitx5 = OpenInputMethodCommand(InputMethodKind::kFcitx, Everything);
  ASSERT_EQ(fcitx5.size(), 4u);
  EXPECT_EQ(fcitx5[0], "/usr/bin/sh");
  EXPECT_EQ(fcitx5[3], "/usr/bin/fcitx5-remote") << "the script's $0";
  const auto fcitx4 = OpenInputMethodCommand(InputMethodKind::kFcitx, OnlyFcitx4);
  ASSERT_EQ(fcitx4.size(), 4u);
  EXPECT_EQ(fcitx4[3], "/usr/bin/fcitx-remote");
  EXPECT_TRUE(OpenInputMethodCommand(InputMethodKind::kFcitx, Nothing).empty());
}

TEST(InputMethodTest, IBusIsSwitchedOnlyFromAKeyboardLayoutEngine) {
  const auto command = OpenInputMethodCommand(InputMethodKind::kIBus, Everything);
  ASSERT_EQ(command.size(), 4u);
  EXPECT_EQ(command[0], "/usr/bin/sh");
  EXPECT_EQ(command[1], "-c");
  EXPECT_NE(command[2].find("xkb:*"), std::string::npos);
  EXPECT_NE(command[2].find("preload-engines"), std::string::npos);
  EXPECT_EQ(command[3], "/usr/bin/ibus") << "the script's $0";
  EXPECT_TRUE(OpenInputMethodCommand(InputMethodKind::kIBus, Nothing).empty());
  EXPECT_TRUE(OpenInputMethodCommand(InputMethodKind::kNone, Everything).empty());
}

// Runs `command` to its end, as the switch runs it (without waiting) in the program.
int RunToEnd(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

// A stand-in for the ibus tool: reports `engine` as the current engine, offers `preloaded` and
// logs the engines it is asked to switch to.
class FakeIBus {
 public:
  FakeIBus(const std::string& engine, const std::string& preloaded) {
    const std::filesystem::path folder = uitest::ScratchFolder();
    program_ = (folder / "ibus").string();
    log_ = (folder / "ibus.log").string();
    std::ofstream script(program_);
    script << "#!/bin/sh\n"
           << "case \"$1\" in\n"
           << "  engine) if [ -n \"$2\" ]; then echo \"$2\" >> '" << log_
           << "'; else echo '" << engine << "'; fi ;;\n"
           << "  read-config) echo 'embed-preedit-text: true'; echo \"preload-engines: "
           << preloaded << "\" ;;\n"
           << "esac\n";
    script.close();
    std::filesystem::permissions(program_, std::filesystem::perms::owner_all);
  }
  std::vector<std::string> Command() const {
    auto command = OpenInputMethodCommand(InputMethodKind::kIBus, Everything);
    command[0] = FindOnPath("sh");
    command[3] = program_;
    return command;
  }
  std::string Switched() const {
    std::ifstream log(log_);
    std::string all, line;
    while (std::getline(log, line)) all += line + ";";
    return all;
  }

 private:
  std::string program_;
  std::string log_;
};

TEST(InputMethodTest, IBusOnAKeyboardLayoutSwitchesToThePreloadedInputMethod) {
  FakeIBus ibus("xkb:jp::jpn", "['xkb:jp::jpn', 'mozc-jp', 'anthy']");
  EXPECT_EQ(RunToEnd(ibus.Command()), 0);
  EXPECT_EQ(ibus.Switched(), "mozc-jp;");
}

TEST(InputMethodTest, IBusAlreadyOnAnInputMethodIsLeftAlone) {
  FakeIBus ibus("mozc-jp", "['xkb:jp::jpn', 'mozc-jp']");
  EXPECT_EQ(RunToEnd(ibus.Command()), 0);
  EXPECT_EQ(ibus.Switched(), "");
}

TEST(InputMethodTest, IBusWithOnlyKeyboardLayoutsIsLeftAlone) {
  FakeIBus ibus("xkb:us::eng", "['xkb:us::eng', 'xkb:jp::jpn']");
  EXPECT_EQ(RunToEnd(ibus.Command()), 0);
  EXPECT_EQ(ibus.Switched(), "");
}

TEST(InputMethodTest, FindOnPathFindsInstalledProgramsOnly) {
  EXPECT_FALSE(FindOnPath("sh").empty());
  EXPECT_TRUE(FindOnPath("no-such-program-verselane").empty());
}

}  // namespace
}  // namespace verselane
