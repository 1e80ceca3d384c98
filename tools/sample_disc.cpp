// tessaly-sample-disc DIR [--expected DIR2]: writes a small HD DVD disc folder shaped like
// a real one. HVDVD_TS holds the title set's HVA00001.VTI and five EVOs, each with its time
// map (.MAP): a studio logo, the feature in two seamless segments (FEATURE_1, FEATURE_2)
// and a warning card, and a menu loop; ADV_OBJ holds the playlists (tools/sample_playlists).
// The MPEG-2 video, DD+ and MLP audio are real bitstreams (tools/sample_streams, made by
// tools/make-sample-streams), each repeated on its own cycle with rising time stamps; the
// commentary starts a second after the video; the captions are DVD-style and HD
// subpicture units. With --expected, also the streams that a demux of each EVO must write
// (FEATURE_1 continued with FEATURE_2), named as "Read EVO" and "Demux" with the default
// settings name them.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "catalogue/captions.h"
#include "job/output_forms.h"
#include "job/output_names.h"
#include "job/output_set.h"
#include "tools/feature_mix.h"
#include "tools/ps_writer.h"
#include "tools/sample_captions.h"
#include "tools/sample_layout.h"
#include "tools/sample_playlists.h"
#include "tools/subpicture_units.h"

namespace {

namespace fs = std::filesystem;
using tessaly::tools::Elementary;
using tessaly::tools::Expected;
using tessaly::tools::FeatureMix;
using tessaly::tools::FileSink;
using tessaly::tools::PsWriter;
using tessaly::tools::Stream;
namespace sample = tessaly::tools::sample;
using Bytes = std::vector<std::uint8_t>;
using Outputs = std::map<int, Expected>;  // what each slot's output must hold

constexpr double kVideoSeconds = 48 * 1001.0 / 24000;  // the video clip: 48 pictures
constexpr double kAudioSeconds = 2.4;                  // every audio clip
constexpr std::uint64_t kTicksPerMs = 90;
constexpr std::uint64_t kCaptionLead = 90000;  // a unit arrives up to a second before it shows
constexpr std::size_t kMagicFileSize = 2048;   // the title set and time map files: one sector

Bytes readClip(const std::string& name) {
  const fs::path path = fs::path(TESSALY_SAMPLE_STREAMS) / name;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The encoded clips, read once.
struct Clips {
  Bytes video = readClip("video.m2v");
  Bytes english = readClip("english.eac3");        // English 5.1
  Bytes lossless = readClip("lossless.thd");       // English lossless 5.1
  Bytes commentary = readClip("commentary.eac3");  // stereo
};

Elementary video(const Clips& clips) {
  return {.stream = Stream::mpeg2(0),
          .bytes = clips.video,
          .seconds = kVideoSeconds,
          .framing = tessaly::tools::mpeg2Framing(clips.video)};
}

Elementary ddPlus(int number, const Bytes& clip, double start = 0) {
  return {.stream = Stream::ddPlus(number),
          .bytes = clip,
          .seconds = kAudioSeconds,
          .framing = tessaly::tools::eac3Framing(clip),
          .start = start};
}

// The feature's streams, as the playlist lists them; the commentary a second late.
std::vector<Elementary> featureStreams(const Clips& clips) {
  return {video(clips),
          ddPlus(0, clips.english),
          {.stream = Stream::mlp(1),
           .bytes = clips.lossless,
           .seconds = kAudioSeconds,
           .framing = tessaly::tools::mlpFraming(clips.lossless)},
          ddPlus(2, clips.commentary, 1.0)};
}

// A segment's captions, each written in packs of its stream once the clock comes within
// the lead of its time; segment 0 has none.
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
                            : tessaly::tools::hdUnit(caption.text, caption.durationMs,
                                                     {.forced = caption.stream == 2});
      w.packs(Stream::subpicture(caption.stream), unit, pts);
    }
  }

 private:
  int segment_;
  bool started_ = false;
  std::uint64_t videoStart_ = 0;
  std::size_t next_ = 0;
};

// A file that is its magic word and zeros, as far as this disc needs its content.
void writeMagicFile(const fs::path& path, const std::string& magic) {
  Bytes bytes(kMagicFileSize, 0);
  std::copy(magic.begin(), magic.end(), bytes.begin());
  FileSink sink(path.string());
  sink.put(bytes.data(), bytes.size());
  sink.close();
}

