// Breaks and clip joins end to end through `tessaly-cli title --mkv`, on a disc the test
// builds: a title of two clips, real MPEG-2 video and ffmpeg's E-AC-3 and AC-3. Clip 1's
// DD+ has a gap and an overlap; clip 2's time stamps start again, its DD+ 64 ms after its
// video and with a gap of its own, its AC-3 40 ms before its video (over the end of clip
// 1's). The film read back by ffprobe
// has every audio packet within 1 ms of its time on the title, and each break is said on
// the title's time line. `demux FEATURE_1.EVO --mkv`, going on with FEATURE_2, makes the
// same film of the same two segments.
#include <gtest/gtest.h>

#include <filesystem>

#include "disc_audio.h"
#include "support/child_process.h"
#include "timing_harness.h"

namespace tessaly::testing {
namespace {

using tools::Stream;

constexpr int kPictures1 = 255;               // clip 1: 8.5085 s, 510 counts of the title clock
constexpr int kPictures2 = 120;               // clip 2: 4.004 s
constexpr std::uint64_t kSecondZero = 90000;  // clip 2's video starts again at one second
constexpr std::int64_t kClip2 = 8508 * kMs + kMs / 2;  // where clip 2 begins on the title

// The title: both clips, DD+ as stream 1 and AC-3 as stream 2 of each.
constexpr const char* kPlaylist =
    R"(<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist" majorVersion="1" minorVersion="0">
  <MediaAttributeList>
    <VideoAttributeItem index="1" codec="MPEG-2"/>
    <AudioAttributeItem index="1" codec="DD+" channels="6"/>
    <AudioAttributeItem index="2" codec="AC-3" channels="2"/>
  </MediaAttributeList>
  <TitleSet timeBase="60fps" defaultLanguage="en">
    <Title id="Feature" titleNumber="1" displayName="Feature" titleDuration="00:00:12:30">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_1.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:00:08:30" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:01"/>
        <Audio track="2" streamNumber="2" mediaAttr="2" langcode="en:01"/>
      </PrimaryAudioVideoClip>
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_2.MAP" titleTimeBegin="00:00:08:30" titleTimeEnd="00:00:12:30" seamless="false" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:01"/>
        <Audio track="2" streamNumber="2" mediaAttr="2" langcode="en:01"/>
      </PrimaryAudioVideoClip>
    </Title>
  </TitleSet>
</Playlist>
)";

// A file that is its magic word and zeros, as the disc needs it.
void writeMagic(const std::string& path, const std::string& magic) {
  Bytes bytes(2048, 0);
  std::copy(magic.begin(), magic.end(), bytes.begin());
  writeFile(path, bytes);
}

// The units of both clips on the title's time line, the second's bytes after the first's.
std::vector<Unit> onTitle(const DiscStream& first, const DiscStream& second) {
  std::vector<Unit> units = first.units;
  for (Unit u : second.units) {
    u.offset += first.clip->bytes.size();
    u.time += kClip2;
    units.push_back(u);
  }
  return units;
}

// "H:MM:SS.mmm" of whole milliseconds.
std::string clock(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "0:%02lld:%02lld.%03lld", static_cast<long long>(ms / 60000),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return text;
}

// The warning of the break of `units` at unit `n`: a gap, or an overlap that leaves out the
// frames that play already.
std::string warningAt(const std::string& stream, const std::vector<Unit>& units, std::size_t n) {
  const Unit& last = units[n - 1];
  const std::int64_t at = unitsToMs(last.time + last.duration);
  const std::int64_t jump = unitsToMs(units[n].time - last.time - last.duration);
  const std::string head = "Warning: audio stream " + stream + " has ";
  if (jump > 0) {
    return head + "a gap of " + std::to_string(jump) + " ms at " + clock(at) +
           "; the Matroska file keeps it.";
  }
  std::size_t dropped = 0;
  while (units[n + dropped].time < last.time + last.duration - last.duration / 2) ++dropped;
  return head + "an overlap of " + std::to_string(-jump) + " ms at " + clock(at) + "; " +
         std::to_string(dropped) + (dropped == 1 ? " frame" : " frames") + " left out.";
}

class TitleBreaksTest : public ::testing::Test {
 protected:
  // `verb` with --mkv FILM into a folder of its own: the warnings it printed.
  std::vector<std::string> run(std::vector<std::string> args, const std::string& film) {
    args.insert(args.end(), {"--out", dir.file("out-" + film), "--mkv", dir.file(film)});
    const ChildRun run = runChild(TESSALY_CLI, args, dir);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    std::vector<std::string> warnings;
    for (const std::string& line : lines(run.out)) {
      if (line.starts_with("Warning:")) warnings.push_back(line);
    }
    return warnings;
  }
  // Each track's packets at their times on the title; the video ends with the title.
  void expectFilm(const std::string& film, const std::vector<std::vector<Unit>>& tracks) {
    SCOPED_TRACE(film);
    for (std::size_t n = 0; n < tracks.size(); ++n) {
      SCOPED_TRACE("audio track " + std::to_string(n));
      expectPlayedAt(probePackets(dir.file(film), dir, "a:" + std::to_string(n)),
                     playedSeconds(tracks[n]));
    }
    const std::vector<MkvPacket> video = probePackets(dir.file(film), dir, "v:0");
    ASSERT_EQ(video.size(), std::size_t{kPictures1 + kPictures2});
    EXPECT_NEAR(video.back().seconds + video.back().duration, 12.5125, 0.001);
  }

