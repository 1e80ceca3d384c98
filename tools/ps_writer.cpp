#include "tools/ps_writer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace tessaly::tools {
namespace {

constexpr std::uint8_t kPackStart = 0xBA;
constexpr std::uint8_t kSystemStart = 0xBB;
constexpr std::uint8_t kPadding = 0xBE;
constexpr std::uint8_t kPrivate2 = 0xBF;  // navigation data: PCI and DSI
constexpr std::uint8_t kExtended = 0xFD;
constexpr std::uint32_t kMuxRate = 75600;  // 30.24 Mbit/s in units of 50 bytes/s
constexpr std::size_t kPackHeader = 14;
constexpr std::size_t kPesPrefix = 6;   // start code and length
constexpr std::size_t kFixedBytes = 3;  // flags, flags, header data length
constexpr std::size_t kPciBody = 980;
constexpr std::uint64_t kFrameTicks = 3003;  // one 29.97 Hz frame at 90 kHz

void putStart(std::vector<std::uint8_t>& out, std::uint8_t id) {
  out.insert(out.end(), {0x00, 0x00, 0x01, id});
}

void putLength(std::vector<std::uint8_t>& out, std::size_t length) {
  out.push_back(static_cast<std::uint8_t>(length >> 8));
  out.push_back(static_cast<std::uint8_t>(length));
}

// A 33-bit time stamp in five bytes with its marker bits; `prefix` is the top nibble.
void putTimestamp(std::vector<std::uint8_t>& out, std::uint8_t prefix, std::uint64_t t) {
  out.push_back(static_cast<std::uint8_t>((prefix << 4) | ((t >> 29) & 0x0E) | 1));
  out.push_back(static_cast<std::uint8_t>(t >> 22));
  out.push_back(static_cast<std::uint8_t>(((t >> 14) & 0xFE) | 1));
  out.push_back(static_cast<std::uint8_t>(t >> 7));
  out.push_back(static_cast<std::uint8_t>(((t << 1) & 0xFE) | 1));
}

// The PTS a packet with these fields gets: the given time, or a frame after the clock.
std::uint64_t ptsOf(const PesFields& f, std::uint64_t clock) {
  return f.time >= 0 ? static_cast<std::uint64_t>(f.time) : clock + kFrameTicks;
}

bool isVideoId(std::uint8_t id) {
  return (id >= 0xE0 && id <= 0xEF) || id == kExtended;
}

bool hasExt2(const Stream& s, const PesFields& f) {
  return s.id == kExtended && f.ext2;
}

// The header data after the three fixed bytes: time stamps, PES extension, stuffing.
std::vector<std::uint8_t> headerData(const Stream& s, const PesFields& f, std::uint64_t clock) {
  if (f.dts && !f.pts) throw std::invalid_argument("a DTS needs a PTS");
  if (f.pstd && !isVideoId(s.id)) throw std::invalid_argument("P-STD on a non-video stream");
  std::vector<std::uint8_t> out;
  if (f.pts) putTimestamp(out, f.dts ? 0x3 : 0x2, ptsOf(f, clock));
  if (f.dts) putTimestamp(out, 0x1, f.time >= 0 ? static_cast<std::uint64_t>(f.time) : clock);
  if (f.pstd || hasExt2(s, f)) {
    // Reserved bits 111 always set; P-STD buffer flag 0x10, extension flag 2 0x01.
    out.push_back(static_cast<std::uint8_t>(0x0E | (f.pstd ? 0x10 : 0) | (hasExt2(s, f) ? 1 : 0)));
  }
  if (f.pstd) out.insert(out.end(), {0x60, 0xE8});  // '01', scale 1, 232 KiB
  if (hasExt2(s, f)) out.insert(out.end(), {0x81, static_cast<std::uint8_t>(s.subId & 0x7F)});
  out.insert(out.end(), f.stuffing, 0xFF);
  return out;
}

// '10' marker, the scrambling control in bits 5..4, original in bit 0.
std::uint8_t firstFixedByte(const PesFields& f) {
  if (f.scrambling > 3) throw std::invalid_argument("scrambling control is two bits");
  return static_cast<std::uint8_t>(0x81 | (f.scrambling << 4));
}

std::uint8_t pesFlags(const Stream& s, const PesFields& f) {
  const int stamps = f.pts ? (f.dts ? 0xC0 : 0x80) : 0;
  return static_cast<std::uint8_t>(stamps | ((f.pstd || hasExt2(s, f)) ? 1 : 0));
}

}  // namespace

