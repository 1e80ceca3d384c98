// DVD-style program streams made by ffmpeg's -f dvd and -f vob muxers: AC-3 (0x80) and
// LPCM (0xA0) share audio number 0 beside MPEG audio (0xC0) and MPEG-2 video. Demuxed for
// other tools, each coding and the MPEG audio stream has an output of its own, byte for
// byte ffmpeg's own extraction of that stream (LPCM: its samples), and the Matroska file
// holds every stream and decodes without an error, also when the second segment lacks one.
#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace tessaly::cli {
namespace {

// Two seconds of test picture and tones, written by ffmpeg's `muxer`: MPEG-2 video, AC-3,
// then each of `audio` ("pcm_s16be", "mp2"); ffmpeg's muxer warnings are not ours.
void writeProgramStream(const std::string& path, const std::string& muxer,
                        const std::vector<std::string>& audio) {
  std::string inputs = "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=f=440:r=48000";
  std::string maps = "-map 0 -map 1";
  std::string codecs = "-c:v mpeg2video -c:a:0 ac3";
  for (std::size_t n = 0; n < audio.size(); ++n) {
    const std::string input = std::to_string(n + 2);
    inputs += " -f lavfi -i sine=f=" + std::to_string(660 + 220 * n) + ":r=48000";
    maps += " -map " + input;
    codecs += " -c:a:" + std::to_string(n + 1) + " " + audio[n];
  }
  commandOutput("ffmpeg -v quiet -y " + inputs + " -t 2 " + maps + " " + codecs + " -ac 2 -f " +
                muxer + " '" + path + "'");
}

// What ffmpeg -v error says while it decodes every stream of `film`: nothing, when clean.
std::string decodingErrors(const std::string& film) {
  return commandOutput("ffmpeg -v error -i '" + film + "' -f null - 2>&1");
}

// The codecs of a Matroska file's tracks as mkvmerge -J names them, sorted.
std::vector<std::string> trackCodecs(const std::string& film) {
  const auto identified = nlohmann::json::parse(commandOutput("mkvmerge -J '" + film + "'"));
  std::vector<std::string> codecs;
  for (const auto& track : identified.at("tracks")) codecs.push_back(track.at("codec"));
  std::sort(codecs.begin(), codecs.end());
  return codecs;
}

class DvdProgramStreamTest : public CliRunTest, public ::testing::WithParamInterface<const char*> {
 protected:
  std::string makeProgramStream() {
    const std::string vob = in.file("MOVIE.VOB");
    writeProgramStream(vob, GetParam(), {"pcm_s16be", "mp2"});
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
  EXPECT_EQ(decodingErrors(film), "");
  EXPECT_EQ(trackCodecs(film), (std::vector<std::string>{"AC-3", "MP2", "MPEG-1/2", "PCM"}));
}

INSTANTIATE_TEST_SUITE_P(Muxers, DvdProgramStreamTest, ::testing::Values("dvd", "vob"));

// The second segment lacks the LPCM stream of the first: its WAV keeps the first segment's
// format and the film still holds it.
TEST_F(CliRunTest, AStreamTheSecondSegmentLacksIsStillInTheFilm) {
  writeProgramStream(in.file("FEATURE_1.EVO"), "vob", {"pcm_s16be"});
  writeProgramStream(in.file("FEATURE_2.EVO"), "vob", {});
  const std::string film = out.file("film.mkv");
  const Outcome result =
      run({"demux", in.file("FEATURE_1.EVO"), "--mkv", film, "--out", out.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Continue on FEATURE_2.EVO"), std::string::npos) << result.out;
  EXPECT_EQ(decodingErrors(film), "");
  EXPECT_EQ(trackCodecs(film), (std::vector<std::string>{"AC-3", "MPEG-1/2", "PCM"}));
}

}  // namespace
}  // namespace tessaly::cli
