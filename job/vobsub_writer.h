// VobSub for DVD-style units: NAME.sub, an MPEG program stream of 2048-byte packs that
// carries each unit in private-stream-1 packets of sub-stream 0x20, the unit's PTS on
// its first packet; NAME.idx, the text index: the frame size, a 16-colour palette, the
// language, and per unit its time and the position of its first pack in NAME.sub.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "job/unit_writer.h"
#include "shell/files.h"
#include "shell/time_origin.h"

namespace tessaly {

class VobSubWriter final : public UnitWriter {
 public:
  static constexpr std::size_t kPackSize = 2048;

  // Creates the index, then the program stream; throws "Cannot create file ...". The
  // index's times count from `origin`; `language` is the playlist's code, "" unknown.
  VobSubWriter(const std::string& idxPath, const std::string& subPath, const TimeOrigin& origin,
               std::string language);

  void beginUnit(std::uint64_t pts) override;
  void write(const std::uint8_t* data, std::size_t size) override;
  void endUnit() override;
  // Writes the index, then closes both files.
  void close() override;

 private:
  struct Entry {
    std::uint64_t pts;
    std::uint64_t filePosition;  // of the unit's first pack in the program stream
  };

  std::size_t packCapacity() const;
  void emitPack();
  std::string indexText() const;

  OutputFile idx_;
  OutputFile sub_;
  const TimeOrigin& origin_;
  std::string language_;
  std::vector<Entry> entries_;
  std::vector<std::uint8_t> payload_;  // of the pack being gathered
  bool firstPack_ = false;             // that pack is the unit's first: it carries the PTS
  std::uint64_t pts_ = 0;
  std::uint64_t subBytes_ = 0;  // written to the program stream so far
  bool indexed_ = false;
};

}  // namespace tessaly
