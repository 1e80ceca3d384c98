// Text from a crafted disc on its way into the Matroska file: never an option or an
// option file for mkvmerge, never a value that makes it refuse the call, always the text
// itself in the file (mkvmerge -J the oracle).
#include <nlohmann/json.hpp>

#include <filesystem>

#include "disc_fixture.h"
#include "mux/mkvmerge_run.h"
#include "mux/mux_plan.h"
#include "support/recording_observer.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using testing::commandOutput;

Json identified(const std::string& mkv) {
  return Json::parse(commandOutput("mkvmerge -J '" + mkv + "'"));
}

class MatroskaValuesTest : public testing::DiscTest {
 protected:
  testing::ChildRun mux(std::vector<std::string> more = {}) {
    std::vector<std::string> args{"demux", evo1,          "--xpl", xpl,
                                  "--out", out.file("o"), "--mkv", mkv};
    args.insert(args.end(), more.begin(), more.end());
    return run(args);
  }
  const std::string mkv = out.file("o/film.mkv");
};

// The title went to mkvmerge as `--title TITLE`: "--help", "-V", "--list-types" and the
// like made it print and exit 0 (and the streams were removed), "@FILE" made it read an
// option file the disc named (attaching any local file), "--redirect-output" swallowed
// "--chapters". Each title now reaches the file as its text, with the chapters and no
// attachment.
TEST_F(MatroskaValuesTest, HostileTitlesReachTheFileAsTheirText) {
  testing::writeFile(out.file("secret.txt"), std::string("secret"));
  testing::writeFile(out.file("evil.json"),
                     "[\"--attach-file\", \"" + out.file("secret.txt") + "\"]");
  const std::vector<std::pair<std::string, std::string>> titles = {
      {"--help", "--help"},
      {"-h", "-h"},
      {"--version", "--version"},
      {"-V", "-V"},
      {"--list-types", "--list-types"},
      {"--list-languages", "--list-languages"},
      {"--redirect-output", "--redirect-output"},
      {"-J", "-J"},
      {"@" + out.file("evil.json"), "@" + out.file("evil.json")},
      {"-", "-"},
      {"@", "@"},
      {"&quot;Quoted&quot; &apos;and&apos; \\&amp;", "\"Quoted\" 'and' \\&"},
      {"Bad \xFF\xFE bytes", "Bad \xEF\xBF\xBD\xEF\xBF\xBD bytes"},
  };
  std::string current = "Tessaly: The Feature";
  for (const auto& [attribute, title] : titles) {
    SCOPED_TRACE(title);
    edit("displayName=\"" + current + "\"", "displayName=\"" + attribute + "\"");
    current = attribute;
    fs::remove_all(out.file("o"));
    const testing::ChildRun r = mux({"--select", "cbVideo0", "--no-continue"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("The title's name is not valid UTF-8") != std::string::npos,
              attribute.find('\xFF') != std::string::npos);
    const Json file = identified(mkv);
    EXPECT_EQ(file.at("container").at("properties").value("title", ""), title);
    EXPECT_EQ(file.at("chapters").at(0).at("num_entries"), 2);  // those of FEATURE_1 alone
    EXPECT_TRUE(file.at("attachments").empty());
    EXPECT_EQ(file.at("tracks").size(), 1u);
  }
}

// Values that cannot come from a disc (its text turns line breaks into spaces) but may
// come from elsewhere travel whole too: line breaks, quotes, a leading "-" or "@", in the
// title and in a track's name.
TEST(MatroskaValues, LineBreaksAndQuotesTravelWhole) {
  testing::TempDir dir;
  commandOutput("ffmpeg -v error -f lavfi -i sine=d=1 -c:a ac3 -f ac3 '" + dir.file("a.ac3") + "'");
  testing::RecordingObserver observer;
  for (const std::string text : {"One\nTwo\r\n\"three\" 'four'", "-o\n--help", "@x\ny"}) {
    SCOPED_TRACE(text);
    MuxSource source;
    source.group = StreamGroup::Audio;
    source.files = {{17, dir.file("a.ac3"), FileForm::Raw}};
    source.description = text;
    const MuxPlan plan = muxPlan({dir.file("t.mkv"), text, "", "", ""}, {source});
    ASSERT_TRUE(runMkvmerge(observer, plan.arguments, dir.file("t.mkv"), ""));
    if (!plan.titleAfter.empty()) {
      ASSERT_TRUE(setMatroskaTitle(observer, dir.file("t.mkv"), text, ""));
    }
    const Json file = identified(dir.file("t.mkv"));
    EXPECT_EQ(file.at("container").at("properties").value("title", ""), text);
    EXPECT_EQ(file.at("tracks").at(0).at("properties").value("track_name", ""), text);
  }
}

// langcode="zz:00", "qq" or "xyz" passed the two-or-three-letters test and made mkvmerge
// refuse the whole call; defaultLanguage="english" went into ChapterLanguage and the
// chapter file was refused; a chapter name with &#xFFFF;, &#xFFFE; or bytes that are not
// UTF-8 gave chapter XML that was not well-formed; "&amp;" reached a track's name
// undecoded. Each bad value is now left out with a warning line and the rest goes on.
TEST_F(MatroskaValuesTest, PlaylistValuesMkvmergeWouldRefuseAreLeftOutOrMadeValid) {
  edit("langcode=\"en:01\" description=\"English\"/>\n        <Audio track=\"2\"",
       "langcode=\"zz:00\" description=\"Dolby &amp; more\"/>\n        <Audio track=\"2\"");
  edit("langcode=\"en:01\" description=\"English lossless\"", "langcode=\"qq\"");
  edit("<Subtitle track=\"1\" streamNumber=\"1\" mediaAttr=\"1\" langcode=\"en:01\"",
       "<Subtitle track=\"1\" streamNumber=\"1\" mediaAttr=\"1\" langcode=\"xyz\"");
  edit("defaultLanguage=\"en\"", "defaultLanguage=\"english\"");
  edit("displayName=\"Opening\"", "displayName=\"Op&#xFFFF;en&#xFFFE;ing \xFF!\"");
  const testing::ChildRun r = mux({"--subpictures", "timed", "--keep-streams"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const std::string value : {"zz", "qq", "xyz"}) {
    EXPECT_NE(r.out.find(": the playlist's language \"" + value +
                         "\" is no ISO 639 code; the track has none."),
              std::string::npos)
        << value;
  }
  EXPECT_NE(r.out.find("The chapters' language \"english\" is no ISO 639 code; the chapters "
                       "have none.\n"),
            std::string::npos);
  commandOutput("xmllint --noout '" + out.file("o/FEATURE_1.chapters.xml") + "'");

  const Json file = identified(mkv);
  std::vector<std::string> names;
  std::vector<std::string> languages;
  for (const Json& track : file.at("tracks")) {
    names.push_back(track.at("properties").value("track_name", ""));
    languages.push_back(track.at("properties").value("language", ""));
  }
  EXPECT_EQ(names.at(1), "Dolby & more");  // its description, which names the track
  EXPECT_EQ(languages, (std::vector<std::string>{"und", "und", "und", "ger", "und"}));
  EXPECT_EQ(file.at("chapters").at(0).at("num_entries"), 4);
  const std::string chapters = commandOutput("mkvextract '" + mkv + "' chapters --simple -");
  EXPECT_NE(chapters.find("CHAPTER01NAME=Op\xEF\xBF\xBD"
                          "en\xEF\xBF\xBDing \xEF\xBF\xBD!\n"),
            std::string::npos)
      << chapters;
}

}  // namespace
}  // namespace tessaly
