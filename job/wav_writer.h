// LPCM as a RIFF/WAVE file: the format from the first packet's format bytes, the samples
// in the little-endian interleaved order of WAV (see lpcm_samples.h). Plain PCM for 16-bit
// mono and stereo, WAVE_FORMAT_EXTENSIBLE above two channels or 16 bits (20-bit samples in
// 24-bit containers with 20 valid bits).
//
// The sizes are written when the file is closed. A JUNK chunk after the RIFF header keeps
// room for a ds64 chunk: a file whose RIFF size passes 4 GiB becomes RF64 (EBU Tech 3306),
// its ds64 chunk holding the 64-bit sizes and the 32-bit size fields 0xFFFFFFFF.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "job/lpcm_samples.h"
#include "job/stream_output.h"
#include "platform/files.h"

namespace tessaly {

// The header of a WAV file of `format` holding `dataBytes` bytes of samples.
std::vector<std::uint8_t> wavHeader(const LpcmFormat& format, std::uint64_t dataBytes);

class WavWriter final : public StreamOutput {
 public:
  // Writes into `file`, which holds nothing yet; `number` is the audio stream's number.
  WavWriter(std::unique_ptr<OutputFile> file, const LpcmFormat& format, int number);

  // Counts the packets whose format bytes name another format than the first packet's.
  void packetStart(const OutputPacket& packet) override;
  void write(const std::uint8_t* data, std::size_t size) override;
  // A warning line for the packets of the pass in another format: their samples are
  // written as the first format's.
  std::vector<std::string> passEnd() override;
  // Writes the sizes into the header and closes; the bytes of an incomplete last block
  // are left out.
  void close() override;

 private:
  std::unique_ptr<OutputFile> file_;
  LpcmFormat format_;
  int number_;
  LpcmReorder reorder_;
  std::vector<std::uint8_t> samples_;
  std::uint64_t dataBytes_ = 0;
  std::uint64_t otherFormat_ = 0;  // packets of this pass in another format
  bool closed_ = false;
};

}  // namespace tessaly
