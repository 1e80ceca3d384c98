// Where a pass puts the payload of a stream: an output file, or any taker of bytes
// in file order (a format writer, a test's recorder).
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaly {

class PayloadSink {
 public:
  virtual ~PayloadSink() = default;
  // Appends `size` bytes; a failure to store them throws and ends the pass.
  virtual void write(const std::uint8_t* data, std::size_t size) = 0;
};

}  // namespace tessaly
