// tessaly-sample-disc DIR [--expected DIR2]: writes a small HD DVD disc folder with a
// feature in two segments and its playlist. The feature's MPEG-2 video, DD+ and MLP audio
// are real bitstreams (tools/sample_streams, made by tools/make-sample-streams), repeated
// with rising time stamps; the commentary starts a second after the video; the captions
// are DVD-style and HD subpicture units. With --expected, also the streams that a demux
// of FEATURE_1.EVO must write, named as "Read EVO" and "Demux" with the default settings
// name them.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "job/output_names.h"
#include "shell/output_set.h"
#include "tools/feature_mix.h"
#include "tools/ps_writer.h"
#include "tools/sample_captions.h"
#include "tools/subpicture_units.h"

namespace {

namespace fs = std::filesystem;
using tessaly::tools::Expected;
using tessaly::tools::FeatureMix;
using tessaly::tools::FileSink;
using tessaly::tools::PsWriter;
using tessaly::tools::Stream;

constexpr std::uint64_t kFirstSegment = 8704 * 1024;   // 8.5 MiB: two progress points
constexpr std::uint64_t kSecondSegment = 3584 * 1024;  // 3.5 MiB
constexpr double kClipSeconds = 2.4;                   // the playing time of each clip
constexpr std::uint64_t kTicksPerMs = 90;
constexpr std::uint64_t kCaptionLead = 90000;  // a unit arrives up to a second before it shows

// The disc's playlist: the attribute lists, a studio logo title, then the feature,
// whose clips are the two segments; streamNumber counts from 1 where the EVO counts
// from 0. The commentary and the French subtitles take their language from the title's
// navigation tracks, the others from their own element; the second chapter has no name.
// Times count frames of the title set's timeBase, 1/50 s.
constexpr const char* kPlaylist = R"(<?xml version="1.0" encoding="UTF-8"?>
<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist" majorVersion="1" minorVersion="0" description="Tessaly sample disc" displayName="Tessaly Sample Disc">
  <Configuration>
    <StreamingBuffer size="0"/>
    <Aperture>1920x1080</Aperture>
    <MainVideoDefaultColor>108080</MainVideoDefaultColor>
  </Configuration>
  <MediaAttributeList>
    <VideoAttributeItem index="1" codec="MPEG-2" sampleAspectRatio="16:9" horizontalResolution="640" verticalResolution="360" encodedFrameRate="25" sourceFrameRate="25" activeAreaX1="0" activeAreaY1="0" activeAreaX2="639" activeAreaY2="359"/>
    <AudioAttributeItem index="1" codec="DD+" sampleFrequency="48" sampleDepth="16" channels="6"/>
    <AudioAttributeItem index="2" codec="MLP" sampleFrequency="48" sampleDepth="16" channels="6"/>
    <AudioAttributeItem index="3" codec="DD+" sampleFrequency="48" sampleDepth="16"
        channels="2"/>
    <SubpictureAttributeItem index="1" codec="8bitRLC"/>
  </MediaAttributeList>
  <TitleSet timeBase="50fps" defaultLanguage="en">
    <!-- The studio logo plays first. -->
    <Title id="StudioLogo" titleNumber="1" displayName="Studio Logo" titleDuration="00:00:12:00" onEnd="FeatureTitle" type="Original">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/LOGO_1.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:00:12:00" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="3" langcode="en:00" description="English"/>
      </PrimaryAudioVideoClip>
    </Title>
    <Title id="FeatureTitle" titleNumber="2" displayName="Tessaly: The Feature" titleDuration="00:01:04:30" type="Original">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_1.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:00:45:40" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Audio track="2" streamNumber="2" mediaAttr="2" langcode="en:00" description="English lossless"/>
        <Audio track="3" streamNumber="3" mediaAttr="3" description="Commentary"/>
        <Subtitle track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Subtitle track="2" streamNumber="2" mediaAttr="1" description="French"/>
      </PrimaryAudioVideoClip>
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_2.MAP" titleTimeBegin="00:00:45:40" titleTimeEnd="00:01:04:30" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Audio track="2" streamNumber="2" mediaAttr="2" langcode="en:00" description="English lossless"/>
        <Audio track="3" streamNumber="3" mediaAttr="3" description="Commentary"/>
        <Subtitle track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Subtitle track="2" streamNumber="2" mediaAttr="1" description="French"/>
      </PrimaryAudioVideoClip>
      <TrackNavigationList>
        <VideoTrack track="1"/>
        <AudioTrack track="1" langcode="en:00"/>
        <AudioTrack track="2" langcode="en:00"/>
        <AudioTrack track="3" langcode="de:00"/>
        <SubtitleTrack track="1" langcode="en:00"/>
        <SubtitleTrack track="2" langcode="fr:00"/>
      </TrackNavigationList>
      <ChapterList>
        <Chapter titleTimeBegin="00:00:00:00" displayName="Opening"/>
        <Chapter titleTimeBegin="00:00:20:25"/>
        <Chapter titleTimeBegin="00:00:45:40" displayName="Second Segment"/>
        <Chapter titleTimeBegin="00:00:58:00" displayName="End Credits"/>
      </ChapterList>
    </Title>
  </TitleSet>
</Playlist>
)";

