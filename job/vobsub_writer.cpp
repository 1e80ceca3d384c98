#include "job/vobsub_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "engine/pts.h"

namespace tessaly {
namespace {

constexpr std::size_t kPackHeader = 14;  // start code, SCR, mux rate, no pack stuffing
constexpr std::size_t kPesFixed = 9;     // start code, length, two flag bytes, header length
constexpr std::size_t kPtsBytes = 5;
constexpr std::size_t kPaddingHeader = 6;  // padding packet: start code and length
constexpr std::uint8_t kPrivateStream1 = 0xBD;
constexpr std::uint8_t kPaddingStream = 0xBE;
constexpr std::uint8_t kSubStreamId = 0x20;  // subpicture 0: the index's "index: 0"
constexpr std::uint32_t kMuxRate = 25200;    // 10.08 Mbit/s in units of 50 bytes/s
constexpr std::size_t kEntriesRead = 4096;   // index entries read back at a time

// An MPEG-2 pack header; the SCR is the unit's PTS, which no reader of the format uses.
void putPackHeader(std::uint8_t* out, std::uint64_t scr) {
  const std::uint8_t header[kPackHeader] = {
      0x00,
      0x00,
      0x01,
      0xBA,
      static_cast<std::uint8_t>(0x44 | ((scr >> 27) & 0x38) | ((scr >> 28) & 0x03)),
      static_cast<std::uint8_t>(scr >> 20),
      static_cast<std::uint8_t>(((scr >> 12) & 0xF8) | 0x04 | ((scr >> 13) & 0x03)),
      static_cast<std::uint8_t>(scr >> 5),
      static_cast<std::uint8_t>(((scr << 3) & 0xF8) | 0x04),  // SCR extension 0
      0x01,
      static_cast<std::uint8_t>(kMuxRate >> 14),
      static_cast<std::uint8_t>(kMuxRate >> 6),
      static_cast<std::uint8_t>(((kMuxRate << 2) & 0xFC) | 0x03),
      0xF8};  // reserved bits, no pack stuffing
  std::copy(header, header + kPackHeader, out);
}

// A PTS field ('0010', then the 33 bits with their marker bits).
void putPts(std::uint8_t* out, std::uint64_t pts) {
  out[0] = static_cast<std::uint8_t>(0x21 | ((pts >> 29) & 0x0E));
  out[1] = static_cast<std::uint8_t>(pts >> 22);
  out[2] = static_cast<std::uint8_t>(((pts >> 14) & 0xFE) | 1);
  out[3] = static_cast<std::uint8_t>(pts >> 7);
  out[4] = static_cast<std::uint8_t>(((pts << 1) & 0xFE) | 1);
}

// HH:MM:SS:mmm, to the nearest millisecond; a time before the origin shows as 0.
std::string timeText(std::int64_t ticks) {
  const std::int64_t ms = roundedMs(std::max<std::int64_t>(ticks, 0));
  char text[40];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld:%03lld",
                static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return text;
}

}  // namespace

VobSubWriter::VobSubWriter(const std::string& idxPath, const std::string& subPath,
                           const TimeOrigin& origin, std::string language, const VideoFrame& frame,
                           const VobSubPalette& palette)
    : idx_(idxPath),
      sub_(subPath),
      origin_(origin),
      language_(std::move(language)),
      frame_(frame),
      palette_(palette),
      entries_(std::tmpfile()) {
  if (!entries_) throw createError(idxPath, std::strerror(errno));
  payload_.reserve(kPackSize);
}

std::size_t VobSubWriter::packCapacity() const {
  return kPackSize - kPackHeader - kPesFixed - (firstPack_ ? kPtsBytes : 0) - 1;
}

void VobSubWriter::beginUnit(std::uint64_t pts) {
  const std::uint64_t budget = kGrowth * (streamBytes_ + kPackSize);
  full_ = full_ || subBytes_ + kPackSize > budget;
  if (full_) return;
  const Entry entry{pts, subBytes_};
  if (std::fwrite(&entry, sizeof entry, 1, entries_.get()) != 1) {
    throw StreamError("Stream write error", "Writing the index of " + idx_.path() + " failed");
  }
  pts_ = pts;
  firstPack_ = true;
  payload_.clear();
}

void VobSubWriter::write(const std::uint8_t* data, std::size_t size) {
  if (full_) return;
  streamBytes_ += size;
  while (size > 0) {
    if (payload_.size() == packCapacity()) emitPack();
    const std::size_t taken = std::min(size, packCapacity() - payload_.size());
    payload_.insert(payload_.end(), data, data + taken);
    data += taken;
    size -= taken;
  }
}

void VobSubWriter::endUnit() {
  if (!full_) emitPack();  // also for an empty unit: its index line needs a pack with its PTS
}

// One pack: a private-stream-1 packet with what was gathered; header stuffing or a
// padding packet fills the rest.
void VobSubWriter::emitPack() {
  std::array<std::uint8_t, kPackSize> pack{};
  putPackHeader(pack.data(), pts_);
  const std::size_t stamp = firstPack_ ? kPtsBytes : 0;
  const std::size_t rest = packCapacity() - payload_.size();
  const std::size_t stuffing = rest < kPaddingHeader ? rest : 0;
  const std::size_t length = 3 + stamp + stuffing + 1 + payload_.size();
  std::size_t at = kPackHeader;
  for (std::uint8_t byte :
       {std::uint8_t{0x00}, std::uint8_t{0x00}, std::uint8_t{0x01}, kPrivateStream1,
        static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length),
        std::uint8_t{0x81}, static_cast<std::uint8_t>(firstPack_ ? 0x80 : 0x00),
        static_cast<std::uint8_t>(stamp + stuffing)}) {
    pack[at++] = byte;
  }
  if (firstPack_) putPts(pack.data() + at, pts_);
  at += stamp;
  std::fill_n(pack.begin() + static_cast<std::ptrdiff_t>(at), stuffing, 0xFF);
  at += stuffing;
  pack[at++] = kSubStreamId;
  std::copy(payload_.begin(), payload_.end(), pack.begin() + static_cast<std::ptrdiff_t>(at));
  at += payload_.size();
  if (at < kPackSize) {
    const std::size_t body = kPackSize - at - kPaddingHeader;
    for (std::uint8_t byte :
         {std::uint8_t{0x00}, std::uint8_t{0x00}, std::uint8_t{0x01}, kPaddingStream,
          static_cast<std::uint8_t>(body >> 8), static_cast<std::uint8_t>(body)}) {
      pack[at++] = byte;
    }
    std::fill(pack.begin() + static_cast<std::ptrdiff_t>(at), pack.end(), 0xFF);
  }
  sub_.write(pack.data(), pack.size());
  subBytes_ += pack.size();
  payload_.clear();
  firstPack_ = false;
}

