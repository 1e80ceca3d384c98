// tessaly-cli title on the sample disc: the feature's clips in title order, each track fed
// from the stream its clip maps it to (the warning card carries the English track as its
// second stream), checked byte for byte against what the disc generator put in; and the
// faults found before anything is written.
#include "cli_run.h"
#include "support/file_size_limit.h"

namespace tessaly::cli {
namespace {

class TitleCliTest : public CliRunTest {
 protected:
  static void SetUpTestSuite() {
    sample = std::make_unique<testing::TempDir>();
    commandOutput("'" TESSALY_SAMPLE_DISC "' '" + sample->file("disc") + "' --expected '" +
                  sample->file("expected") + "' >/dev/null");
  }
  static void TearDownTestSuite() { sample.reset(); }
  static std::string disc() { return sample->file("disc"); }
  static Bytes expected(const std::vector<std::string>& parts) {
    Bytes bytes;
    for (const std::string& part : parts)
      bytes = joined(bytes, testing::readFile(sample->file("expected/" + part)));
    return bytes;
  }
  std::vector<std::string> made() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(out.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  static std::unique_ptr<testing::TempDir> sample;
};

std::unique_ptr<testing::TempDir> TitleCliTest::sample;

// A full disk while the last clip is appended: no track of the title is whole, so each
// goes, said in its line, and the run ends on the error.
TEST_F(TitleCliTest, AFullDiskRemovesEveryUnfinishedTrack) {
  const auto video = fs::file_size(sample->file("expected/FEATURE_1.MPEG-2.stream.0.mpv"));
  Outcome result;
  {
    const testing::FileSizeLimit full(video + 200000);
    result = run({"title", disc(), "--out", out.path()});
  }
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(made(), std::vector<std::string>{});
  const std::vector<std::string> logged = lines(result.out);
  const auto removed = std::count_if(logged.begin(), logged.end(), [](const std::string& line) {
    return line.starts_with("Removed the unfinished ") &&
           line.find("Tessaly The Feature.") != std::string::npos;
  });
  EXPECT_EQ(removed, 7);
  EXPECT_EQ(lines(result.err).back(), "tessaly-cli: Stream write error");
}

TEST_F(TitleCliTest, TheMainFeatureGoesTrackByTrackThroughItsClips) {
  const Outcome result = run({"title", disc(), "--out", out.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string base = out.file("Tessaly The Feature.");
  EXPECT_EQ(made(),
            (std::vector<std::string>{
                "Tessaly The Feature.audio1.eng.DD+.eac3", "Tessaly The Feature.audio2.eng.MLP.thd",
                "Tessaly The Feature.audio3.ger.DD+.eac3",
                "Tessaly The Feature.subtitle1.eng.8bitRLC.sup",
                "Tessaly The Feature.subtitle2.fre.8bitRLC.sup",
                "Tessaly The Feature.subtitle3.fre.8bitRLC.sup", "Tessaly The Feature.video.m2v"}));
  // FEATURE_1 and FEATURE_2 as one demux continues them, then WARNING's stream of the track.
  EXPECT_EQ(testing::readFile(base + "audio1.eng.DD+.eac3"),
            expected({"FEATURE_1.DD+.stream.00.mpa", "WARNING.DD+.stream.01.mpa"}));
  EXPECT_EQ(testing::readFile(base + "audio3.ger.DD+.eac3"),
            expected({"FEATURE_1.DD+.stream.02.mpa"}));
  EXPECT_EQ(testing::readFile(base + "video.m2v"),
            expected({"FEATURE_1.MPEG-2.stream.0.mpv", "WARNING.MPEG-2.stream.0.mpv"}));
  EXPECT_EQ(testing::readFile(base + "subtitle3.fre.8bitRLC.sup"),
            expected({"FEATURE_1.Subpicture.02.sup"}));
}

TEST_F(TitleCliTest, ATitleByNumberFromTheBootPlaylist) {
  const Outcome result = run({"title", disc(), "1", "--out", out.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(testing::readFile(out.file("Studio Logo.audio1.eng.DD+.eac3")),
            expected({"STUDIO_LOGO.DD+.stream.00.mpa"}));
}

TEST_F(TitleCliTest, AMissingEvoOrATitleWithoutClipsFailsBeforeAnythingIsWritten) {
  fs::copy(disc(), in.file("disc"), fs::copy_options::recursive);
  fs::remove(in.file("disc/HVDVD_TS/WARNING.EVO"));
  const std::vector<std::pair<std::vector<std::string>, std::string>> faults{
      // Without its last EVO the feature is no longer the main feature: asked for by number.
      {{"title", in.file("disc"), "2"}, "Clip 3 of title 2 (WARNING.MAP) has no EVO"},
      {{"title", disc(), "1", "--playlist", "VPLST001.XPL"}, "The title 1 has no clips"},
      {{"title", disc(), "9"}, "VPLST000.XPL has no title 9"}};
  for (const auto& [args, message] : faults) {
    std::vector<std::string> command = args;
    command.insert(command.end(), {"--out", out.path()});
    const Outcome result = run(command);
    EXPECT_EQ(result.status, 1) << message;
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    EXPECT_EQ(made(), std::vector<std::string>{}) << message;
  }
}

// A clip whose playlist maps two codings to one stream number: AC-3 0x80 and LPCM 0xA0 are
// both number 0, and each feeds its own track.
class SharedNumberTitleTest : public CliRunTest {};

TEST_F(SharedNumberTitleTest, TwoCodingsOfOneStreamNumberAreTwoTracks) {
  fs::create_directories(in.file("disc/HVDVD_TS"));
  fs::create_directories(in.file("disc/ADV_OBJ"));
  const Bytes dd(1500, 0x11);
  const Bytes lpcm(1200, 0x22);
  Bytes ddTrack;
  Bytes lpcmTrack;
  writeEvo("disc/HVDVD_TS/CARD.EVO", [&](PsWriter& w) {
    w.navPack();
    for (int n = 0; n < 4; ++n) {
      w.pack(Stream::mpeg2(0));
      ddTrack.insert(ddTrack.end(), dd.begin(), dd.begin() + w.pack(Stream::dd(0), dd));
      lpcmTrack.insert(lpcmTrack.end(), lpcm.begin(), lpcm.begin() + w.pack(Stream::lpcm(0), lpcm));
    }
  });
  testing::writeFile(
      in.file("disc/ADV_OBJ/VPLST000.XPL"),
      R"(<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist" majorVersion="1" minorVersion="0">
  <MediaAttributeList>
    <VideoAttributeItem index="1" codec="MPEG-2"/>
    <AudioAttributeItem index="1" codec="AC-3"/>
    <AudioAttributeItem index="2" codec="LPCM"/>
  </MediaAttributeList>
  <TitleSet timeBase="60fps">
    <Title id="Card" titleNumber="1" displayName="Card" titleDuration="00:00:10:00">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/CARD.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:00:10:00" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:00"/>
        <Audio track="2" streamNumber="1" mediaAttr="2" langcode="de:00"/>
      </PrimaryAudioVideoClip>
    </Title>
  </TitleSet>
</Playlist>
)");
  const Outcome result = run({"title", in.file("disc"), "1", "--out", out.path()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(testing::readFile(out.file("Card.audio1.eng.AC-3.ac3")), ddTrack);
  EXPECT_EQ(testing::readFile(out.file("Card.audio2.ger.LPCM.pcm")), lpcmTrack);
}

}  // namespace
}  // namespace tessaly::cli
