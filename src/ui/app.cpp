// Entry point of the desktop program: the application object, which chooses the data folder,
// runs the start-up of Program and, after the message loop, its shut-down. The exit code is 0
// in every case, also when the start-up ends early. `verselane --history` only prints the
// history of answers and ends (1 when the database cannot be read or the report not written),
// as `verselane --plan` does the plan of a day;
// a command line the program does not understand ends it with 2.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include <wx/app.h>

#include "base/data_folder.h"
#include "base/notices.h"
#include "base/text_file.h"
#include "game/answer_recorder.h"
#include "game/command_handler.h"
#include "game/game_controller.h"
#include "game/plan_report.h"
#include "ui/activation_token.h"
#include "ui/command_line.h"
#include "ui/desktop_language.h"
#include "ui/help.h"
#include "ui/gtk_native.h"
#include "records/answer_history.h"
#include "settings/preferences_file.h"
#include "ui/message_boxes.h"
#include "ui/program.h"
#include "ui/sound_player.h"
#include "ui/toolkit_assertions.h"

namespace verselane {
namespace {

// Read in main(), before GTK starts and takes it out of the environment.
std::string startActivationToken;

// `verselane --plan`: like the history report, read-only and without a display. The plan follows
// the player's settings; a broken verselane.conf is left for the program to set aside and the
// plan made with the defaults, saying so.
bool PrintPlan(const CommandLine& command) {
  Preferences preferences;
  const PreferencesFile file(PreferencesPathOfThisProcess());
  if (file.Peek(preferences).code() == FileStatus::Code::kCorrupt) {
    std::cerr << "verselane: " << file.path()
              << " is damaged: the plan follows the default settings\n";
  }
  const Day today =
      command.planDay.value_or(DayOf(LocalTimeText(SystemUnixTime())).value_or(0));
  const std::filesystem::path folder = DataFolderFor("/proc/self/exe");
  return PrintPlanReport((folder / kHistoryFileName).string(), today, preferences.plan,
                         PoemCatalogue(), std::cout, std::cerr);
}

}  // namespace

class VerselaneApp : public wxApp {
 public:
  // Before the toolkit starts, so that none of its checks can stop the program with a dialog.
  VerselaneApp() { LogToolkitAssertionsOnce(); }

  bool OnInit() override {
    StartFontSetUp();
    language_ = std::make_unique<DesktopLanguage>();
    SetAppName("verselane");
    SetClassName(kClassName);
    // wxGTK takes the class part of WM_CLASS from the display name (the instance part is the
    // executable's name), so the class name goes there as well:
    // WM_CLASS = "verselane", "Marrowfen".
    SetAppDisplayName(kClassName);
    // Wayland has no WM_CLASS: there the desktop file's name goes with each window instead.
    NameWindowsOnWayland(VERSELANE_APP_ID);
    // The data folder is made (when missing) before the single-instance claim: a second copy
    // finds it made by the first, so it still writes no file.
    const std::string dataFolder = DataFolderFor("/proc/self/exe");
    const FileStatus made = CreateDataFolder(dataFolder);
    ProgramOptions options;
    options.dataFolder = made.ok() ? dataFolder : std::string();  // else the current folder
    options.activationToken = startActivationToken;
    options.voiceOutput = &sound_;  // the voice shares the sound device
    program_ = std::make_unique<Program>(sound_, options);
    // A second copy only brings the first one forward.
    if (!program_->ClaimSingleInstance()) {
      program_.reset();
      return false;
    }
    TellIfFailed(program_->messageBoxes(), FileTask::kCreateDataFolder, made);
    // Saves cut short by a crash leave their temporary files; this is the only copy running, so
    // nothing else of ours can be writing them.
    RemoveAbandonedWrites(program_->settings().path());
    RemoveAbandonedWrites(program_->records().path());
    if (!program_->Start()) {
      program_.reset();
      return false;
    }
    return true;
  }

  int OnExit() override {
    program_.reset();
    UnloadHelp();
    return wxApp::OnExit();
  }

 private:
  std::unique_ptr<DesktopLanguage> language_;  // before anything shows text
  SdlSoundPlayer sound_;
  std::unique_ptr<Program> program_;
};

}  // namespace verselane

wxIMPLEMENT_APP_NO_MAIN(verselane::VerselaneApp);

int main(int argc, char** argv) {
  verselane::FillClosedStandardDescriptors();
  // Answered before any toolkit starts: no display needed, and a command line the program does
  // not understand never opens one.
  const verselane::CommandLine command = verselane::ReadCommandLine(argc, argv);
  // The history report needs no display and opens no window, and it leaves the single-instance
  // lock alone, so it also runs beside a running copy. It creates nothing, not even the folder.
  if (command.request == verselane::CommandLine::Request::kHistory) {
    const std::filesystem::path folder = verselane::DataFolderFor("/proc/self/exe");
    return verselane::StatusAfterOutput(
        verselane::PrintHistoryReport((folder / verselane::kHistoryFileName).string(),
                                      std::cout, std::cerr)
            ? 0
            : 1);
  }
  if (command.request == verselane::CommandLine::Request::kPlan) {
    return verselane::StatusAfterOutput(verselane::PrintPlan(command) ? 0 : 1);
  }
  if (command.request != verselane::CommandLine::Request::kStart) {
    return verselane::StatusAfterOutput(
        verselane::AnswerCommandLine(command, std::cout, std::cerr));
  }
  // The game draws with plain pixel copies: without this GTK loads OpenGL at start-up only to
  // choose a visual, which on Mesa takes half of the program's memory and a good part of its
  // start. A player's own setting is kept.
  setenv("GDK_GL", "disable", 0);
  verselane::startActivationToken = verselane::ActivationTokenFromEnvironment();
  wxEntry(argc, argv);
  return 0;
}
