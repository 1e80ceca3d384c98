// DVD-style program streams made by ffmpeg's -f dvd and -f vob muxers: AC-3 (0x80) and
// LPCM (0xA0) share audio number 0 beside MPEG audio (0xC0) and MPEG-2 video. Demuxed for
// other tools, each coding and the MPEG audio stream has an output of its own, byte for
// byte ffmpeg's own extraction of that stream (LPCM: its samples), and the Matroska file
// holds every stream and decodes without an error.
#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace tessaly::cli {
namespace {

class DvdProgramStreamTest : public CliRunTest, public ::testing::WithParamInterface<const char*> {
 protected:
  // Two seconds of test picture and three tones; ffmpeg's muxer warnings are not ours.
  std::string makeProgramStream() {
    const std::string vob = in.file("MOVIE.VOB");
    commandOutput(
        "ffmpeg -v quiet -y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
        "sine=f=440:r=48000 -f lavfi -i sine=f=660:r=48000 -f lavfi -i sine=f=880:r=48000 -t 2 "
        "-map 0 -map 1 -map 2 -map 3 -c:v mpeg2video -c:a:0 ac3 -c:a:1 pcm_s16be -c:a:2 mp2 "
        "-ac 2 -f " +
        std::string(GetParam()) + " '" + vob + "'");
    return vob;
  }
  // ffmpeg's extraction of stream `map` of `vob` in `format` (copied, or decoded for LPCM).
  static std::string extracted(const std::string& vob, const std::string& map,
                               const std::string& codec, const std::string& format) {
    return commandOutput("ffmpeg -v quiet -i '" + vob + "' -map " + map + " " + codec + " -f " +
                         format + " -");
  }
  std::string output(const std::string& name) const {
    const Bytes bytes = testing::readFile(out.file(name));
    return {bytes.begin(), bytes.end()};
  }
};

TEST_P(DvdProgramStreamTest, EachCodingOfANumberIsAnOutputAsFfmpegExtractsIt) {
  const std::string vob = makeProgramStream();
  const Outcome result = run({"demux", vob, "--names", "codec", "--out", out.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string ac3 = output("MOVIE.DD.stream.00.ac3");
  EXPECT_FALSE(ac3.empty());
  EXPECT_EQ(ac3, extracted(vob, "0:a:0", "-c copy", "ac3"));
  const std::string samples = output("MOVIE.LPCM.stream.00.pcm");
  EXPECT_FALSE(samples.empty());
  EXPECT_EQ(samples, extracted(vob, "0:a:1", "", "s16be"));
  EXPECT_EQ(output("MOVIE.MPA.stream.00.mpa"), extracted(vob, "0:a:2", "-c copy", "mp2"));
  EXPECT_EQ(output("MOVIE.MPEG-2.stream.0.m2v"), extracted(vob, "0:v:0", "-c copy", "mpeg2video"));
  // Each has its own output: the streams share none.
  EXPECT_EQ(result.out.find("share"), std::string::npos) << result.out;
}

TEST_P(DvdProgramStreamTest, TheFilmHoldsEveryStreamAndDecodesWithoutAnError) {
  const std::string vob = makeProgramStream();
  const std::string film = out.file("film.mkv");
  const Outcome result = run({"demux", vob, "--mkv", film, "--out", out.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(commandOutput("ffmpeg -v error -i '" + film + "' -f null - 2>&1"), "");
  const auto identified = nlohmann::json::parse(commandOutput("mkvmerge -J '" + film + "'"));
  std::vector<std::string> codecs;
  for (const auto& track : identified.at("tracks")) codecs.push_back(track.at("codec"));
  EXPECT_EQ(codecs.size(), 4u) << identified.dump();
  std::sort(codecs.begin(), codecs.end());
  EXPECT_EQ(codecs, (std::vector<std::string>{"AC-3", "MP2", "MPEG-1/2", "PCM"}))
      << identified.dump();
}

INSTANTIATE_TEST_SUITE_P(Muxers, DvdProgramStreamTest, ::testing::Values("dvd", "vob"));

}  // namespace
}  // namespace tessaly::cli