void VobSubWriter::writeText(const std::string& text) {
  idx_.write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// The header, then a line per unit, read back from the spool a block at a time.
void VobSubWriter::writeIndex() {
  std::string text = "# VobSub index file, v7 (do not modify this line!)\n";
  text += "size: " + std::to_string(frame_.width) + "x" + std::to_string(frame_.height) + "\n";
  text += "palette: " + paletteText(palette_) + "\n\n";
  text += "id: " + (language_.empty() ? std::string("und") : language_) + ", index: 0\n";
  writeText(text);
  std::rewind(entries_.get());
  std::vector<Entry> block(kEntriesRead);
  for (std::size_t got;
       (got = std::fread(block.data(), sizeof(Entry), block.size(), entries_.get())) > 0;) {
    text.clear();
    for (std::size_t n = 0; n < got; ++n) {
      char position[24];
      std::snprintf(position, sizeof position, "%09llx",
                    static_cast<unsigned long long>(block[n].filePosition));
      text +=
          "timestamp: " + timeText(origin_.ticksTo(block[n].pts)) + ", filepos: " + position + "\n";
    }
    writeText(text);
  }
  if (std::ferror(entries_.get())) {
    throw StreamError("Stream write error", "Reading back the index of " + idx_.path() + " failed");
  }
}

void VobSubWriter::close() {
  if (!indexed_) {
    indexed_ = true;
    writeIndex();
  }
  sub_.close();
  idx_.close();
}

}  // namespace tessaly
