// Any record.dat loads without harm; a list that loads without a notice saves and loads back the
// same, and so does the default list that replaces a corrupt one.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "records/record_list.h"

namespace {

bool SameRecords(const verselane::RecordList& a, const verselane::RecordList& b) {
  for (int position = 0; position < verselane::RecordList::kSize; ++position) {
    if (verselane::FormatRecordLine(a.record(position)) !=
        verselane::FormatRecordLine(b.record(position))) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  verselane::EnterScratchFolder();
  verselane::WriteFile("record.dat",
                       verselane::FileBytesFrom(std::string(reinterpret_cast<const char*>(data), size)));
  verselane::RecordList first;
  verselane::CountingNotices notices;
  first.LoadRecordList(notices);
  first.SaveRecordList();

  verselane::RecordList second;
  verselane::CountingNotices secondNotices;
  second.LoadRecordList(secondNotices);
  if (secondNotices.count != 0 || !SameRecords(first, second)) std::abort();
  return 0;
}
