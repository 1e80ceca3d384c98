// The Matroska file of the sample disc (both segments, the playlist) against the tools
// of the field: mkvmerge -J describes every muxable track with the playlist's language,
// its description (else a readable name, never its box's caption) as name and its delay as ffprobe
// measures it on the EVO file; ffprobe finds the chapters on the disc clock and ffmpeg decodes the
// film without an error; the option file run by mkvmerge itself gives the same file, and
// the VobSub index carries the playlist's language.
#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace tessaly::cli {
namespace {

using Json = nlohmann::json;

// What mkvmerge -J says of a Matroska file, less what differs between two runs (dates,
// UIDs, the file's name): the title, the chapter count and per track its codec, language,
// name and first timestamp.
Json matroskaFacts(const std::string& file) {
  const Json identified = Json::parse(commandOutput("mkvmerge -J '" + file + "'"));
  Json facts{{"title", identified.at("container").at("properties").value("title", "")},
             {"chapters", identified.at("chapters").empty()
                              ? 0
                              : identified.at("chapters").at(0).at("num_entries").get<int>()}};
  for (const Json& track : identified.at("tracks")) {
    const Json& p = track.at("properties");
    facts["tracks"].push_back({{"codec_id", p.at("codec_id")},
                               {"language", p.value("language_ietf", "und")},
                               {"name", p.value("track_name", "")},
                               {"start_ns", p.value("minimum_timestamp", std::int64_t{0})}});
  }
  return facts;
}

// ffprobe's start_time of the stream that the report names by its first id: the PES
// stream id for video (0x1e0), the sub-stream id in private stream 1 (0xc2) otherwise.
double ffprobeStart(const Json& probe, const Json& stream) {
  std::string id = stream.at("ids").at(0);
  for (char& c : id) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (stream.at("kind") == "video") id = "0x1" + id.substr(2);
  for (const Json& s : probe.at("streams")) {
    if (s.value("id", "") == id) return std::stod(s.at("start_time").get<std::string>());
  }
  ADD_FAILURE() << "ffprobe lists no stream " << id;
  return 0;
}

// The chapters' starts in milliseconds, as ffprobe reads them from a Matroska file.
std::vector<double> chapterStartsMs(const std::string& file) {
  const Json probe =
      Json::parse(commandOutput("ffprobe -v quiet -show_chapters -of json '" + file + "'"));
  std::vector<double> starts;
  for (const Json& chapter : probe.at("chapters")) {
    starts.push_back(std::stod(chapter.at("start_time").get<std::string>()) * 1000);
  }
  return starts;
}

// The frame of the EVO's video as ffprobe reads it: "WIDTHxHEIGHT".
std::string videoFrame(const std::string& evo) {
  const Json probe = Json::parse(commandOutput(
      "ffprobe -v quiet -select_streams v:0 -show_entries stream=width,height -of json '" + evo +
      "'"));
  const Json& video = probe.at("streams").at(0);
  return std::to_string(video.at("width").get<int>()) + "x" +
         std::to_string(video.at("height").get<int>());
}

// mkvmerge -J's tracks: codec, language, default and forced flag.
Json trackFlags(const std::string& file) {
  const Json identified = Json::parse(commandOutput("mkvmerge -J '" + file + "'"));
  Json tracks = Json::array();
  for (const Json& track : identified.at("tracks")) {
    const Json& p = track.at("properties");
    tracks.push_back({p.at("codec_id"), p.value("language_ietf", "und"),
                      p.value("default_track", false), p.value("forced_track", false)});
  }
  return tracks;
}

class MatroskaOracleTest : public CliRunTest {
 protected:
  void SetUp() override {
    commandOutput("'" TESSALY_SAMPLE_DISC "' '" + in.file("disc") + "' >/dev/null");
  }
  Outcome demux(const std::string& folder, std::vector<std::string> more) {
    std::vector<std::string> args{"demux",         evo,
                                  "--xpl",         in.file(kXpl),
                                  "--out",         out.file(folder),
                                  "--subpictures", "timed",
                                  "--report",      out.file(folder + ".json")};
    args.insert(args.end(), more.begin(), more.end());
    return run(args);
  }

