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

  const MuxPlan plan = muxPlan({"/o/film.mkv", "Main", "/o/F.chapters.xml", "", ""}, withEmpty);
  const std::vector<std::string> arguments{"-o",
                                           "/o/film.mkv",
                                           "--title",
                                           "Main",
                                           "--chapters",
                                           "/o/F.chapters.xml",
                                           "--track-name",
                                           "0:MPEG-2",
                                           "--default-track-flag",
                                           "0:1",
                                           "/o/F.MPEG-2.stream.0.m2v",
                                           "--language",
                                           "0:en",
                                           "--track-name",
                                           "0:English DD+",
                                           "--default-track-flag",
                                           "0:1",
                                           "--sync",
                                           "0:1000",
                                           "/o/F.DD+.stream.00.eac3",
                                           "--language",
                                           "0:fr",
                                           "--track-name",
                                           "0:French LPCM",
                                           "--default-track-flag",
                                           "0:0",
                                           "--sync",
                                           "0:-40",
                                           "/o/F.LPCM.stream.02.wav",
                                           "--language",
                                           "0:en",
                                           "--track-name",
                                           "0:English subtitles",
                                           "--default-track-flag",
                                           "0:0",
                                           "/o/F.Sub.00.idx"};
  EXPECT_EQ(plan.arguments, arguments);
  EXPECT_EQ(plan.tracks.size(), 4u);
  const std::vector<std::string> notes{
      "Not muxed: /o/F.LPCM.stream.01.mpa (mkvmerge takes no headerless LPCM; as WAV it is "
      "muxed).",
      "Not muxed: /o/F.DD+.stream.03.eac3 is empty.",
      "Kept beside film.mkv: /o/F.Sub.01.sup (Matroska has no codec for HD-DVD SUP subtitles).",
      "Not muxed: /o/F.Sub.02.sup (raw units carry no times; Matroska takes subpictures as "
      "PGS or VobSub)."};
  EXPECT_EQ(plan.notes, notes);
  const std::vector<std::string> consumed{"/o/F.MPEG-2.stream.0.m2v", "/o/F.DD+.stream.00.eac3",
                                          "/o/F.LPCM.stream.02.wav", "/o/F.Sub.00.idx",
                                          "/o/F.Sub.00.sub"};
  EXPECT_EQ(plan.consumed, consumed);

  // No title, no chapters: neither option; a relative name becomes a full path, so that
  // a name starting with "-" or "@" is never taken for an option.
  const MuxPlan bare = muxPlan({"-film.mkv", "", "", "", ""}, {sources[0]});
  EXPECT_EQ(bare.arguments.at(0), "-o");
  EXPECT_EQ(bare.arguments.at(1).front(), '/');
  EXPECT_EQ(bare.arguments.at(2), "--track-name");
}

MuxSource subtitles(int slot, FileForm form, SubpictureUnits units, std::string extension = "") {
  const std::string name = "/o/F.Sub." + std::to_string(slot);
  std::vector<MadeFile> files{{slot, name + (form == FileForm::Pgs ? ".pgs.sup" : ".idx"), form}};
  if (form == FileForm::VobSubIndex) files.push_back({slot, name + ".sub", FileForm::VobSubStream});
  MuxSource s = source(StreamGroup::Sub, 0x20, files, "", "fr", 2500);
  s.units = units;
  s.langcodeExtension = std::move(extension);
  return s;
}

MuxSource audio(int slot, std::string extension, std::string description = "") {
  MuxSource s = source(StreamGroup::Audio, 0xC0,
                       {{slot, "/o/F." + std::to_string(slot), FileForm::Raw}}, "DD+.stream");
  s.langcodeExtension = std::move(extension);
  s.description = std::move(description);
  return s;
}

