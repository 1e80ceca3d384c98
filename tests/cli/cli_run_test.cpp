// tessaly-cli run as a program on generated files.
#include <set>

#include "cli/verbs.h"
#include "cli_run.h"

namespace tessaly::cli {
namespace {

// A playlist whose only title plays FEATURE_1: VC-1 video and DD+ as stream 4.
constexpr const char* kPlaylist = R"(<?xml version="1.0"?>
<Playlist displayName="Disc">
  <MediaAttributeList>
    <VideoAttributeItem index="1" codec="VC-1"/>
    <AudioAttributeItem index="1" codec="DD+" channels="6"/>
  </MediaAttributeList>
  <TitleSet>
    <Title displayName="Main" titleDuration="01:30:00">
      <PrimaryAudioVideoClip src="file:///dvddisc/HVDVD_TS/FEATURE_1.MAP">
        <Video track="1" mediaAttr="1"/>
        <Audio track="1" streamNumber="4" mediaAttr="1" description="English"/>
      </PrimaryAudioVideoClip>
    </Title>
  </TitleSet>
</Playlist>
)";

TEST_F(CliRunTest, ScanPrintsTheLogThenTheTickedBoxes) {
  writeEvo("FEATURE_1.EVO", feature);
  const Outcome r = run({"scan", in.file("FEATURE_1.EVO")});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto printed = lines(r.out);
  ASSERT_GE(printed.size(), 7u);
  EXPECT_EQ(printed[0], "Opening file FEATURE_1.EVO");
  EXPECT_EQ(printed[1], "File size: 0 Mbytes.");
  const std::vector<std::string> tail(printed.end() - 5, printed.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Done.", "cbVideo0\tVC-1.stream.0",
                                            "cbAudio01\tMLP.stream.01", "cbAudio03\tDD+.stream.03",
                                            "cbSub12\tSubpicture.12"}));
  EXPECT_EQ(lines(r.err), (std::vector<std::string>{"Opening", "Reading", "Ready"}));
}

TEST_F(CliRunTest, DemuxWritesTheSelectedStreamsOfBothSegmentsByteForByte) {
  auto first = writeEvo("FEATURE_1.EVO", feature, 1);
  auto second = writeEvo("FEATURE_2.EVO", feature, 2);
  const Outcome r = run({"demux", in.file("FEATURE_1.EVO"), "--out", out.path(), "--select",
                         "cbVideo0,cbAudio01", "--audio-ext", "mlp"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.VC-1.stream.0.mpv")),
            joined(first[1], second[1]));
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.MLP.stream.01.mlp")),
            joined(first[18], second[18]));
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 2);
  const auto log = lines(r.out);
  EXPECT_NE(std::find(log.begin(), log.end(), "Continue on FEATURE_2.EVO"), log.end());
  EXPECT_EQ(log.back(), "Done.");
}

TEST_F(CliRunTest, DemuxWithoutContinuationTakesTheScannedTicks) {
  auto first = writeEvo("FEATURE_1.EVO", feature, 1);
  writeEvo("FEATURE_2.EVO", feature, 2);
  const Outcome r = run({"demux", in.file("FEATURE_1.EVO"), "--out=" + out.path(), "--no-continue",
                         "--full", "--sub-ext", ""});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.DD+.stream.03.mpa")), first[20]);
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.Subpicture.12.")), first[45]);
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 4);
  EXPECT_EQ(r.out.find("Continue on "), std::string::npos);
}