  static constexpr const char* kXpl = "disc/ADV_OBJ/VPLST000.XPL";
  const std::string evo = in.file("disc/HVDVD_TS/FEATURE_1.EVO");
};

TEST_F(MatroskaOracleTest, TracksLanguagesNamesDelaysAndChaptersOfThePlaylistTitle) {
  const std::string mkv = out.file("film.mkv");
  const Outcome r = demux("film", {"--mkv", mkv});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json report = Json::parse(testing::textOf(out.file("film.json")));
  const Json probe = Json::parse(
      commandOutput("ffprobe -v quiet -show_entries stream=id,start_time -of json '" + evo + "'"));
  const Json facts = matroskaFacts(mkv);
  EXPECT_EQ(facts.at("title"), report.at("title").at("name"));
  EXPECT_EQ(facts.at("chapters"), report.at("title").at("chapters").size());

  // Every stream but the HD-DVD SUP one, in box order, as the report names it.
  const std::map<std::string, std::string> codecIds{
      {"MPEG-2", "V_MPEG2"}, {"DD+", "A_EAC3"}, {"MLP", "A_TRUEHD"}, {"Subpicture", "S_VOBSUB"}};
  const double videoStart = ffprobeStart(probe, report.at("streams").at(0));
  std::size_t track = 0;
  for (const Json& stream : report.at("streams")) {
    const std::string output = stream.at("output");
    if (output.ends_with(".sup")) {
      EXPECT_TRUE(fs::exists(output)) << "kept beside the Matroska file";
      EXPECT_NE(r.out.find("Kept beside film.mkv: " + output), std::string::npos);
      continue;
    }
    SCOPED_TRACE(output);
    EXPECT_FALSE(fs::exists(output)) << "removed once muxed";
    ASSERT_LT(track, facts.at("tracks").size());
    const Json& t = facts.at("tracks").at(track++);
    EXPECT_EQ(t.at("codec_id"), codecIds.at(stream.at("codec")));
    const Json& description = stream.at("description");  // the playlist's, else readable
    if (description.is_null()) {
      EXPECT_NE(t.at("name"), stream.at("caption"));
    } else {
      EXPECT_EQ(t.at("name"), description);
    }
    // null when the playlist has none; the video takes the disc's defaultLanguage "en"
    const Json& language = stream.at("language");
    const Json video = stream.at("kind") == "video" ? Json("en") : language;
    EXPECT_EQ(t.at("language"), video.is_null() ? Json("und") : video);
    const double delayMs = (ffprobeStart(probe, stream) - videoStart) * 1000;
    EXPECT_NEAR(t.at("start_ns").get<double>() / 1e6, delayMs, 1.0);
  }
  EXPECT_EQ(track, facts.at("tracks").size());
  EXPECT_EQ(track, 5u);  // video, three audio streams, the VobSub captions
  EXPECT_EQ(facts.at("tracks").at(3).at("start_ns"), 1'000'000'000);  // the late commentary

  // VPLST000.XPL's chapters at 00:00:27:45, 00:01:21:30 and 00:01:52:55 are 1665, 4890 and
  // 6775 counts of 1001/60000 s: 27.78, 81.58 and 113.03 s, where counts of 1/60 s would
  // put the last 113 ms early.
  const std::vector<double> counts{0, 1665, 4890, 6775};
  const std::vector<double> starts = chapterStartsMs(mkv);
  ASSERT_EQ(starts.size(), counts.size());
  for (std::size_t n = 0; n < counts.size(); ++n) {
    EXPECT_NEAR(starts[n], counts[n] * 1001 / 60, 1.0) << "chapter " << n + 1;
  }
  EXPECT_EQ(
      commandOutput("ffmpeg -v error -nostdin -i '" + mkv + "' -map 0:v -map 0:a -f null - 2>&1"),
      "");
}

// --mkv alone: the forms Matroska takes. The English DVD-style captions go in as VobSub,
// the French HD ones as PGS, the forced ones (FSTA_DSP, langcode fr:09) with the forced
// flag; the default flags pick the film's video, audio and forced captions; ffmpeg decodes the film
// and draws both PGS tracks over it without an error; the report counts each stream's units and
// forced units.
TEST_F(MatroskaOracleTest, AFilmLeavesNothingOutWithTheFrenchCaptionsAsPgs) {
  const std::string mkv = out.file("film.mkv");
  const Outcome r = run({"demux", evo, "--xpl", in.file(kXpl), "--out", out.file("film"),
                         "--report", out.file("film.json"), "--mkv", mkv});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto log = lines(r.out);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "7 of 7 streams are in film.mkv");
  EXPECT_EQ(log.back(), "Done.");
  // By default: the video, the English audio (en:01), the forced captions; not the
  // lossless English audio after it, nor the commentary (de:03).
  EXPECT_EQ(trackFlags(mkv), (Json{{"V_MPEG2", "en", true, false},
                                   {"A_EAC3", "en", true, false},
                                   {"A_TRUEHD", "en", false, false},
                                   {"A_EAC3", "de", false, false},
                                   {"S_VOBSUB", "en", false, false},
                                   {"S_HDMV/PGS", "fr", false, false},
                                   {"S_HDMV/PGS", "fr", true, true}}));
  EXPECT_EQ(commandOutput("ffmpeg -v error -nostdin -i '" + mkv + "' -f null - 2>&1"), "");
  for (const char* pgs : {"[0:v][0:s:1]overlay", "[0:v][0:s:2]overlay"}) {
    EXPECT_EQ(commandOutput("ffmpeg -v error -nostdin -i '" + mkv + "' -filter_complex '" + pgs +
                            "' -f null - 2>&1"),
              "")
        << pgs;
  }

  const Json report = Json::parse(testing::textOf(out.file("film.json")));
  Json units = Json::array();
  for (const Json& stream : report.at("streams")) {
    if (stream.at("kind") != "subpicture") continue;
    units.push_back({stream.at("format"), stream.at("units"), stream.at("forced_units")});
  }
  // tools/sample_captions.h: six English, six French and three forced French captions.
  EXPECT_EQ(units, (Json{{"dvd", 6, 0}, {"hd", 6, 0}, {"hd", 3, 3}}));
}

TEST_F(MatroskaOracleTest, TheOptionFileRunByMkvmergeMakesTheSameFile) {
  ASSERT_EQ(demux("run", {"--mkv", out.file("run.mkv")}).status, 0);
  const std::string optionFile = out.file("call.json");
  const std::string palette =
      "101010,f0f0f0,202020,e0e0e0,303030,d0d0d0,404040,c0c0c0,505050,"
      "b0b0b0,606060,a0a0a0,707070,909090,808080,ff0000";
  const Outcome r = demux("file", {"--mkv", out.file("file.mkv"), "--mkvmerge-options", optionFile,
                                   "--vobsub-palette", palette});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(out.file("file.mkv"))) << "written, not run";
  commandOutput("mkvmerge -q '@" + optionFile + "'");
  EXPECT_EQ(matroskaFacts(out.file("file.mkv")), matroskaFacts(out.file("run.mkv")));

  // The VobSub index names the playlist's language for readers without mkvmerge's call,
  // the sample video's frame and the palette asked for.
  const auto idx = lines(testing::textOf(out.file("file/FEATURE_1.8bitRLC.stream.00.English.idx")));
  EXPECT_NE(std::find(idx.begin(), idx.end(), "id: en, index: 0"), idx.end());
  EXPECT_NE(std::find(idx.begin(), idx.end(), "size: " + videoFrame(evo)), idx.end());
  std::string shown = "palette: " + palette;
  for (std::size_t at = 0; (at = shown.find(',', at)) != std::string::npos; at += 2) {
    shown.insert(at + 1, " ");
  }
  EXPECT_NE(std::find(idx.begin(), idx.end(), shown), idx.end());
}

}  // namespace
}  // namespace tessaly::cli
