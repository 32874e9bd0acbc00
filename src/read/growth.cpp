#include "read/growth.h"

namespace talvoro {

std::optional<std::int32_t> CapacityAfterAppends(std::int32_t size, std::int32_t capacity,
                                                 std::int32_t growBy, std::size_t count) {
  if (count == 0) return capacity;
  if (size < 0 || size > capacity || growBy < 0) return std::nullopt;
  if (count > static_cast<std::size_t>(INT32_MAX - size)) return std::nullopt;
  const std::int64_t needed = std::int64_t{size} + static_cast<std::int64_t>(count);
  std::int64_t reached = capacity;
  while (reached < needed) {
    // An append grows the block only once it is full, so the size that the
    // step comes from is the capacity reached so far; it needs one more slot.
    reached += std::int64_t{1} + GrowthStep(static_cast<std::int32_t>(reached), growBy);
    if (reached > INT32_MAX) return std::nullopt;
  }
  return static_cast<std::int32_t>(reached);
}

}  // namespace talvoro