std::vector<std::uint8_t> readClip(const std::string& name) {
  const fs::path path = fs::path(TESSALY_SAMPLE_STREAMS) / name;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The feature's streams, as the playlist lists them.
std::vector<tessaly::tools::Elementary> featureStreams() {
  const std::vector<std::uint8_t> video = readClip("video.m2v");
  return {
      {Stream::mpeg2(0), video, 1, tessaly::tools::pictureStarts(video)},
      {Stream::ddPlus(0), readClip("english.eac3")},                 // English 5.1
      {Stream::mlp(1), readClip("lossless.thd")},                    // English lossless 5.1
      {Stream::ddPlus(2), readClip("commentary.eac3"), 1, {}, 1.0},  // a second late
  };
}

// A segment's captions, each written in packs of its stream once the clock comes within
// the lead of its time.
class Captions {
 public:
  explicit Captions(int segment) : segment_(segment) {}

  // The segment's first video time stamp, which the captions' times count from.
  void start(std::uint64_t videoStart) {
    if (started_) return;
    started_ = true;
    videoStart_ = videoStart;
  }

  void writeDue(PsWriter& w) {
    if (!started_) return;
    for (; next_ < tessaly::tools::kSampleCaptions.size(); ++next_) {
      const auto& caption = tessaly::tools::kSampleCaptions[next_];
      if (caption.segment != segment_) continue;
      const std::uint64_t pts = videoStart_ + caption.startMs * kTicksPerMs;
      if (w.clock() + kCaptionLead < pts) return;
      const auto unit = caption.stream == 0
                            ? tessaly::tools::dvdUnit(caption.text, caption.durationMs)
                            : tessaly::tools::hdUnit(caption.text, caption.durationMs);
      w.packs(Stream::subpicture(caption.stream), unit, pts);
    }
  }

 private:
  int segment_;
  bool started_ = false;
  std::uint64_t videoStart_ = 0;
  std::size_t next_ = 0;
};

// Writes segment 1 or 2 of the feature, going on where the mix stopped; returns what each
// slot's output must hold.
std::map<int, Expected> writeSegment(FeatureMix& mix, const fs::path& path, int segment,
                                     std::uint64_t bytes, bool keepPayload) {
  FileSink sink(path.string());
  PsWriter writer(sink, {.keepPayload = keepPayload, .audioBound = 3});
  Captions captions(segment);
  mix.write(writer, bytes, [&](PsWriter& w, const Stream& stream, std::int64_t pts) {
    if (stream.id == Stream::mpeg2(0).id && pts >= 0) {
      captions.start(static_cast<std::uint64_t>(pts));
    }
    captions.writeDue(w);
  });
  sink.close();
  std::printf("Wrote %s (%llu bytes, the feature up to %.1f s)\n", path.c_str(),
              static_cast<unsigned long long>(writer.size()), mix.seconds());
  return writer.expected();
}

void writeText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
  std::printf("Wrote %s\n", path.c_str());
}

// The outputs of a demux of FEATURE_1.EVO with continuation: for every stream the first
// segment registers, its payload in both segments, in the output name "Demux" gives it.
void writeExpected(const fs::path& folder, const std::map<int, Expected>& first,
                   const std::map<int, Expected>& second) {
  fs::create_directories(folder);
  const tessaly::Window defaults;
  for (int slot : tessaly::OutputSet::jobOrder()) {
    const auto found = first.find(slot);
    if (found == first.end() || found->second.value < 0) continue;
    const std::string name =
        tessaly::outputName("FEATURE_1", tessaly::StreamCaption(slot, found->second.value),
                            tessaly::extensionEdit(defaults, slot).text);
    FileSink sink((folder / name).string());
    sink.put(found->second.bytes.data(), found->second.bytes.size());
    if (const auto more = second.find(slot); more != second.end()) {
      sink.put(more->second.bytes.data(), more->second.bytes.size());
    }
    sink.close();
  }
  std::printf("Wrote the expected streams to %s\n", folder.c_str());
}

int usage() {
  std::fputs("Usage: tessaly-sample-disc DIR [--expected DIR2]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool expected = args.size() == 3 && args[1] == "--expected";
  // An option where the folder belongs (--help) would otherwise become a folder's name.
  if ((args.size() != 1 && !expected) || args[0].starts_with('-')) return usage();
  try {
    const fs::path disc = args[0];
    fs::create_directories(disc / "HVDVD_TS");
    fs::create_directories(disc / "ADV_OBJ");
    FeatureMix mix(featureStreams(), kClipSeconds);
    const auto first =
        writeSegment(mix, disc / "HVDVD_TS" / "FEATURE_1.EVO", 1, kFirstSegment, expected);
    const auto second =
        writeSegment(mix, disc / "HVDVD_TS" / "FEATURE_2.EVO", 2, kSecondSegment, expected);
    writeText(disc / "ADV_OBJ" / "VPLST000.XPL", kPlaylist);
    if (expected) writeExpected(args[2], first, second);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tessaly-sample-disc: %s\n", error.what());
    return 1;
  }
}