// What one EVO holds: the mix up to `counts` on its clock, captions of a feature segment
// (0: none), the audio streams its system header announces.
struct Evo {
  std::string name;
  int counts;
  int captions;
  int audioStreams;
};

// Writes the EVO and its time map, going on where the mix stopped.
Outputs writeEvo(FeatureMix& mix, const fs::path& folder, const Evo& evo, bool keepPayload) {
  const fs::path path = folder / (evo.name + ".EVO");
  FileSink sink(path.string());
  PsWriter writer(sink, {.keepPayload = keepPayload, .audioBound = evo.audioStreams});
  Captions captions(evo.captions);
  mix.writeUntil(writer, sample::seconds(evo.counts),
                 [&](PsWriter& w, const Stream& stream, std::int64_t pts) {
                   if (stream.id == Stream::mpeg2(0).id && pts >= 0) {
                     captions.start(static_cast<std::uint64_t>(pts));
                   }
                   captions.writeDue(w);
                 });
  sink.close();
  std::printf("Wrote %s (%llu bytes, up to %.3f s of its clips)\n", path.c_str(),
              static_cast<unsigned long long>(writer.size()), mix.seconds());
  writeMagicFile(folder / (evo.name + ".MAP"), "HDDVD_TMAP00");
  return writer.expected();
}

void writeText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
  std::printf("Wrote %s\n", path.c_str());
}

// Every EVO of the disc, one mix for each clip whose time stamps start anew (the feature's
// two segments share one); returns each demux's expected outputs by the base name it is
// named after.
std::map<std::string, std::vector<Outputs>> writeEvos(const fs::path& folder, bool keep) {
  const Clips clips;
  std::map<std::string, std::vector<Outputs>> outputs;
  FeatureMix logo({video(clips), ddPlus(0, clips.commentary)});
  outputs["STUDIO_LOGO"] = {
      writeEvo(logo, folder, {"STUDIO_LOGO", sample::kLogoCounts, 0, 1}, keep)};
  FeatureMix feature(featureStreams(clips));
  const int split = sample::kFeature1Counts;
  outputs["FEATURE_1"] = {
      writeEvo(feature, folder, {"FEATURE_1", split, 1, 3}, keep),
      writeEvo(feature, folder, {"FEATURE_2", split + sample::kFeature2Counts, 2, 3}, keep)};
  // The warning card carries the English track as audio stream 1 (streamNumber 2).
  FeatureMix warning({video(clips), ddPlus(1, clips.english)});
  outputs["WARNING"] = {writeEvo(warning, folder, {"WARNING", sample::kWarningCounts, 0, 1}, keep)};
  FeatureMix menu({video(clips), ddPlus(0, clips.commentary)});
  outputs["MENU_LOOP"] = {writeEvo(menu, folder, {"MENU_LOOP", sample::kMenuCounts, 0, 1}, keep)};
  return outputs;
}

// The outputs of a demux of `base`.EVO, with continuation for the feature: for every stream
// the first segment registers, its payload in every segment, in the output name "Demux"
// gives it.
void writeExpected(const fs::path& folder, const std::string& base,
                   const std::vector<Outputs>& segments) {
  const tessaly::Extensions defaults;
  for (int slot : tessaly::OutputSet::jobOrder()) {
    const auto found = segments.front().find(slot);
    if (found == segments.front().end() || found->second.value < 0) continue;
    const std::string name =
        tessaly::outputName(base, tessaly::StreamCaption(slot, found->second.value),
                            defaults.of(tessaly::groupOfSlot(slot)->group));
    FileSink sink((folder / name).string());
    for (const Outputs& segment : segments) {
      if (const auto part = segment.find(slot); part != segment.end()) {
        sink.put(part->second.bytes.data(), part->second.bytes.size());
      }
    }
    sink.close();
  }
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
    writeMagicFile(disc / "HVDVD_TS" / "HVA00001.VTI", "ADVANCED-VTS");
    const auto outputs = writeEvos(disc / "HVDVD_TS", expected);
    writeText(disc / "ADV_OBJ" / "VPLST000.XPL", tessaly::tools::titlesPlaylist());
    writeText(disc / "ADV_OBJ" / "VPLST001.XPL", tessaly::tools::bootPlaylist());
    if (!expected) return 0;
    fs::create_directories(args[2]);
    for (const auto& [base, segments] : outputs) writeExpected(args[2], base, segments);
    std::printf("Wrote the expected streams to %s\n", args[2].c_str());
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tessaly-sample-disc: %s\n", error.what());
    return 1;
  }
}
