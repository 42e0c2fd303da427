// Any record.dat loads without harm; a list that loads saves and loads back the same, and so does
// the default list that replaces a corrupt one.
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
  const std::string path = verselane::ScratchFile("record.dat");
  const std::string input(reinterpret_cast<const char*>(data), size);
  verselane::WriteFile(path, verselane::FileBytesFrom(input));
  verselane::RecordList first(path);
  const verselane::FileStatus loaded = first.LoadRecordList();
  // The file is there: anything wrong with it is its content.
  if (!loaded.ok() && loaded.code() != verselane::FileStatus::Code::kCorrupt) std::abort();
  // A loaded list too long to be read back is kept from the file; the file then still holds it.
  const verselane::FileStatus saved = first.SaveRecordList();
  if (!saved.ok() && (!loaded.ok() || saved.code() != verselane::FileStatus::Code::kCorrupt)) {
    std::abort();
  }

  verselane::RecordList second(path);
  if (!second.LoadRecordList().ok() || !SameRecords(first, second)) std::abort();
  return 0;
}
