// Numbers in the program's files are read the forgiving way they always were: leading white
// space, an optional sign, then digits up to the first other byte; no digits read as 0.
#pragma once

#include <string_view>

namespace verselane {

// Values beyond the range of int are held at its ends.
int ParseDecimal(std::string_view text);

}  // namespace verselane
