// What a demux learns of its subpicture streams' units, whatever form their outputs take:
// each stream's format and its units with a forced start, in HD and DVD-style units; the
// forms the Matroska box asks for; and the VobSub index made for the video's own frame
// with a palette that shows the units' text, or the operator's.
#include <gtest/gtest.h>

#include <sstream>

#include "job/demux.h"
#include "job_fixture.h"
#include "session/demux_click.h"
#include "support/child_process.h"
#include "support/recording_observer.h"
#include "tools/subpicture_units.h"

namespace tessaly {
namespace {

using testing::Bytes;
using tools::PsWriter;
using tools::Stream;

constexpr std::uint64_t kSecond = 90000;

class SubpictureUnitsTest : public testing::JobTest {
 protected:
  void demux(const std::string& evo) {
    choose(evo);
    bDemuxClick(s);
    ASSERT_TRUE(logged("Done."));
  }

  // The values of the index's palette line.
  std::vector<std::string> palette(const std::string& idx) const {
    std::istringstream text(testing::textOf(out.file(idx)));
    for (std::string line; std::getline(text, line);) {
      if (line.rfind("palette: ", 0) != 0) continue;
      std::vector<std::string> values;
      std::istringstream list(line.substr(9));
      for (std::string value; std::getline(list, value, ',');) {
        values.push_back(value.substr(value.find_first_not_of(' ')));
      }
      return values;
    }
    return {};
  }

  std::string sizeLine(const std::string& idx) const {
    std::istringstream text(testing::textOf(out.file(idx)));
    for (std::string line; std::getline(text, line);) {
      if (line.rfind("size: ", 0) == 0) return line;
    }
    return "";
  }
};

class UnitFormsTest : public SubpictureUnitsTest,
                      public ::testing::WithParamInterface<SubpictureOutputs> {};

// HD units in stream 0 (one plain, two forced), DVD-style units in stream 1 (one forced,
// one plain), each over two packs; the counts run on across the packs' ends.
TEST_P(UnitFormsTest, EachStreamsFormatAndForcedUnitsAreCountedWhateverItsForm) {
  s.SubOutputs = GetParam();
  writeEvo("FEATURE.EVO", [](PsWriter& w) {
    w.packs(Stream::subpicture(0), tools::hdUnit("PLAIN", 1000), 1 * kSecond);
    w.packs(Stream::subpicture(1), tools::dvdUnit("SIGN", 1000, true), 1 * kSecond);
    w.packs(Stream::subpicture(0), tools::hdUnit("SIGN", 1000, {.forced = true}), 3 * kSecond);
    w.packs(Stream::subpicture(1), tools::dvdUnit("PLAIN", 1000), 3 * kSecond);
    w.packs(Stream::subpicture(0), tools::hdUnit("EXIT", 1000, {.forced = true}), 5 * kSecond);
  });
  tick(kSubSlot, "Subpicture.00");
  tick(kSubSlot + 1, "Subpicture.01");
  demux("FEATURE.EVO");
  const std::map<int, SubpictureUnits> expected{{kSubSlot, {UnitFormat::Hd, 3, 2}},
                                                {kSubSlot + 1, {UnitFormat::Dvd, 2, 1}}};
  EXPECT_EQ(s.Found.subpictures, expected);
}

INSTANTIATE_TEST_SUITE_P(Forms, UnitFormsTest,
                         ::testing::Values(SubpictureOutputs::Raw, SubpictureOutputs::Timed,
                                           SubpictureOutputs::Pgs));

// The window's box "Make a Matroska file" asks for the forms Matroska takes: HD units as
// PGS, LPCM as WAV (an output of its coding, routed by sub-stream id).
TEST_F(SubpictureUnitsTest, TheMatroskaBoxWritesTheFormsMatroskaTakes) {
  writeEvo("FEATURE.EVO", [](PsWriter& w) {
    w.pack(Stream::lpcm(0), 1200);
    w.packs(Stream::subpicture(0), tools::hdUnit("HELLO", 1000), kSecond);
  });
  tick(kAudioSlot, "LPCM.stream.00");
  tick(kSubSlot, "Subpicture.00");
  s.fMain.cbMatroska.ticked = true;
  demux("FEATURE.EVO");
  std::vector<std::pair<int, FileForm>> made;
  for (const MadeFile& file : s.Made) made.emplace_back(file.slot, file.form);
  const int lpcm = routedKey(0, audioSource(AudioCoding::Lpcm));
  EXPECT_EQ(made, (std::vector<std::pair<int, FileForm>>{{lpcm, FileForm::Wav},
                                                         {kSubSlot, FileForm::Pgs}}));
}

// An MPEG-2 sequence header of 720x480 (horizontal 0x2D0, vertical 0x1E0), then picture data.
Bytes sequenceHeader() {
  Bytes bytes{0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x23, 0xFF, 0xFF, 0xE0, 0x18};
  bytes.resize(1800, 0x55);
  return bytes;
}

TEST_F(SubpictureUnitsTest, TheVobSubIndexTakesTheVideosFrameAndAPaletteThatShowsTheText) {
  s.SubOutputs = SubpictureOutputs::Timed;
  for (const char* evo : {"WITH.EVO", "WITHOUT.EVO"}) {
    writeEvo(evo, [](PsWriter& w) {
      w.pack(Stream::mpeg2(0), sequenceHeader());
      w.packs(Stream::subpicture(0), tools::dvdUnit("HELLO", 1000), kSecond);
    });
  }
  tick(kVideoSlot, "MPEG-2.stream.0");
  tick(kSubSlot, "Subpicture.00");
  demux("WITH.EVO");
  EXPECT_EQ(sizeLine("WITH.Subpicture.00.idx"), "size: 720x480");
  // The test units fill with entry 15 in an outline of entry 0, as the usual layouts fill
  // with 1 in an outline of 2: white on black.
  const std::vector<std::string> shown = palette("WITH.Subpicture.00.idx");
  ASSERT_EQ(shown.size(), 16u);
  for (std::size_t fill : {1, 15}) EXPECT_EQ(shown[fill], "ffffff") << fill;
  for (std::size_t outline : {0, 2}) EXPECT_EQ(shown[outline], "000000") << outline;

  // Without the video's output no sequence header is read: HD DVD's frame. The operator's
  // palette (the command line's request) stands as given.
  DemuxRequest request;
  request.segments = {in.file("WITHOUT.EVO")};
  request.outputBase = out.file("WITHOUT");
  request.forms.subpictures = SubpictureOutputs::Timed;
  request.outputs = {{kSubSlot, "Subpicture.00"}};
  for (std::size_t n = 0; n < request.vobsubPalette.size(); ++n) {
    request.vobsubPalette[n] = static_cast<std::uint32_t>(0x10203 * n);
  }
  testing::RecordingObserver observer;
  ASSERT_FALSE(runDemux(request, observer).error);
  EXPECT_EQ(sizeLine("WITHOUT.Subpicture.00.idx"), "size: 1920x1080");
  const std::vector<std::string> chosen = palette("WITHOUT.Subpicture.00.idx");
  ASSERT_EQ(chosen.size(), 16u);
  EXPECT_EQ(chosen[1], "010203");
  EXPECT_EQ(chosen[15], "0f1e2d");
}

}  // namespace
}  // namespace tessaly
