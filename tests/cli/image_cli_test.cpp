// tessaly-cli disc and title on an image of the sample disc (tessaly-udf-image writes it):
// the same listing and byte-identical tracks as on the folder it was made of, the image
// kept from being written over, and the images refused with the image named.
#include <unistd.h>
#include <nlohmann/json.hpp>

#include "cli_run.h"

namespace tessaly::cli {
namespace {

using Json = nlohmann::json;

class ImageCliTest : public CliRunTest {
 protected:
  static void SetUpTestSuite() {
    sample = std::make_unique<testing::TempDir>();
    commandOutput("'" TESSALY_SAMPLE_DISC "' '" + disc() + "' >/dev/null");
    commandOutput("'" TESSALY_UDF_IMAGE "' '" + disc() + "' '" + image() + "'");
  }
  static void TearDownTestSuite() { sample.reset(); }
  static std::string disc() { return sample->file("disc"); }
  static std::string image() { return sample->file("sample.iso"); }

  // Every file of `folder` by name, with its bytes.
  static std::map<std::string, Bytes> contents(const std::string& folder) {
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
      files[entry.path().filename().string()] = testing::readFile(entry.path().string());
    }
    return files;
  }

  static std::unique_ptr<testing::TempDir> sample;
};

std::unique_ptr<testing::TempDir> ImageCliTest::sample;

TEST_F(ImageCliTest, DiscListsTheImageAsItListsTheFolder) {
  const Outcome folder = run({"disc", disc(), "--json"});
  const Outcome inImage = run({"disc", image(), "--json"});
  ASSERT_EQ(folder.status, 0) << folder.err;
  ASSERT_EQ(inImage.status, 0) << inImage.err;
  Json listed = Json::parse(inImage.out);
  EXPECT_EQ(listed.at("disc"), image());
  listed["disc"] = disc();
  const Json expected = Json::parse(folder.out);
  EXPECT_EQ(listed, expected);
  // Not two empty listings: the feature's clips found their EVOs in the image.
  EXPECT_EQ(listed.at("playlists").at(0).at("titles").at(1).at("clips").at(2).at("evo"),
            "WARNING.EVO");

  std::string text = run({"disc", image()}).out;
  ASSERT_EQ(text.rfind("Disc " + image() + "\n", 0), 0u) << text;
  text.replace(0, 5 + image().size(), "Disc " + disc());
  EXPECT_EQ(text, run({"disc", disc()}).out);
}

TEST_F(ImageCliTest, TitleWritesTheSameTracksFromTheImageAsFromTheFolder) {
  testing::TempDir fromFolder;
  for (const auto& [source, folder] :
       {std::pair{image(), out.path()}, std::pair{disc(), fromFolder.path()}}) {
    const Outcome result = run({"title", source, "--out", folder});
    ASSERT_EQ(result.status, 0) << source << "\n" << result.err;
  }
  const auto made = contents(out.path());
  EXPECT_EQ(made.size(), 7u);
  EXPECT_EQ(made, contents(fromFolder.path()));
  EXPECT_GT(made.at("Tessaly The Feature.video.m2v").size(), 1u << 20);
}

TEST_F(ImageCliTest, NoOutputIsWrittenOverTheImage) {
  const std::string inOutputs = out.file("Tessaly The Feature.video.m2v");
  fs::copy_file(image(), inOutputs);
  const Outcome result = run({"title", inOutputs, "--out", out.path()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(
      result.err.find("Cannot create file \"" + inOutputs + "\". It is one of the input files."),
      std::string::npos)
      << result.err;
  EXPECT_TRUE(testing::readFile(inOutputs) == testing::readFile(image()));
}

TEST_F(ImageCliTest, ImagesThatAreNoHdDvdAreRefusedWithTheImageNamed) {
  testing::writeFile(in.file("text.iso"), std::string("not an image"));
  fs::copy_file(image(), in.file("cut.iso"));
  ASSERT_EQ(::truncate(in.file("cut.iso").c_str(), 300 * 1024), 0);
  commandOutput("'" TESSALY_UDF_IMAGE "' '" + disc() + "/ADV_OBJ' '" + in.file("adv.iso") + "'");
  const std::vector<std::pair<std::string, std::string>> refusals{
      {"text.iso", "It holds no UDF file system."},
      {"cut.iso", "It is truncated: its file system reaches past its 307200 bytes."},
      {"adv.iso", "It has no HVDVD_TS folder: it is not an HD DVD."}};
  for (const auto& [name, reason] : refusals) {
    for (const auto& args :
         {std::vector<std::string>{"disc", in.file(name)},
          std::vector<std::string>{"title", in.file(name), "--out", out.path()}}) {
      const Outcome result = run(args);
      EXPECT_EQ(result.status, 1) << args[0] << " " << name;
      // libudfread's own error lines may come before it.
      const std::string refusal =
          "tessaly-cli: Cannot read disc image \"" + in.file(name) + "\". " + reason + "\n";
      EXPECT_TRUE(result.err.ends_with(refusal)) << result.err;
    }
  }
  EXPECT_TRUE(fs::is_empty(out.path()));
}

}  // namespace
}  // namespace tessaly::cli
