// Writes the fuzz targets' seed corpus: small program streams from the test-stream
// writer, the sample playlists and the sample disc's with a BaseName at their end,
// settings files, HD units, the start of the sample disc's DD+, TrueHD and MPEG-2 streams, and a
// small disc image. Usage: tessaly_fuzz_seeds CORPUS_FOLDER (holding demux/, xpl/,
// settings/, hd_unit/, audio/, video_check/, disc_image/).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "fuzz/sparse_image.h"
#include "playlist/sample_playlists.h"
#include "session/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "tools/ps_writer.h"
#include "tools/sample_playlists.h"
#include "tools/subpicture_units.h"
#include "tools/udf_image.h"

namespace {

namespace fs = std::filesystem;
using tessaly::tools::PesFields;
using tessaly::tools::PsWriter;
using tessaly::tools::Stream;

void put(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  tessaly::testing::writeFile(path.string(), bytes);
  std::printf("%s (%zu bytes)\n", path.c_str(), bytes.size());
}

void stream(const fs::path& path, const std::function<void(PsWriter&)>& build) {
  tessaly::tools::MemorySink sink;
  PsWriter writer(sink, {.seed = 5, .keepPayload = false, .startCodesInPayload = true});
  build(writer);
  put(path, sink.bytes);
}

void demuxSeeds(const fs::path& folder) {
  stream(folder / "vc1-ddplus-sub", [](PsWriter& w) {
    w.navPack();
    w.pack(Stream::vc1(0), 300, {.dts = true, .pstd = true});
    w.pack(Stream::ddPlus(1), 200);
    w.pack(Stream::subpicture(2), 100);
  });
  stream(folder / "lossless-audio", [](PsWriter& w) {
    w.packHeader();
    w.packet(Stream::mlp(1), 300);
    w.packet(Stream::lpcm(2), 200, {.stuffing = 2});
    w.packet(Stream::mpegAudio(0), 100);
    w.packet(Stream::dtsHd(3), 100, {.pts = false});
    w.packet(Stream::private1(0xA9), 50);
  });
  stream(folder / "mpeg2-h264-ext", [](PsWriter& w) {
    w.packet(Stream::mpeg2(0), 200, {.pstd = true});
    w.garbage(9);
    w.packet(Stream::h264(1), 200, {.dts = true});
    w.packet({0xFD, 0x55}, 100, {.ext2 = false});
    w.packet({0xFD, 0x71}, 100);
    w.packet(Stream::extSubpicture(21), 50);
    w.padding(40);
    w.packet(Stream::dd(0), 0);
  });
  stream(folder / "scrambled", [](PsWriter& w) {
    w.packet(Stream::vc1(1), 200, {.scrambling = 1});
    w.packet(Stream::ddPlus(0), 200, {.scrambling = 3});
    w.packet(Stream::subpicture(0), 100, {.scrambling = 2});
  });
}

void xplSeeds(const fs::path& folder) {
  const auto withBase = [](std::string text, const std::string& base) {
    text += base;
    text += static_cast<char>(base.size());
    return std::vector<std::uint8_t>(text.begin(), text.end());
  };
  put(folder / "attribute-lists", withBase(tessaly::testing::kAttributeLists, ""));
  put(folder / "disc-playlist", withBase(tessaly::testing::discPlaylist(), "FEATURE_1"));
  put(folder / "sample-disc-titles", withBase(tessaly::tools::titlesPlaylist(), "FEATURE_1"));
}

// What RegWrite stores for a session with its defaults, and a hand-edited file with
// wrapped hex data, comments and another key.
void settingsSeeds(const fs::path& folder) {
  const tessaly::testing::TempDir home;
  ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
  tessaly::testing::RecordingHost host;
  tessaly::Session session{host};
  session.fMain.eWorkdir.text = "/out";
  tessaly::RegWrite(session);
  put(folder / "written", tessaly::testing::readFile(home.file("Corvane Software/Tessaly.reg")));
  const std::string edited =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Width\"=dword:00000001\r\n"
      "; a comment\r\n[HKEY_CURRENT_USER\\Software\\Corvane Software\\Tessaly]\r\n"
      "\"Width\"=dword:0000012c\r\n\"VideoExt\"=\"m\\\"pv\"\r\n@=\"default\"\r\n"
      "\"DateTime\"=hex:00,00,00,00,\\\r\n  00,00,e6,40\r\n\"List\"=hex(7):41,00,00,00\r\n";
  put(folder / "edited", std::vector<std::uint8_t>(edited.begin(), edited.end()));
}

// HD units, each before the four bytes that choose a 1920x1080 frame (the fuzz target
// takes them from the end): a plain caption, a fade with a forced start.
void hdUnitSeeds(const fs::path& folder) {
  const auto framed = [](std::vector<std::uint8_t> unit) {
    unit.insert(unit.end(), {0x37, 0x04, 0x7F, 0x07});
    return unit;
  };
  put(folder / "caption", framed(tessaly::tools::hdUnit("HI", 1000)));
  put(folder / "forced-fade", framed(tessaly::tools::hdUnit(
                                  "A", 2000, {.forced = true, .fadeSteps = 2, .fadeStepMs = 100})));
}

// The first `size` bytes of a sample stream.
std::vector<std::uint8_t> sampleStart(const char* name, std::size_t size) {
  std::vector<std::uint8_t> bytes =
      tessaly::testing::readFile(std::string(TESSALY_SAMPLE_STREAMS "/") + name);
  bytes.resize(size);
  return bytes;
}

// The first 6 KB of a sample stream, then what the audio target reads from the input's
// end: the coding (last), the LPCM format byte, the packets' size and the cuts.
void audioSeeds(const fs::path& folder) {
  const auto seed = [&](const char* name, std::uint8_t coding) {
    std::vector<std::uint8_t> bytes = sampleStart(name, 6144);
    bytes.insert(bytes.end(), {13, 0xD0, 0x07, 0x01, coding});
    put(folder / name, bytes);
  };
  seed("english.eac3", 1);
  seed("lossless.thd", 4);
}

// The first 24 KB of the sample video (a few pictures), then the cuts and the packets'
// size that the video check's target reads from the input's end.
void videoSeeds(const fs::path& folder) {
  std::vector<std::uint8_t> bytes = sampleStart("video.m2v", 24576);
  bytes.insert(bytes.end(), {13, 0xD0, 0x07});
  put(folder / "video.m2v", bytes);
}

// A small HD DVD image as the image target's sparse records: a feature EVO and its map,
// a playlist, and an empty folder.
void imageSeeds(const fs::path& folder) {
  const tessaly::testing::TempDir dir;
  const fs::path disc = dir.file("disc");
  fs::create_directories(disc / "HVDVD_TS");
  fs::create_directories(disc / "ADV_OBJ" / "EMPTY");
  tessaly::testing::writeFile((disc / "HVDVD_TS" / "FEATURE_1.EVO").string(),
                              std::vector<std::uint8_t>(5000, 0xBA));
  tessaly::testing::writeFile((disc / "HVDVD_TS" / "FEATURE_1.MAP").string(),
                              std::string("HDDVD_TMAP00"));
  tessaly::testing::writeFile((disc / "ADV_OBJ" / "VPLST000.XPL").string(),
                              tessaly::tools::titlesPlaylist());
  tessaly::tools::writeUdfImage(disc.string(), dir.file("disc.iso"));
  put(folder / "small-disc",
      tessaly::fuzzing::sparseRecords(tessaly::testing::readFile(dir.file("disc.iso"))));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path corpus = argv[1];
  for (const char* target :
       {"demux", "xpl", "settings", "hd_unit", "audio", "video_check", "disc_image"}) {
    fs::create_directories(corpus / target);
  }
  demuxSeeds(corpus / "demux");
  xplSeeds(corpus / "xpl");
  settingsSeeds(corpus / "settings");
  hdUnitSeeds(corpus / "hd_unit");
  audioSeeds(corpus / "audio");
  videoSeeds(corpus / "video_check");
  imageSeeds(corpus / "disc_image");
  return 0;
}