  TempDir dir;
};

TEST_F(TitleBreaksTest, EveryFrameOfBothClipsPlaysAtItsTimeOnTheTitle) {
  const std::string disc = dir.file("disc/");
  std::filesystem::create_directories(disc + "HVDVD_TS");
  std::filesystem::create_directories(disc + "ADV_OBJ");
  writeMagic(disc + "HVDVD_TS/HVA00001.VTI", "ADVANCED-VTS");
  writeFile(disc + "ADV_OBJ/VPLST000.XPL", std::string(kPlaylist));

  const Clip ddPlus1 = encodeClip("eac3", "eac3", 6, 7.8, dir);
  const Clip ac3First = encodeClip("ac3", "ac3", 2, 8.5, dir);
  const Clip ddPlus2 = encodeClip("eac3", "eac3", 6, 3.9, dir);
  const Clip ac3Second = encodeClip("ac3", "ac3", 2, 4, dir);
  // Clip 1: the DD+ with a gap and an overlap; the AC-3 from the video on.
  std::vector<DiscStream> clip1{{Stream::ddPlus(0), &ddPlus1, packetUnits(ddPlus1)},
                                {Stream::dd(1), &ac3First, packetUnits(ac3First)}};
  placeOnDisc(clip1[0].units);
  placeOnDisc(clip1[1].units, 0, false);
  std::vector<DiscStream> clip2{{Stream::ddPlus(0), &ddPlus2, packetUnits(ddPlus2)},
                                {Stream::dd(1), &ac3Second, packetUnits(ac3Second)}};
  placeOnDisc(clip2[0].units, 64 * kMs, false);
  // A gap of 200 ms inside clip 2's DD+ too, at the first stamped unit 2 s into it.
  std::vector<Unit>& second = clip2[0].units;
  std::size_t gap = 1;
  while (second[gap].time < 2000 * kMs ||
         second[gap].offset / kPiece == second[gap - 1].offset / kPiece) {
    ++gap;
  }
  for (std::size_t n = gap; n < second.size(); ++n) second[n].time += 200 * kMs;
  placeOnDisc(clip2[1].units, -40 * kMs, false);
  writeFilmEvo(encodeVideo(kPictures1, dir), clip1, disc + "HVDVD_TS/FEATURE_1.EVO", kVideoZero);
  writeFilmEvo(encodeVideo(kPictures2, dir), clip2, disc + "HVDVD_TS/FEATURE_2.EVO", kSecondZero);
  writeMagic(disc + "HVDVD_TS/FEATURE_1.MAP", "HDDVD_TMAP00");
  writeMagic(disc + "HVDVD_TS/FEATURE_2.MAP", "HDDVD_TMAP00");

  const std::vector<std::vector<Unit>> tracks{onTitle(clip1[0], clip2[0]),
                                              onTitle(clip1[1], clip2[1])};
  const std::vector<std::string> warnings{
      "Warning: audio stream 0 (DD+) has a gap of 480 ms at 0:00:04.000; the Matroska file "
      "keeps it.",
      "Warning: audio stream 0 (DD+) has an overlap of 100 ms at 0:00:06.752; 3 frames left out.",
      warningAt("0 (DD+)", tracks[0], clip1[0].units.size()),
      warningAt("0 (DD+)", tracks[0], clip1[0].units.size() + gap),
      warningAt("1 (DD)", tracks[1], clip1[1].units.size())};
  EXPECT_EQ(run({"title", disc, "1"}, "title.mkv"), warnings);
  expectFilm("title.mkv", tracks);
  EXPECT_EQ(run({"demux", disc + "HVDVD_TS/FEATURE_1.EVO"}, "demux.mkv"), warnings);
  expectFilm("demux.mkv", tracks);
}

}  // namespace
}  // namespace tessaly::testing