// PGS and VobSub go in without a delay (both count from video stream 0); a stream whose
// every unit starts forced, or that the playlist calls forced (09), gets the forced flag,
// one with some forced units does not; raw units stay out. The default flag goes to the
// first video (in the disc's default language), the first normal audio (01) after a
// commentary (03) and the forced subtitles. The count line says what went in.
TEST(MuxPlanTest, SubtitlesAsPgsOrVobSubWithTheirFlagsAndTheCountLine) {
  using F = FileForm;
  const std::vector<MuxSource> sources{source(StreamGroup::Video, 0xE0, {{1, "/o/F.m2v", F::Raw}}),
                                       audio(17, "03", "Commentary"),
                                       audio(18, "01"),
                                       audio(19, "01"),
                                       subtitles(33, F::VobSubIndex, {UnitFormat::Dvd, 4, 0}),
                                       subtitles(34, F::Pgs, {UnitFormat::Hd, 3, 3}),
                                       subtitles(35, F::Pgs, {UnitFormat::Hd, 3, 1}),
                                       subtitles(36, F::Pgs, {UnitFormat::Hd, 2, 0}, "09"),
                                       subtitles(37, F::Raw, {UnitFormat::Hd, 0, 0}, "09")};
  const MuxRequest request{"/o/film.mkv", "", "", "en", ""};
  const MuxPlan plan = muxPlan(request, sources);
  std::string call;
  for (const std::string& argument : plan.arguments) call += (call.empty() ? "" : " ") + argument;
  EXPECT_EQ(
      call,
      "-o /o/film.mkv --language 0:en --track-name 0:MPEG-2 --default-track-flag 0:1 /o/F.m2v "
      "--track-name 0:Commentary --default-track-flag 0:0 /o/F.17 "
      "--track-name 0:DD+ --default-track-flag 0:1 /o/F.18 "
      "--track-name 0:DD+ --default-track-flag 0:0 /o/F.19 "
      "--language 0:fr --track-name 0:French subtitles --default-track-flag 0:0 /o/F.Sub.33.idx "
      "--language 0:fr --track-name 0:French subtitles --default-track-flag 0:1 "
      "--forced-display-flag 0:1 /o/F.Sub.34.pgs.sup "
      "--language 0:fr --track-name 0:French subtitles --default-track-flag 0:0 "
      "/o/F.Sub.35.pgs.sup "
      "--language 0:fr --track-name 0:French subtitles --default-track-flag 0:1 "
      "--forced-display-flag 0:1 /o/F.Sub.36.pgs.sup");
  EXPECT_EQ(plan.tracks.size(), 8u);
  EXPECT_EQ(plan.notes.size(), 1u);
  EXPECT_EQ(plan.count, "8 of 9 streams are in film.mkv; 1 kept beside it");
  EXPECT_EQ(muxPlan(request, {sources[0], sources[5]}).count, "2 of 2 streams are in film.mkv");
}

