// MulDiv: scaling through a 64-bit product, as dialog units and DPI scaling use it.
#include <cstdint>
#include <limits>

#include "pda/kernel.h"

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
  const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
  const std::int64_t result = negative ? -rounded : rounded;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
    return -1;
  return static_cast<int>(result);
}
