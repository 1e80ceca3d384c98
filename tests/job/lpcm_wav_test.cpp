// LPCM as WAV: the samples of generated 16- and 24-bit, stereo and 5.1 LPCM streams against
// ffmpeg's decode of the same EVO file, byte for byte; the RF64 header of a file over 4 GiB.
#include <gtest/gtest.h>

#include "job/wav_writer.h"
#include "job_fixture.h"
#include "session/demux_click.h"
#include "support/child_process.h"

namespace tessaly {
namespace {

using testing::Bytes;
using tools::PsWriter;
using tools::Stream;

constexpr std::uint8_t kNoDynamicRange = 0x80;  // ffmpeg takes the stream as LPCM only so

std::uint32_t le32(const Bytes& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 |
         static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

std::uint64_t le64(const Bytes& b, std::size_t at) {
  return le32(b, at) | std::uint64_t{le32(b, at + 4)} << 32;
}

// The bytes of the chunk `id` of a RIFF file; fails when there is none.
Bytes chunk(const Bytes& wav, const std::string& id) {
  for (std::size_t at = 12; at + 8 <= wav.size();
       at += 8 + le32(wav, at + 4) + le32(wav, at + 4) % 2) {
    if (std::string(wav.begin() + static_cast<long>(at), wav.begin() + static_cast<long>(at) + 4) ==
        id) {
      const auto begin = wav.begin() + static_cast<long>(at) + 8;
      return {begin, begin + le32(wav, at + 4)};
    }
  }
  ADD_FAILURE() << "no " << id << " chunk";
  return {};
}

struct Case {
  std::uint8_t format;  // the second format byte: quantisation, rate, channels - 1
  const char* raw;      // ffmpeg's raw format of the samples
  int channels;
  int sampleRate;
};

class LpcmWavTest : public testing::JobTest, public ::testing::WithParamInterface<Case> {};

// Packs of pseudo-random samples, whose payloads end in the middle of sample blocks, then
// a last packet that leaves an incomplete block.
TEST_P(LpcmWavTest, SamplesAreWhatFfmpegDecodesFromTheEvoFile) {
  const Case c = GetParam();
  tools::MemorySink sink;
  PsWriter w(sink,
             {.seed = c.format, .audioBound = 1, .lpcmFormat = {0x00, c.format, kNoDynamicRange}});
  w.navPack();
  for (int n = 0; n < 40; ++n) w.pack(Stream::lpcm(0));
  w.pack(Stream::lpcm(0), 1001);
  testing::writeFile(in.file("FEATURE_1.EVO"), sink.bytes);

  s.Names = OutputNames::Codec;
  s.Lpcm = LpcmOutputs::Wav;
  tick(kAudioSlot, "LPCM.stream.00");
  choose("FEATURE_1.EVO");
  bDemuxClick(s);
  ASSERT_TRUE(logged("Creating " + out.file("FEATURE_1.LPCM.stream.00.wav")));
  expectAllClosed();

  const testing::TempDir logs;
  const auto decode = [&](const std::string& input, const std::string& into) {
    const auto run =
        testing::runChild(testing::program("ffmpeg"),
                          {"-v", "error", "-i", input, "-map", "0:a:0", "-f", c.raw, into}, logs);
    EXPECT_EQ(run.status, 0) << run.err;
    return testing::readFile(into);
  };
  const Bytes fromEvo = decode(in.file("FEATURE_1.EVO"), logs.file("evo.raw"));
  const Bytes wav = output("FEATURE_1.LPCM.stream.00.wav");
  ASSERT_GT(fromEvo.size(), 70'000u);
  EXPECT_TRUE(chunk(wav, "data") == fromEvo);
  // The header as ffmpeg reads it: the same samples again, at the stream's rate.
  EXPECT_TRUE(decode(out.file("FEATURE_1.LPCM.stream.00.wav"), logs.file("wav.raw")) == fromEvo);
  const auto probe =
      testing::runChild(testing::program("ffprobe"),
                        {"-v", "error", "-show_entries", "stream=sample_rate,channels", "-of",
                         "csv=p=0", out.file("FEATURE_1.LPCM.stream.00.wav")},
                        logs);
  EXPECT_EQ(probe.out, std::to_string(c.sampleRate) + "," + std::to_string(c.channels) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Formats, LpcmWavTest,
                         ::testing::Values(Case{0x01, "s16le", 2, 48000},    // 16 bits, 48 kHz
                                           Case{0x95, "s24le", 6, 96000},    // 24 bits, 96 kHz
                                           Case{0x05, "s16le", 6, 48000},    // 16 bits, 5.1
                                           Case{0xA1, "s24le", 2, 44100}));  // 24 bits, 44.1 kHz

// Past 4 GiB the header turns RF64: the sizes move to the ds64 chunk, where ffprobe
// finds the duration they give.
TEST(WavHeaderTest, AFileOverFourGibibytesIsRf64WithItsSizesInTheDs64Chunk) {
  const LpcmFormat format{24, 48000, 6};
  const std::uint64_t data = 18ull * 300'000'000;  // 5.4 GB: 6,250 s of 6 x 3 bytes at 48 kHz
  const Bytes header = wavHeader(format, data);
  ASSERT_EQ(std::string(header.begin(), header.begin() + 4), "RF64");
  EXPECT_EQ(le32(header, 4), 0xFFFFFFFFu);
  EXPECT_EQ(std::string(header.begin() + 12, header.begin() + 16), "ds64");
  EXPECT_EQ(le64(header, 20), header.size() - 8 + data);
  EXPECT_EQ(le64(header, 28), data);
  EXPECT_EQ(le64(header, 36), data / 18);
  EXPECT_EQ(le32(header, header.size() - 4), 0xFFFFFFFFu);

  const testing::TempDir dir;
  Bytes file = header;
  file.resize(file.size() + 18 * 4800);  // a tenth of a second of the samples
  testing::writeFile(dir.file("big.wav"), file);
  const auto probe = testing::runChild(
      testing::program("ffprobe"),
      {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", dir.file("big.wav")},
      dir);
  EXPECT_EQ(probe.out, "6250.000000\n");
  // Below 4 GiB the same room is a JUNK chunk and the sizes are the RIFF ones.
  const Bytes small = wavHeader(format, 1000);
  EXPECT_EQ(std::string(small.begin(), small.begin() + 4), "RIFF");
  EXPECT_EQ(le32(small, 4), small.size() - 8 + 1000);
  EXPECT_EQ(std::string(small.begin() + 12, small.begin() + 16), "JUNK");
}

}  // namespace
}  // namespace tessaly
