// HD-DVD SUP, as the subtitle converters read it: each unit is one frame, the bytes
// "SP", the low 32 bits of the unit's PTS little-endian, four zero bytes, then the
// unit's bytes exactly as the stream holds them. A reader finds the next frame from the
// unit's own size field, 10 bytes past the frame's start plus that size.
#pragma once

#include <string>

#include "job/unit_writer.h"
#include "platform/files.h"

namespace tessaly {

class HdSupWriter final : public UnitWriter {
 public:
  // Creates the file; throws "Cannot create file ...".
  explicit HdSupWriter(const std::string& path) : file_(path) {}

  void beginUnit(std::uint64_t pts) override;
  void write(const std::uint8_t* data, std::size_t size) override { file_.write(data, size); }
  void endUnit() override {}
  void close() override { file_.close(); }

 private:
  OutputFile file_;
};

}  // namespace tessaly