PsWriter::PsWriter(ByteSink& sink, WriterOptions options)
    : sink_(sink), options_(options), random_(options.seed) {}

std::uint64_t PsWriter::next() {
  // splitmix64: fast, and the same sequence for the same seed everywhere.
  std::uint64_t z = (random_ += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

void PsWriter::emit(const std::vector<std::uint8_t>& bytes) {
  sink_.put(bytes.data(), bytes.size());
  size_ += bytes.size();
}

void PsWriter::packHeader() {
  const std::uint64_t scr = clock_;
  std::vector<std::uint8_t> out;
  putStart(out, kPackStart);
  out.push_back(static_cast<std::uint8_t>(0x44 | ((scr >> 27) & 0x38) | ((scr >> 28) & 0x03)));
  out.push_back(static_cast<std::uint8_t>(scr >> 20));
  out.push_back(static_cast<std::uint8_t>(((scr >> 12) & 0xF8) | 0x04 | ((scr >> 13) & 0x03)));
  out.push_back(static_cast<std::uint8_t>(scr >> 5));
  out.push_back(static_cast<std::uint8_t>(((scr << 3) & 0xF8) | 0x04));
  out.push_back(0x01);  // SCR extension 0 and marker
  out.push_back(static_cast<std::uint8_t>(kMuxRate >> 14));
  out.push_back(static_cast<std::uint8_t>(kMuxRate >> 6));
  out.push_back(static_cast<std::uint8_t>(((kMuxRate << 2) & 0xFC) | 0x03));
  out.push_back(0xF8);  // reserved bits, no pack stuffing
  emit(out);
  clock_ += 60;
}

void PsWriter::systemHeader() {
  std::vector<std::uint8_t> out;
  putStart(out, kSystemStart);
  putLength(out, 15);
  out.push_back(static_cast<std::uint8_t>(0x80 | (kMuxRate >> 15)));  // rate bound
  out.push_back(static_cast<std::uint8_t>(kMuxRate >> 7));
  out.push_back(static_cast<std::uint8_t>(((kMuxRate & 0x7F) << 1) | 1));
  out.push_back(static_cast<std::uint8_t>(options_.audioBound << 2));  // no fixed, no CSPS
  out.push_back(static_cast<std::uint8_t>(0xE0 | (options_.videoBound & 0x1F)));  // locks
  out.push_back(0xFF);  // packet rate restriction, reserved
  // Buffer bounds: private stream 1, private stream 2, extended stream ids.
  out.insert(out.end(), {0xBD, 0xC0, 0x3A, kPrivate2, 0xE0, 0x02, kExtended, 0xE0, 0xE8});
  emit(out);
}

void PsWriter::skippedPacket(std::uint8_t id, std::vector<std::uint8_t> body) {
  if (options_.startCodesInPayload && body.size() >= 4) {
    const std::uint8_t code[] = {0x00, 0x00, 0x01, 0xE0};
    std::memcpy(body.data() + next() % (body.size() - 3), code, sizeof code);
  }
  std::vector<std::uint8_t> out;
  putStart(out, id);
  putLength(out, body.size());
  out.insert(out.end(), body.begin(), body.end());
  emit(out);
}

void PsWriter::navPack() {
  packHeader();
  systemHeader();
  const std::size_t rest = kPackSize - kPackHeader - 21 - 2 * kPesPrefix;
  std::vector<std::uint8_t> pci(kPciBody, 0x00);  // sub-stream 0x00, zero data
  std::vector<std::uint8_t> dsi(rest - kPciBody, 0x00);
  dsi[0] = 0x01;  // sub-stream 0x01
  skippedPacket(kPrivate2, std::move(pci));
  skippedPacket(kPrivate2, std::move(dsi));
}

void PsWriter::padding(std::size_t body) {
  skippedPacket(kPadding, std::vector<std::uint8_t>(body, 0xFF));
}

std::size_t PsWriter::packCapacity(const Stream& stream, const PesFields& fields) {
  const std::size_t used = kPackHeader + kPesPrefix + kFixedBytes +
                           headerData(stream, fields, 0).size() + subHeaderSize(stream);
  return used > kPackSize ? 0 : kPackSize - used;
}

void PsWriter::pack(const Stream& stream, std::size_t payload, const PesFields& fields) {
  const std::size_t capacity = packCapacity(stream, fields);
  if (payload == kFill) payload = capacity;
  if (payload > capacity) throw std::invalid_argument("payload does not fit in one pack");
  fillPayload(payload);
  packPayload(stream, fields);
}

std::size_t PsWriter::pack(const Stream& stream, std::span<const std::uint8_t> payload,
                           const PesFields& fields) {
  const std::size_t taken = std::min(payload.size(), packCapacity(stream, fields));
  payload_.assign(payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(taken));
  packPayload(stream, fields);
  return taken;
}

void PsWriter::packs(const Stream& stream, std::span<const std::uint8_t> payload,
                     std::uint64_t pts) {
  std::size_t at = pack(stream, payload, {.time = static_cast<std::int64_t>(pts)});
  while (at < payload.size()) at += pack(stream, payload.subspan(at), {.pts = false});
}

// A pack around payload_: header stuffing or a padding packet fill what it leaves.
void PsWriter::packPayload(const Stream& stream, const PesFields& fields) {
  const std::size_t rest = packCapacity(stream, fields) - payload_.size();
  PesFields filled = fields;
  if (rest < kPesPrefix) filled.stuffing = static_cast<std::uint8_t>(filled.stuffing + rest);
  packHeader();
  emitPacket(stream, filled);
  if (rest >= kPesPrefix) padding(rest - kPesPrefix);
}

void PsWriter::subHeader(const Stream& stream, std::vector<std::uint8_t>& out) const {
  const std::size_t size = subHeaderSize(stream);
  if (size == 0) return;
  out.push_back(stream.subId);
  if (size == 1) return;
  out.insert(out.end(), {0x01, 0x00, 0x05});  // frame count, first access unit pointer
  if (size == 7) out.insert(out.end(), options_.lpcmFormat.begin(), options_.lpcmFormat.end());
  if (size == 5) out.push_back(0x00);  // MLP byte
}

void PsWriter::packet(const Stream& stream, std::size_t payload, const PesFields& fields) {
  fillPayload(payload);
  emitPacket(stream, fields);
}

// A PES packet around payload_.
void PsWriter::emitPacket(const Stream& stream, const PesFields& fields) {
  const auto data = headerData(stream, fields, clock_);
  if (fields.pts) lastPts_ = ptsOf(fields, clock_);
  std::vector<std::uint8_t> out;
  putStart(out, stream.id);
  const std::size_t start = out.size() + 2;
  out.insert(out.end(), 2, 0);  // length, set below
  out.insert(out.end(), {firstFixedByte(fields), pesFlags(stream, fields),
                         static_cast<std::uint8_t>(data.size())});
  out.insert(out.end(), data.begin(), data.end());
  subHeader(stream, out);
  const std::size_t length = out.size() - start + payload_.size();
  if (length > 0xFFFF) throw std::invalid_argument("PES packet longer than 65535 bytes");
  out[start - 2] = static_cast<std::uint8_t>(length >> 8);
  out[start - 1] = static_cast<std::uint8_t>(length);
  emit(out);
  record(stream, hasExt2(stream, fields));
  sink_.put(payload_.data(), payload_.size());
  size_ += payload_.size();
  clock_ += kFrameTicks;
}

void PsWriter::fillPayload(std::size_t size) {
  payload_.resize(size);
  for (std::size_t at = 0; at < size; at += 8) {
    const std::uint64_t word = next();
    std::memcpy(payload_.data() + at, &word, std::min<std::size_t>(8, size - at));
  }
  if (options_.startCodesInPayload && size >= 4) {
    const std::uint8_t code[] = {0x00, 0x00, 0x01, 0xE0};
    std::memcpy(payload_.data() + next() % (size - 3), code, sizeof code);
  }
}

void PsWriter::record(const Stream& stream, bool ext2) {
  const int slot = model_.slotOf(stream, ext2);
  if (slot == 0) return;
  Expected& entry = expected_[slot];
  if (entry.value == -1) entry.value = SlotModel::valueOf(stream, ext2);
  entry.digest.add(payload_.data(), payload_.size());
  if (options_.keepPayload) entry.bytes.insert(entry.bytes.end(), payload_.begin(), payload_.end());
}

void PsWriter::garbage(std::size_t count) {
  std::vector<std::uint8_t> out(count);
  for (auto& byte : out) byte = static_cast<std::uint8_t>(1 + next() % 255);  // never 0
  emit(out);
}

void PsWriter::raw(const std::vector<std::uint8_t>& bytes) {
  emit(bytes);
}

const Expected& PsWriter::expected(int slot) const {
  static const Expected none;
  const auto found = expected_.find(slot);
  return found == expected_.end() ? none : found->second;
}

}  // namespace tessaly::tools
