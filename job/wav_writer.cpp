#include "job/wav_writer.h"

#include <limits>
#include <string>
#include <utility>

namespace tessaly {
namespace {

constexpr std::uint16_t kWavePcm = 0x0001;
constexpr std::uint16_t kWaveExtensible = 0xFFFE;
constexpr std::uint32_t kPcmFmtBytes = 16;
constexpr std::uint32_t kExtensibleFmtBytes = 40;
constexpr std::uint16_t kExtensionBytes = 22;   // what follows cbSize in the extensible fmt
constexpr std::uint32_t kDs64Bytes = 28;        // RIFF size, data size, sample count, table
constexpr std::uint32_t kRiffFormBytes = 4;     // "WAVE"
constexpr std::uint32_t kChunkHeaderBytes = 8;  // id and 32-bit size
constexpr std::uint32_t kNoSize = 0xFFFFFFFF;   // RF64: the size is in the ds64 chunk
// KSDATAFORMAT_SUBTYPE_PCM, the GUID 00000001-0000-0010-8000-00AA00389B71 as stored.
constexpr std::uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                            0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

class LittleEndian {
 public:
  void text(const char* fourCc) { bytes.insert(bytes.end(), fourCc, fourCc + 4); }
  void u16(std::uint32_t value) { put(value, 2); }
  void u32(std::uint64_t value) { put(value, 4); }
  void u64(std::uint64_t value) { put(value, 8); }
  void raw(const std::uint8_t* data, std::size_t size) {
    bytes.insert(bytes.end(), data, data + size);
  }

  std::vector<std::uint8_t> bytes;

 private:
  void put(std::uint64_t value, int count) {
    for (int n = 0; n < count; ++n) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * n)));
  }
};

bool extensible(const LpcmFormat& f) {
  return f.channels > 2 || f.bits > 16;
}

void fmtChunk(LittleEndian& out, const LpcmFormat& f) {
  const auto frame = static_cast<std::uint32_t>(f.wavFrameBytes());
  out.text("fmt ");
  out.u32(extensible(f) ? kExtensibleFmtBytes : kPcmFmtBytes);
  out.u16(extensible(f) ? kWaveExtensible : kWavePcm);
  out.u16(static_cast<std::uint32_t>(f.channels));
  out.u32(static_cast<std::uint32_t>(f.sampleRate));
  out.u32(static_cast<std::uint32_t>(f.sampleRate) * frame);
  out.u16(frame);
  out.u16(static_cast<std::uint32_t>(8 * f.wavSampleBytes()));
  if (!extensible(f)) return;
  out.u16(kExtensionBytes);
  out.u16(static_cast<std::uint32_t>(f.bits));  // valid bits per sample
  out.u32(lpcmChannelMask(f.channels));
  out.raw(kPcmSubFormat, sizeof kPcmSubFormat);
}

}  // namespace

std::vector<std::uint8_t> wavHeader(const LpcmFormat& format, std::uint64_t dataBytes) {
  const std::uint64_t headerBytes =
      kChunkHeaderBytes + kRiffFormBytes + kChunkHeaderBytes + kDs64Bytes + kChunkHeaderBytes +
      (extensible(format) ? kExtensibleFmtBytes : kPcmFmtBytes) + kChunkHeaderBytes;
  const std::uint64_t riffBytes = headerBytes - kChunkHeaderBytes + dataBytes + dataBytes % 2;
  const bool rf64 = riffBytes > std::numeric_limits<std::uint32_t>::max();
  LittleEndian out;
  out.text(rf64 ? "RF64" : "RIFF");
  out.u32(rf64 ? kNoSize : riffBytes);
  out.text("WAVE");
  out.text(rf64 ? "ds64" : "JUNK");
  out.u32(kDs64Bytes);
  out.u64(rf64 ? riffBytes : 0);
  out.u64(rf64 ? dataBytes : 0);
  out.u64(rf64 ? dataBytes / static_cast<std::uint64_t>(format.wavFrameBytes()) : 0);
  out.u32(0);  // no table of further chunk sizes
  fmtChunk(out, format);
  out.text("data");
  out.u32(rf64 ? kNoSize : dataBytes);
  return std::move(out.bytes);
}

WavWriter::WavWriter(std::unique_ptr<OutputFile> file, const LpcmFormat& format, int number)
    : file_(std::move(file)), format_(format), number_(number), reorder_(format) {
  const auto header = wavHeader(format_, 0);
  file_->write(header.data(), header.size());
}

void WavWriter::packetStart(const OutputPacket& packet) {
  if (lpcmFormat(packet.lpcmFormat) != format_) ++otherFormat_;
}

void WavWriter::write(const std::uint8_t* data, std::size_t size) {
  samples_.clear();
  reorder_.take({data, size}, samples_);
  file_->write(samples_.data(), samples_.size());
  dataBytes_ += samples_.size();
}

std::vector<std::string> WavWriter::passEnd() {
  std::vector<std::string> lines;
  if (otherFormat_ > 0) {
    lines.push_back("Warning: audio stream " + std::to_string(number_) + " has " +
                    std::to_string(otherFormat_) +
                    " LPCM packets in another format than its first; its WAV file holds "
                    "their samples as if in the first.");
  }
  otherFormat_ = 0;
  return lines;
}

void WavWriter::close() {
  if (closed_) return;
  closed_ = true;
  if (dataBytes_ % 2 != 0) {
    const std::uint8_t pad = 0;  // a RIFF chunk of odd size is followed by a pad byte
    file_->write(&pad, 1);
  }
  const auto header = wavHeader(format_, dataBytes_);
  file_->writeAt(0, header.data(), header.size());
  file_->close();
}

}  // namespace tessaly
