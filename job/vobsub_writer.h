// VobSub for DVD-style units: NAME.sub, an MPEG program stream of 2048-byte packs that
// carries each unit in private-stream-1 packets of sub-stream 0x20, the unit's PTS on
// its first packet; NAME.idx, the text index: the frame size, a 16-colour palette, the
// language, and per unit its time and the position of its first pack in NAME.sub.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/time_origin.h"
#include "job/unit_writer.h"
#include "job/video_frame.h"
#include "job/vobsub_palette.h"
#include "platform/files.h"

namespace tessaly {

// Each unit takes whole packs, so a stream of tiny units would grow NAME.sub far past the
// stream's own size: once NAME.sub would pass kGrowth times the stream's bytes (with
// kGrowth packs to spare, for the first units), the writer takes no more units (full()).
// The index's lines wait in a temporary file, not in memory, until the origin of their
// times is known at close().
class VobSubWriter final : public UnitWriter {
 public:
  static constexpr std::size_t kPackSize = 2048;
  static constexpr std::uint64_t kGrowth = 16;

  // Creates the index, then the program stream; throws "Cannot create file ...". The
  // index's times count from `origin`; `language` is the playlist's code, "" unknown;
  // `frame` is read when the index is written, so that the video's own size, read by then,
  // stands in it.
  VobSubWriter(const std::string& idxPath, const std::string& subPath, const TimeOrigin& origin,
               std::string language, const VideoFrame& frame, const VobSubPalette& palette);

  void beginUnit(std::uint64_t pts) override;
  void write(const std::uint8_t* data, std::size_t size) override;
  void endUnit() override;
  // Writes the index, then closes both files.
  void close() override;
  bool full() const override { return full_; }

 private:
  struct Entry {
    std::uint64_t pts;
    std::uint64_t filePosition;  // of the unit's first pack in the program stream
  };
  struct SpoolClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::size_t packCapacity() const;
  void emitPack();
  void writeIndex();
  void writeText(const std::string& text);

  OutputFile idx_;
  OutputFile sub_;
  const TimeOrigin& origin_;
  std::string language_;
  const VideoFrame& frame_;
  VobSubPalette palette_;
  std::unique_ptr<std::FILE, SpoolClose> entries_;  // the units' Entry records, in order
  std::uint64_t streamBytes_ = 0;                   // of the units taken
  bool full_ = false;
  std::vector<std::uint8_t> payload_;  // of the pack being gathered
  bool firstPack_ = false;             // that pack is the unit's first: it carries the PTS
  std::uint64_t pts_ = 0;
  std::uint64_t subBytes_ = 0;  // written to the program stream so far
  bool indexed_ = false;
};

}  // namespace tessaly
