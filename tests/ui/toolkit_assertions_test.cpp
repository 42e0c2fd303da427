// A toolkit assertion, which wx raises in the builds we ship: no dialog, the program goes on, and
// stderr tells of it once.
#include "ui/toolkit_assertions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include <wx/bitmap.h>
#include <wx/debug.h>
#include <wx/sysopt.h>
#include <wx/toplevel.h>

namespace verselane {
namespace {

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(ToolkitAssertions, EachPlaceIsWrittenToStderrOnceAndNoDialogShows) {
  const wxAssertHandler_t before = wxSetAssertHandler(nullptr);
  // Were wx's own handler still in place, it would end the run here instead of waiting for a
  // click on its dialog.
  wxSystemOptions::SetOption("exit-on-assert", 1);
  LogToolkitAssertionsOnce();
  const auto windows = wxTopLevelWindows.size();
  testing::internal::CaptureStderr();
  for (int time = 0; time < 3; ++time) {
    const wxBitmap none;  // asking an invalid bitmap its size is one of wx's own checks
    EXPECT_EQ(none.GetWidth(), -1);
    EXPECT_EQ(none.GetHeight(), -1);
  }
  const std::string written = testing::internal::GetCapturedStderr();
  wxSetAssertHandler(before);
  wxSystemOptions::SetOption("exit-on-assert", 0);

  EXPECT_EQ(Count(written, "assert \""), 2) << written;
  EXPECT_EQ(Count(written, "invalid bitmap"), 2) << written;
  EXPECT_THAT(written, testing::StartsWith("verselane: "));
  EXPECT_EQ(wxTopLevelWindows.size(), windows);
}

}  // namespace
}  // namespace verselane
