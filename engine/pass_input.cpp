#include "engine/pass_input.h"

#include <algorithm>

namespace tessaly {

std::span<const std::uint8_t> MemoryInput::next(std::size_t size) {
  const std::size_t count = std::min(size, bytes_.size() - taken_);
  const auto chunk = bytes_.subspan(taken_, count);
  taken_ += count;
  return chunk;
}

}  // namespace tessaly
