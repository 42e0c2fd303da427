// Prints the poem catalogue for review: one poem per line in anthology order, the fields of each
// record exactly as stored joined by tabs (an empty field is an empty column; continuation and
// blank cells show as their two ASCII bytes), converted to UTF-8.
#include <cstdio>
#include <string>

#include "catalogue/poem_catalogue.h"
#include "base/shift_jis.h"

int main() {
  verselane::PoemCatalogue catalogue;
  int status = 0;
  for (int poem = 0; poem < catalogue.poemCount(); ++poem) {
    std::string line;
    for (int field = 0; field < catalogue.FieldCount(poem); ++field) {
      std::string value;
      catalogue.GetPoemField(poem, field, value);
      verselane::Conversion utf8 = verselane::SjisToUtf8(value);
      if (!utf8.ok()) {
        std::fprintf(stderr, "poem-table: poem %d field %d is not valid CP932 at byte %zu\n",
                     poem + 1, field, utf8.failedAt);
        status = 1;
      }
      if (field > 0) line += '\t';
      line += utf8.text;
    }
    std::printf("%s\n", line.c_str());
  }
  return status;
}
