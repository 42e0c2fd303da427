#include "base/decimal.h"

#include <climits>

namespace verselane {

int ParseDecimal(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  long long value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string HundredthsText(long hundredths) {
  const long fraction = hundredths % 100;
  return std::to_string(hundredths / 100) + '.' + static_cast<char>('0' + fraction / 10) +
         static_cast<char>('0' + fraction % 10);
}

}  // namespace verselane
