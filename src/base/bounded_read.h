// Reading a small file someone else may have put in the program's way: whatever lies at the
// path, the read neither blocks nor takes more memory than the caller allows.
#pragma once

#include <cstddef>
#include <string>

#include "base/file_status.h"

namespace verselane {

// Reads the whole regular file at `path` (symbolic links followed) into `out` when it holds at
// most `limit` bytes; `out` is left as it was otherwise. A folder, a FIFO, a socket or a device
// is refused without being read (not a regular file), as is a larger file (too large); a missing
// file is not found, and anything else the system refuses an I/O error.
[[nodiscard]] FileStatus ReadRegularFile(const std::string& path, std::size_t limit,
                                         std::string& out);

}  // namespace verselane
