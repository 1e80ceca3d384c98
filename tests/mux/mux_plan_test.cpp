// mkvmerge's call from the records of a job's outputs.
#include "mux/mux_plan.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

MuxSource source(StreamGroup group, std::int32_t codec, std::vector<MadeFile> files,
                 std::string name = "", std::string language = "",
                 std::optional<std::int64_t> delay = std::nullopt) {
  MuxSource s;
  s.group = group;
  s.codec = codec;
  s.files = std::move(files);
  s.name = std::move(name);
  s.language = std::move(language);
  s.delayMs = delay;
  return s;
}

// In the order given: video; audio with its delay, headerless LPCM left out and LPCM as
// WAV taken; subpictures as VobSub taken without a delay (the index counts from video
// stream 0), as HD-DVD SUP kept, raw left out; an empty output left out and an output
// that made nothing passed over.
TEST(MuxPlanTest, TracksInBoxOrderWithTheirOptionsAndEveryOutputLeftOutSaidOnce) {
  using G = StreamGroup;
  const std::vector<MuxSource> sources{
      source(G::Video, 0xE0, {{1, "/o/F.MPEG-2.stream.0.m2v", FileForm::Raw}}, "MPEG-2.stream.0"),
      source(G::Audio, 0xC0, {{17, "/o/F.DD+.stream.00.eac3", FileForm::Raw}}, "DD+.stream.00",
             "en", 1000),
      source(G::Audio, 0xA1, {{18, "/o/F.LPCM.stream.01.mpa", FileForm::Raw}}, "LPCM.stream.01"),
      source(G::Audio, 0xA2, {{19, "/o/F.LPCM.stream.02.wav", FileForm::Wav}}, "", "fr", -40),
      source(G::Audio, 0xC3, {{20, "/o/F.DD+.stream.03.eac3", FileForm::Raw}}),
      source(G::Audio, 0x84, {}),
      source(G::Sub, 0x20,
             {{33, "/o/F.Sub.00.idx", FileForm::VobSubIndex},
              {33, "/o/F.Sub.00.sub", FileForm::VobSubStream}},
             "Subpicture.00", "en", 500),
      source(G::Sub, 0x60, {{34, "/o/F.Sub.01.sup", FileForm::HdSup}}),
      source(G::Sub, 0x20, {{35, "/o/F.Sub.02.sup", FileForm::Raw}}),
  };
  std::vector<MuxSource> withEmpty = sources;
  withEmpty[4].empty = true;

  const MuxPlan plan = muxPlan({"/o/film.mkv", "Main", "/o/F.chapters.xml"}, withEmpty);
  const std::vector<std::string> arguments{"-o",
                                           "/o/film.mkv",
                                           "--title",
                                           "Main",
                                           "--chapters",
                                           "/o/F.chapters.xml",
                                           "--track-name",
                                           "0:MPEG-2.stream.0",
                                           "/o/F.MPEG-2.stream.0.m2v",
                                           "--language",
                                           "0:en",
                                           "--track-name",
                                           "0:DD+.stream.00",
                                           "--sync",
                                           "0:1000",
                                           "/o/F.DD+.stream.00.eac3",
                                           "--language",
                                           "0:fr",
                                           "--sync",
                                           "0:-40",
                                           "/o/F.LPCM.stream.02.wav",
                                           "--language",
                                           "0:en",
                                           "--track-name",
                                           "0:Subpicture.00",
                                           "/o/F.Sub.00.idx"};
  EXPECT_EQ(plan.arguments, arguments);
  EXPECT_EQ(plan.tracks.size(), 4u);
  const std::vector<std::string> notes{
      "Not muxed: /o/F.LPCM.stream.01.mpa (mkvmerge takes no headerless LPCM; as WAV it is "
      "muxed).",
      "Not muxed: /o/F.DD+.stream.03.eac3 is empty.",
      "Kept beside film.mkv: /o/F.Sub.01.sup (Matroska has no codec for HD-DVD SUP subtitles).",
      "Not muxed: /o/F.Sub.02.sup (Matroska has no codec for HD DVD subpictures)."};
  EXPECT_EQ(plan.notes, notes);
  const std::vector<std::string> consumed{"/o/F.MPEG-2.stream.0.m2v", "/o/F.DD+.stream.00.eac3",
                                          "/o/F.LPCM.stream.02.wav", "/o/F.Sub.00.idx",
                                          "/o/F.Sub.00.sub"};
  EXPECT_EQ(plan.consumed, consumed);

  // No title, no chapters: neither option; a relative name becomes a full path, so that
  // a name starting with "-" or "@" is never taken for an option.
  const MuxPlan bare = muxPlan({"-film.mkv", "", ""}, {sources[0]});
  EXPECT_EQ(bare.arguments.at(0), "-o");
  EXPECT_EQ(bare.arguments.at(1).front(), '/');
  EXPECT_EQ(bare.arguments.at(2), "--track-name");
}

}  // namespace
}  // namespace tessaly