TEST_F(CliRunTest, FailedJobsExitWithOneAndTheOperatorsMessage) {
  Outcome r = run({"scan", in.file("MISSING.EVO")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(lines(r.err).back(), "tessaly-cli: Cannot open file \"" + in.file("MISSING.EVO") +
                                     "\". No such file or directory");

  writeEvo("FEATURE_1.EVO", feature);
  testing::writeFile(out.file("plain"), std::string("a file, not a folder"));
  r = run({"demux", in.file("FEATURE_1.EVO"), "--out", out.file("plain/sub")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(lines(r.err).back(),
            "tessaly-cli: Cannot create folder \"" + out.file("plain/sub") + "\". Not a directory");
  EXPECT_EQ(r.out, "");  // refused before the file was read

  writeEvo("EMPTY_1.EVO", [](PsWriter& w) {  // a program stream, but of no stream
    w.navPack();
    w.garbage(100);
  });
  r = run({"demux", in.file("EMPTY_1.EVO"), "--out", out.path()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(lines(r.err).back(), "tessaly-cli: no stream box is ticked: nothing to demux");
}

// The demux finds its streams in the pass that writes them: each segment is read once,
// whether the outputs are found, selected or labelled by the playlist first.
TEST_F(CliRunTest, DemuxReadsEachSegmentOnce) {
  const auto first = writeEvo("FEATURE_1.EVO", [](PsWriter& w) {
    w.navPack();
    for (int n = 0; n < 500; ++n) {  // some 4 MB: a second read cannot hide in the margin
      w.pack(Stream::vc1(0));
      w.pack(Stream::ddPlus(3), 1500);
      w.pack(Stream::subpicture(12), 500);
    }
    w.pack(Stream::mlp(1), 1400);  // found at the end: its output comes late
  });
  writeEvo("FEATURE_2.EVO", feature, 2);
  testing::writeFile(in.file("VPLST000.XPL"), std::string(kPlaylist));
  const auto segments =
      fs::file_size(in.file("FEATURE_1.EVO")) + fs::file_size(in.file("FEATURE_2.EVO"));
  constexpr std::uint64_t kMargin = 256 * 1024;  // the loader's and the playlist's reads
  const std::string evo = in.file("FEATURE_1.EVO");
  for (const std::vector<std::string>& more : {std::vector<std::string>{},
                                               {"--select", "video0,cbAudio01"},
                                               {"--xpl", in.file("VPLST000.XPL")}}) {
    SCOPED_TRACE(more.empty() ? "found" : more.front());
    fs::remove_all(out.path());
    std::vector<std::string> args{"demux", evo, "--out", out.path()};
    args.insert(args.end(), more.begin(), more.end());
    const Outcome r = run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_GE(r.bytesRead, segments);
    EXPECT_LT(r.bytesRead, segments + kMargin);
    EXPECT_EQ(lines(r.out).back(), "Done.");
  }
  // The last stream found had its output created when it was found, and holds it all.
  fs::remove_all(out.path());
  ASSERT_EQ(run({"demux", evo, "--out", out.path(), "--no-continue"}).status, 0);
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.MLP.stream.01.mpa")), first.at(18));
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.Subpicture.12.sup")), first.at(45));
}

// Without --xpl, demux takes the playlist beside the EVO's HVDVD_TS folder; --no-xpl, or a
// playlist there that cannot be read or has no title for the EVO, leaves the outputs to
// the EVO's own streams, while the same playlist asked for with --xpl fails the job.
TEST_F(CliRunTest, DemuxTakesThePlaylistBesideTheDiscUnlessRefusedOrUnusable) {
  fs::create_directories(in.file("HVDVD_TS"));
  fs::create_directories(in.file("ADV_OBJ"));
  writeEvo("HVDVD_TS/FEATURE_1.EVO", feature);
  const std::string xpl = in.file("ADV_OBJ/VPLST000.XPL");
  const auto demux = [&](std::vector<std::string> more, std::set<std::string>& made) {
    fs::remove_all(out.path());
    std::vector<std::string> args{"demux", in.file("HVDVD_TS/FEATURE_1.EVO"), "--out", out.path()};
    args.insert(args.end(), more.begin(), more.end());
    const Outcome r = run(args);
    made.clear();
    if (fs::exists(out.path())) {
      for (const auto& entry : fs::directory_iterator(out.path())) {
        made.insert(entry.path().filename().string());
      }
    }
    return r;
  };
  // The playlist found gives the title; the streams name the outputs, and a stream that
  // the title does not list is written all the same.
  const std::set<std::string> streams{"FEATURE_1.VC-1.stream.0.mpv", "FEATURE_1.MLP.stream.01.mpa",
                                      "FEATURE_1.DD+.stream.03.mpa", "FEATURE_1.Subpicture.12.sup"};
  std::set<std::string> made;
  testing::writeFile(xpl, std::string(kPlaylist));
  Outcome r = demux({}, made);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Playlist found: " + xpl + "\nOpen VPLST000.XPL\n"), std::string::npos);
  EXPECT_EQ(made, streams);

  r = demux({"--no-xpl"}, made);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find("VPLST000.XPL"), std::string::npos);
  EXPECT_EQ(made, streams);

  std::string otherTitle(kPlaylist);
  otherTitle.replace(otherTitle.find("FEATURE_1.MAP"), 9, "FEATURE_9");
  testing::writeFile(xpl, otherTitle);
  r = demux({}, made);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("going on without the playlist " + xpl), std::string::npos);
  EXPECT_EQ(made.size(), 4u);

  fs::resize_file(xpl, 17 * 1024 * 1024);  // too large to be read
  r = demux({}, made);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("going on without the playlist " + xpl), std::string::npos);
  EXPECT_EQ(made.size(), 4u);
  EXPECT_EQ(demux({"--xpl", xpl}, made).status, 1);
  EXPECT_TRUE(made.empty());
  EXPECT_EQ(demux({"--xpl", xpl, "--no-xpl"}, made).status, 2);
}

// A program stream is taken under any of its names; a file of that name without one in
// its first MiB is refused before any output is made.
TEST_F(CliRunTest, InputsAreTakenByContentUnderAnyProgramStreamName) {
  const auto streams = writeEvo("clip.vob", feature);
  ASSERT_EQ(run({"demux", in.file("clip.vob"), "--out", out.path(), "--no-continue"}).status, 0);
  EXPECT_EQ(testing::readFile(out.file("clip.VC-1.stream.0.mpv")), streams.at(1));
  fs::remove_all(out.path());
  fs::create_directories(out.path());

  writeEvo("late.MPEG", [](PsWriter& w) {
    w.garbage(1024 * 1024);  // the stream begins past the first MiB
    feature(w);
  });
  testing::writeFile(in.file("notes.Mpg"), std::string(2000, '\0') + "\x01\xB9 no stream");
  for (const std::string name : {"late.MPEG", "notes.Mpg"}) {
    for (const std::string verb : {"scan", "demux"}) {
      SCOPED_TRACE(verb + " " + name);
      std::vector<std::string> args{verb, in.file(name)};
      if (verb == "demux") args.insert(args.end(), {"--out", out.path()});
      const Outcome r = run(args);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.err, "tessaly-cli: Not an MPEG program stream: \"" + in.file(name) + "\"\n");
      EXPECT_EQ(r.out, "");
    }
  }
  EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST_F(CliRunTest, UsageErrorsExitWithTwoBeforeAnyJobRuns) {
  writeEvo("FEATURE_1.EVO", feature);
  const std::string evo = in.file("FEATURE_1.EVO");
  std::string badPalette;  // 16 values, the last no hex
  for (int n = 0; n < 15; ++n) badPalette += "a0b0c0,";
  badPalette += "a0b0cg";
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"split", evo},
      {"scan"},
      {"scan", evo, evo},
      {"scan", evo, "--out", out.path()},
      {"scan", in.file("VPLST000.XPL")},
      {"demux", evo, "--select", "cbAudio16"},
      {"demux", evo, "--select", ","},
      {"demux", evo, "--out"},
      {"demux", evo, "--video-ext", "toolong"},
      {"demux", evo, "--subpictures", "vobsub"},
      {"demux", evo, "--names", "codecs"},
      {"demux", evo, "--keep-streams"},
      {"demux", evo, "--mkvmerge-options", "a"},
      {"demux", evo, "--vobsub-palette", "ffffff"},
      {"demux", evo, "--vobsub-palette", badPalette}};
  for (const auto& args : wrong) {
    SCOPED_TRACE(args.empty() ? "(none)" : args.front() + " " + args.back());
    const Outcome r = run(args);
    EXPECT_EQ(r.status, 2);
    const auto errorLines = lines(r.err);
    ASSERT_EQ(errorLines.size(), 2u) << r.err;
    EXPECT_EQ(errorLines[0].rfind("tessaly-cli: ", 0), 0u);
    const bool knownVerb = !args.empty() && args.front() != "split";
    EXPECT_EQ(errorLines[1], knownVerb ? "try 'tessaly-cli " + args.front() + " --help'"
                                       : "try 'tessaly-cli --help'");
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST_F(CliRunTest, XplPrintsMemoTreeAndBoxesAndLabelsTheDemuxOutputs) {
  const auto first = writeEvo("FEATURE_1.EVO", feature);
  testing::writeFile(in.file("VPLST000.XPL"), std::string(kPlaylist));
  Outcome r = run({"xpl", in.file("VPLST000.XPL"), "--evo", in.file("FEATURE_1.EVO")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines(r.out), (std::vector<std::string>{
                              "Open VPLST000.XPL",
                              "Filesize: 544 bytes",
                              "VC-1.stream.0 found!",
                              "DD+.6ch.stream.03.English found!",
                              "Done.",
                              "[memo]",
                              "    <Title displayName=\"Main\" titleDuration=\"01:30:00\">",
                              "      <PrimaryAudioVideoClip src=\"file:///dvddisc/HVDVD_TS/"
                              "FEATURE_1.MAP\">",
                              "        <Video track=\"1\" mediaAttr=\"1\"/>",
                              "        <Audio track=\"1\" streamNumber=\"4\" mediaAttr=\"1\" "
                              "description=\"English\"/>",
                              "      </PrimaryAudioVideoClip>",
                              "    </Title>",
                              "[tree]",
                              "Info",
                              "  Title: Disc",
                              "  Name: Main",
                              "  Duration: 01:30:00",
                              "Video",
                              "  VC-1.stream.0",
                              "Audio",
                              "  DD+.6ch.stream.03.English",
                              "Subtitle",
                              "Chapter",
                              "Titles",
                              "  1: Main (01:30:05.400, 0 chapters; FEATURE_1.MAP)",
                              "[boxes]",
                              "cbVideo0\tVC-1.stream.0",
                              "cbAudio03\tDD+.6ch.stream.03.English"}));

  r = run(
      {"demux", in.file("FEATURE_1.EVO"), "--xpl", in.file("VPLST000.XPL"), "--out", out.path()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.VC-1.stream.0.mpv")), first.at(1));
  EXPECT_EQ(testing::readFile(out.file("FEATURE_1.DD+.6ch.stream.03.English.mpa")), first.at(20));
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 2);
  EXPECT_EQ(r.out.find("Opening file FEATURE_1.EVO\nFile size: "), r.out.find("Opening file"));
  EXPECT_EQ(r.out.find("Creating "), r.out.find("Creating " + out.file("FEATURE_1.VC-1")));

  EXPECT_EQ(run({"xpl", in.file("FEATURE_1.EVO")}).status, 2);
}

// --help alone lists every verb; "VERB --help" only that verb, with each of its options.
TEST_F(CliRunTest, HelpDescribesEveryVerbAndEachVerbItsOwnOptions) {
  const Outcome all = run({"--help"});
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(all.out, usageText());
  for (const auto& verb : verbs()) {
    SCOPED_TRACE(verb.name);
    EXPECT_NE(all.out.find("  " + verb.name + " " + verb.operands + "\n"), std::string::npos);
    const Outcome own = run({verb.name, "--help"});
    EXPECT_EQ(own.status, 0);
    EXPECT_EQ(own.err, "");
    EXPECT_EQ(own.out.rfind("Usage: tessaly-cli " + verb.name + " " + verb.operands, 0), 0u);
    EXPECT_NE(own.out.find(verb.summary), std::string::npos);
    for (const auto& option : verb.options) {
      const std::string shown =
          option.name + (option.valueName.empty() ? "" : " " + option.valueName);
      EXPECT_NE(own.out.find(shown), std::string::npos) << option.name;
      EXPECT_NE(all.out.find(shown), std::string::npos) << option.name;
    }
    for (const auto& other : verbs()) {
      if (other.name != verb.name) {
        EXPECT_EQ(own.out.find("  " + other.name + " " + other.operands + "\n"), std::string::npos);
      }
    }
  }
}

}  // namespace
}  // namespace tessaly::cli