// The track's name without a description: its language's English name (whichever code the
// playlist used), its codec as players name it and its channels; "Commentary" for a
// commentary; never the output's caption, which names files ("DD+.6ch.stream.00",
// "8bitRLC.stream.01"). A description always wins.
TEST(MuxPlanTest, TrackNamesWithoutADescriptionAreReadableNeverACaption) {
  using G = StreamGroup;
  const auto named = [](MuxSource s, std::optional<int> channels, std::vector<std::string> flags) {
    s.channels = channels;
    s.flags = std::move(flags);
    return s;
  };
  const auto file = [](int slot) {
    return std::vector<MadeFile>{{slot, "/o/" + std::to_string(slot), FileForm::Raw}};
  };
  std::vector<MuxSource> sources{
      named(source(G::Audio, 0xC0, file(17), "DD+.6ch.stream.00", "eng"), 6, {}),
      named(source(G::Audio, 0x89, file(18), "DTSHD.stream.01", "fr"), 6, {}),
      named(source(G::Audio, 0xB2, file(19), "MLP.8ch.stream.02", "ger"), 8, {}),
      named(source(G::Audio, 0xC3, file(20), "DD+.2ch.stream.03", "en"), 2, {"commentary"}),
      named(source(G::Audio, 0x84, file(21), "DD.stream.04", "xx"), 1, {}),
      named(source(G::Sub, 0x60, {{34, "/o/34.pgs.sup", FileForm::Pgs}}, "8bitRLC.stream.01"),
            std::nullopt, {}),
      named(source(G::Sub, 0x20, {{35, "/o/35.pgs.sup", FileForm::Pgs}}, "SP.stream.02", "ja"),
            std::nullopt, {"forced"}),
  };
  sources.push_back(sources[0]);
  sources.back().description = "Director's words";
  std::vector<std::string> names;
  const MuxPlan plan = muxPlan({"/o/film.mkv", "", "", "", ""}, sources);
  for (std::size_t n = 0; n + 1 < plan.arguments.size(); ++n) {
    if (plan.arguments[n] == "--track-name") names.push_back(plan.arguments[n + 1]);
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{
                "0:English DD+ 5.1", "0:French DTS-HD 5.1", "0:German TrueHD 7.1", "0:Commentary",
                "0:DD 1.0", "0:Subtitles", "0:Japanese subtitles", "0:Director's words"}));
}

// An audio track with breaks goes in as its parts' files, each with its --sync, appended
// with "+" after the track's options; without a folder for them (an option file) the raw
// file goes in whole at its first part's delay, which also stands for a single part's;
// LPCM as WAV goes in whole.
TEST(MuxPlanTest, AnAudioTrackWithBreaksGoesInAsItsPartsEachWithItsSync) {
  MuxSource cut = audio(17, "01");
  cut.delayMs = 250;  // the smallest time stamp's, which the parts replace
  cut.parts = {{0, 4000, 256}, {4000, 9000, 480}, {9000, 12000, -100}};
  MuxSource single = audio(18, "01");
  single.parts = {{10, 500, -7}};
  MuxSource wav = source(StreamGroup::Audio, 0xA0, {{19, "/o/F.19.wav", FileForm::Wav}});
  wav.parts = cut.parts;

  const MuxPlan plan = muxPlan({"/o/film.mkv", "", "", "", "/o/.parts"}, {cut, single, wav});
  std::string call;
  for (const std::string& argument : plan.arguments) call += (call.empty() ? "" : " ") + argument;
  EXPECT_EQ(call,
            "-o /o/film.mkv --track-name 0:DD+ --default-track-flag 0:1 "
            "--sync 0:256 /o/.parts/0.F.17 + --sync 0:480 /o/.parts/1.F.17 "
            "+ --sync 0:-100 /o/.parts/2.F.17 "
            "--track-name 0:DD+ --default-track-flag 0:0 --sync 0:-7 /o/F.18 "
            "--track-name 0:LPCM --default-track-flag 0:0 --sync 0:256 /o/F.19.wav");
  ASSERT_EQ(plan.parts.size(), 3u);
  EXPECT_EQ(plan.parts[1].from, "/o/F.17");
  EXPECT_EQ(plan.parts[1].begin, 4000u);
  EXPECT_EQ(plan.parts[1].end, 9000u);
  EXPECT_EQ(plan.parts[1].path, "/o/.parts/1.F.17");
  EXPECT_EQ(plan.consumed, (std::vector<std::string>{"/o/F.17", "/o/F.18", "/o/F.19.wav"}));
  EXPECT_EQ(plan.tracks.size(), 3u);

  const MuxPlan whole = muxPlan({"/o/film.mkv", "", "", "", ""}, {cut});
  EXPECT_TRUE(whole.parts.empty());
  EXPECT_EQ(whole.arguments.at(whole.arguments.size() - 3), "--sync");
  EXPECT_EQ(whole.arguments.at(whole.arguments.size() - 2), "0:256");
  EXPECT_EQ(whole.arguments.back(), "/o/F.17");
}

}  // namespace
}  // namespace tessaly
