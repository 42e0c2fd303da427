// Numbers in the program's files are read the forgiving way they always were: leading white
// space, an optional sign, then digits up to the first other byte; no digits read as 0.
#pragma once

#include <string>
#include <string_view>

namespace verselane {

// Values beyond the range of int are held at its ends.
int ParseDecimal(std::string_view text);

// `hundredths` (not negative) with two decimals after a point, "0.85": the files are the same
// whatever decimal mark the desktop's locale writes.
std::string HundredthsText(long hundredths);

}  // namespace verselane
