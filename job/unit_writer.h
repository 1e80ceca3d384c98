// A format that carries subpicture units with their time stamps, over the files it made.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaly {

class UnitWriter {
 public:
  virtual ~UnitWriter() = default;
  // A unit begins; `pts` is its 33-bit time stamp (90 kHz).
  virtual void beginUnit(std::uint64_t pts) = 0;
  // The next bytes of the current unit.
  virtual void write(const std::uint8_t* data, std::size_t size) = 0;
  // The current unit is complete.
  virtual void endUnit() = 0;
  // Writes what is pending and closes the files; throws "Stream write error". Idempotent.
  virtual void close() = 0;
  // The units that the format could not take since the last call (a format that decodes
  // them may meet units that do not decode).
  virtual std::uint64_t takeLeftOut() { return 0; }
  // True once the format takes no more units (its files would grow past their bound).
  virtual bool full() const { return false; }
};

}  // namespace tessaly
