// Saves env.ini and record.dat over and over through the program's own save code, so that a
// script can kill it at any moment and look at what the kill left on disk.
//
//   e2e-save-loop-tool versions DIR
//       writes the two versions of each file the loop alternates between, as DIR/env-a.ini,
//       env-b.ini, record-a.dat and record-b.dat
//   e2e-save-loop-tool loop DIR
//       prints "saving" once everything is set up, then writes DIR/env.ini and DIR/record.dat
//       as version A, then as B, and so on until it is killed
//
// Each version is written by SettingsController::SaveEnvironment or RecordList::SaveRecordList,
// exactly as at the program's shut-down or after a rank-in, so the bytes a script compares with
// are the bytes the program itself produces. Any save that reports a failure ends the loop with
// status 3: the script then knows the kill did not come first.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "base/file_status.h"
#include "base/shift_jis.h"
#include "records/record_list.h"
#include "settings/settings_controller.h"

namespace {

using verselane::FileStatus;
using verselane::QuestionMode;
using verselane::RecordList;
using verselane::SettingsController;
using verselane::SjisLiteral;

// The two versions differ in every field and in length, so a file that mixed them, or stopped
// short, matches neither.
struct Versions {
  Versions(const std::string& envA, const std::string& envB, const std::string& recordA,
           const std::string& recordB)
      : settingsA(envA),
        settingsB(envB),
        recordsA(recordA),
        recordsB(recordB) {
    verselane::Settings& a = settingsA.settings();
    a.SetMode(QuestionMode::Normal);
    a.SetSource(0);
    a.SetQuestionCount(100);
    a.SetFavouritePoem(28);
    a.SetShowAfterKimariji(true);
    a.SetAcceptOmission(false);
    a.SetPlaySounds(false);
    a.SetPlayerName("alpha");
    verselane::Settings& b = settingsB.settings();
    b.SetMode(QuestionMode::Reverse);
    b.SetSource(0);
    b.SetQuestionCount(7);
    b.SetFavouritePoem(64);
    b.SetShowAfterKimariji(false);
    b.SetAcceptOmission(true);
    b.SetPlaySounds(false);
    b.SetPlayerName(SjisLiteral("べーた"));
    // SaveEnvironment writes only what changed since start-up; both always count as changed.
    settingsA.MarkChanged();
    settingsB.MarkChanged();

    // A list starts as the five default records, which version A keeps.
    recordsB.InsertRecord({"tanaka", 48213, "00:11:02", "86", SjisLiteral("普通"), "26/03/07 09:05"});
    recordsB.InsertRecord(
        {SjisLiteral("すずき"), 90550, "00:20:13", "100", SjisLiteral("逆順*"), "26/03/08 21:40"});
    recordsB.InsertRecord({"sato", 7, "01:02:03", "3", SjisLiteral("詠人"), "26/03/09 00:01"});
  }

  // env.ini, then record.dat; the first failure, as nobody is there to read a notice.
  FileStatus SaveA() { return Save(settingsA, recordsA); }
  FileStatus SaveB() { return Save(settingsB, recordsB); }
  static FileStatus Save(SettingsController& settings, RecordList& records) {
    FileStatus saved = settings.SaveEnvironment();
    return saved.ok() ? records.SaveRecordList() : saved;
  }

  SettingsController settingsA;
  SettingsController settingsB;
  RecordList recordsA;
  RecordList recordsB;
};

int WriteVersions(const std::string& folder) {
  Versions versions(folder + "/env-a.ini", folder + "/env-b.ini", folder + "/record-a.dat",
                    folder + "/record-b.dat");
  FileStatus saved = versions.SaveA();
  if (saved.ok()) saved = versions.SaveB();
  if (!saved.ok()) {
    std::fprintf(stderr, "e2e-save-loop-tool: cannot write the versions into %s (%s)\n",
                 folder.c_str(), saved.ToString().c_str());
    return 1;
  }
  return 0;
}

int Loop(const std::string& folder) {
  // Both versions of each file go to the same place, the data folder's names.
  const std::string envIni = folder + "/env.ini";
  const std::string recordDat = folder + "/record.dat";
  auto versions = std::make_unique<Versions>(envIni, envIni, recordDat, recordDat);
  std::printf("saving\n");
  std::fflush(stdout);
  while (true) {
    FileStatus saved = versions->SaveA();
    if (saved.ok()) saved = versions->SaveB();
    if (!saved.ok()) {
      std::fprintf(stderr, "e2e-save-loop-tool: a save failed: %s\n", saved.ToString().c_str());
      return 3;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "versions") == 0) return WriteVersions(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "loop") == 0) return Loop(argv[2]);
  std::fprintf(stderr, "usage: e2e-save-loop-tool versions DIR | loop DIR\n");
  return 2;
}
