// tessaly-sample-disc DIR [--expected DIR2]: writes a small HD DVD disc folder with a
// feature in two segments (VC-1, DD+, MLP, captions in DVD-style and in HD subpicture
// units) and its playlist; with
// --expected, also the streams that a demux of FEATURE_1.EVO must write, named as
// "Read EVO" and "Demux" with the default settings name them.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "job/output_names.h"
#include "shell/output_set.h"
#include "tools/ps_writer.h"
#include "tools/sample_captions.h"
#include "tools/subpicture_units.h"

namespace {

namespace fs = std::filesystem;
using tessaly::tools::Expected;
using tessaly::tools::FileSink;
using tessaly::tools::PsWriter;
using tessaly::tools::Stream;

constexpr std::uint64_t kFirstSegment = 8704 * 1024;   // 8.5 MiB: two progress points
constexpr std::uint64_t kSecondSegment = 3584 * 1024;  // 3.5 MiB
constexpr std::uint64_t kTicksPerMs = 90;
constexpr std::uint64_t kCaptionLead = 90000;  // a unit arrives up to a second before it shows

// The disc's playlist: the attribute lists, a studio logo title, then the feature,
// whose clips are the two segments; streamNumber counts from 1 where the EVO counts
// from 0.
constexpr const char* kPlaylist = R"(<?xml version="1.0" encoding="UTF-8"?>
<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist" majorVersion="1" minorVersion="0" description="Tessaly sample disc" displayName="Tessaly Sample Disc">
  <Configuration>
    <StreamingBuffer size="0"/>
    <Aperture>1920x1080</Aperture>
    <MainVideoDefaultColor>108080</MainVideoDefaultColor>
  </Configuration>
  <MediaAttributeList>
    <VideoAttributeItem index="1" codec="VC-1" sampleAspectRatio="16:9" horizontalResolution="1920" verticalResolution="1080" encodedFrameRate="24" sourceFrameRate="24" activeAreaX1="0" activeAreaY1="0" activeAreaX2="1919" activeAreaY2="1079"/>
    <AudioAttributeItem index="1" codec="DD+" sampleFrequency="48" sampleDepth="16" channels="6"/>
    <AudioAttributeItem index="2" codec="MLP" sampleFrequency="48" sampleDepth="24" channels="8"/>
    <AudioAttributeItem index="3" codec="DD+" sampleFrequency="48" sampleDepth="16"
        channels="2"/>
    <SubpictureAttributeItem index="1" codec="8bitRLC"/>
  </MediaAttributeList>
  <TitleSet timeBase="24fps" defaultLanguage="en">
    <!-- The studio logo plays first. -->
    <Title id="StudioLogo" titleNumber="1" displayName="Studio Logo" titleDuration="00:00:12:00" onEnd="FeatureTitle" type="Original">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/LOGO_1.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:00:12:00" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="3" langcode="en:00" description="English"/>
      </PrimaryAudioVideoClip>
    </Title>
    <Title id="FeatureTitle" titleNumber="2" displayName="Tessaly: The Feature" titleDuration="00:01:36:00" type="Original">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_1.MAP" titleTimeBegin="00:00:00:00" titleTimeEnd="00:01:08:00" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Audio track="2" streamNumber="2" mediaAttr="2" langcode="en:00" description="English lossless"/>
        <Audio track="3" streamNumber="3" mediaAttr="3" langcode="en:01" description="Commentary"/>
        <Subtitle track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Subtitle track="2" streamNumber="2" mediaAttr="1" langcode="fr:00" description="French"/>
      </PrimaryAudioVideoClip>
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_2.MAP" titleTimeBegin="00:01:08:00" titleTimeEnd="00:01:36:00" dataSource="Disc">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Audio track="2" streamNumber="2" mediaAttr="2" langcode="en:00" description="English lossless"/>
        <Audio track="3" streamNumber="3" mediaAttr="3" langcode="en:01" description="Commentary"/>
        <Subtitle track="1" streamNumber="1" mediaAttr="1" langcode="en:00" description="English"/>
        <Subtitle track="2" streamNumber="2" mediaAttr="1" langcode="fr:00" description="French"/>
      </PrimaryAudioVideoClip>
      <ChapterList>
        <Chapter titleTimeBegin="00:00:00:00" displayName="Opening"/>
        <Chapter titleTimeBegin="00:00:41:12" displayName="The Walk"/>
        <Chapter titleTimeBegin="00:01:08:00" displayName="Second Segment"/>
        <Chapter titleTimeBegin="00:01:25:00" displayName="End Credits"/>
      </ChapterList>
    </Title>
  </TitleSet>
</Playlist>
)";

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

// One video object unit: a navigation pack, then video with the audio interleaved as a
// multiplexer would place it; the captions whose time has come.
void writeUnit(PsWriter& w, Captions& captions) {
  w.navPack();
  for (int n = 0; n < 12; ++n) {
    w.pack(Stream::vc1(0));
    captions.start(w.lastPts());
    if (n % 3 == 0) w.pack(Stream::ddPlus(0), 1536);  // English 5.1
    if (n % 2 == 1) w.pack(Stream::mlp(1));           // English lossless 7.1
    if (n == 6) w.pack(Stream::ddPlus(2), 768);       // commentary, stereo
  }
  captions.writeDue(w);
}

struct Segment {
  std::map<int, Expected> expected;  // what each slot's output must hold
  std::uint64_t endClock;            // where the next segment's clock continues
};

// Writes segment 1 or 2 of the feature from `clock` on.
Segment writeSegment(const fs::path& path, int segment, std::uint64_t bytes, std::uint64_t clock,
                     bool keepPayload) {
  FileSink sink(path.string());
  PsWriter writer(
      sink,
      {.seed = static_cast<std::uint64_t>(segment), .keepPayload = keepPayload, .audioBound = 3});
  writer.setClock(clock);
  Captions captions(segment);
  while (writer.size() < bytes) writeUnit(writer, captions);
  sink.close();
  std::printf("Wrote %s (%llu bytes)\n", path.c_str(),
              static_cast<unsigned long long>(writer.size()));
  return {writer.expected(), writer.clock()};
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
  if (args.size() != 1 && !expected) return usage();
  try {
    const fs::path disc = args[0];
    fs::create_directories(disc / "HVDVD_TS");
    fs::create_directories(disc / "ADV_OBJ");
    const auto first =
        writeSegment(disc / "HVDVD_TS" / "FEATURE_1.EVO", 1, kFirstSegment, 0, expected);
    const auto second = writeSegment(disc / "HVDVD_TS" / "FEATURE_2.EVO", 2, kSecondSegment,
                                     first.endClock, expected);
    writeText(disc / "ADV_OBJ" / "VPLST000.XPL", kPlaylist);
    if (expected) writeExpected(args[2], first.expected, second.expected);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tessaly-sample-disc: %s\n", error.what());
    return 1;
  }
}
