// The disc image reader on images of the sample disc, against the folder they were made
// of: what it lists and what it reads back in the engine's chunks; the disc's folders
// found in any case; a read that fails once the image has shrunk.
#include "disc_image/disc_image.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "platform/error.h"
#include "sample_images.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::SampleImages;

constexpr std::size_t kChunk = 32 * 1024;  // what the engine asks for

// Path from the root and size of every file and folder (-1 for a folder).
using Tree = std::map<std::string, std::int64_t>;

Tree folderTree(const std::string& disc) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(disc)) {
    tree["/" + fs::relative(entry.path(), disc).string()] =
        entry.is_directory() ? -1 : static_cast<std::int64_t>(entry.file_size());
  }
  return tree;
}

Tree imageTree(const DiscImage& image) {
  Tree tree;
  for (const ImageEntry& entry : image.entries()) tree[entry.path] = entry.folder ? -1 : entry.size;
  return tree;
}

std::vector<std::uint8_t> readAll(ImageFile& file) {
  std::vector<std::uint8_t> bytes;
  for (auto chunk = file.next(kChunk); !chunk.empty(); chunk = file.next(kChunk)) {
    EXPECT_LE(chunk.size(), kChunk);
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
  }
  return bytes;
}

class SampleImageTest : public ::testing::TestWithParam<bool> {
 protected:
  const std::string& imagePath() const {
    return GetParam() ? SampleImages::get().image : SampleImages::get().bridge;
  }
};

TEST_P(SampleImageTest, ListsTheFolderAndReadsEveryFileBackByteForByte) {
  const std::string& disc = SampleImages::get().disc;
  const DiscImage image(imagePath());
  EXPECT_EQ(imageTree(image), folderTree(disc));
  EXPECT_EQ(image.titleSetFolder().path, "/HVDVD_TS");
  ASSERT_NE(image.advancedFolder(), nullptr);
  EXPECT_EQ(image.advancedFolder()->path, "/ADV_OBJ");
  for (const ImageEntry& entry : image.entries()) {
    if (entry.folder) continue;
    ImageFile file = image.open(entry);
    EXPECT_EQ(file.path(), imagePath() + ":" + entry.path);
    EXPECT_EQ(file.id(), fileIdOf(imagePath()));
    EXPECT_EQ(readAll(file), testing::readFile(disc + entry.path)) << entry.path;
    EXPECT_EQ(file.position(), entry.size);
  }
}

// The writer's own image (UDF 2.50, metadata partition) and genisoimage's (UDF 1.02).
INSTANTIATE_TEST_SUITE_P(Writers, SampleImageTest, ::testing::Bool());

TEST(UdfImageWriterTest, UdfinfoReadsTheSampleImageAsUdf250WithItsFilesAndFolders) {
  const auto& sample = SampleImages::get();
  const std::string info =
      testing::commandOutput("'" + testing::program("udfinfo") + "' '" + sample.image + "'");
  int files = 0, folders = 1;  // the root
  for (const auto& [path, size] : folderTree(sample.disc)) (size < 0 ? folders : files) += 1;
  for (const std::string& line : std::vector<std::string>{"udfrev=2.50", "accesstype=readonly",
                                                          "numfiles=" + std::to_string(files),
                                                          "numdirs=" + std::to_string(folders)}) {
    EXPECT_NE(info.find("\n" + line + "\n"), std::string::npos) << line << " in\n" << info;
  }
}

TEST(DiscImageTest, FindsTheDiscFoldersInAnyCaseAndShowsPathsAsTheImageSpellsThem) {
  testing::TempDir dir;
  fs::create_directories(dir.file("disc/hvdvd_ts/extra"));
  fs::create_directories(dir.file("disc/Adv_Obj"));
  testing::writeFile(dir.file("disc/hvdvd_ts/Feature_1.EVO"), std::string(70000, 'e'));
  testing::writeFile(dir.file("disc/hvdvd_ts/extra/notes.txt"), std::string("n"));
  testing::writeFile(dir.file("disc/Adv_Obj/VPLST000.XPL"), std::string("<Playlist/>"));
  tools::writeUdfImage(dir.file("disc"), dir.file("lower.iso"));
  const DiscImage image(dir.file("lower.iso"));
  EXPECT_EQ(image.titleSetFolder().path, "/hvdvd_ts");
  ASSERT_NE(image.advancedFolder(), nullptr);
  EXPECT_EQ(image.advancedFolder()->path, "/Adv_Obj");
  ASSERT_NE(image.find("/HVDVD_TS/FEATURE_1.EVO"), nullptr);
  EXPECT_EQ(image.find("/HVDVD_TS/FEATURE_1.EVO")->path, "/hvdvd_ts/Feature_1.EVO");
  EXPECT_EQ(image.find("/HVDVD_TS/FEATURE_2.EVO"), nullptr);
  const auto files = image.filesIn(image.titleSetFolder());  // not the subfolder's
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0]->path, "/hvdvd_ts/Feature_1.EVO");

  fs::remove_all(dir.file("disc/Adv_Obj"));
  tools::writeUdfImage(dir.file("disc"), dir.file("no_playlists.iso"));
  EXPECT_EQ(DiscImage(dir.file("no_playlists.iso")).advancedFolder(), nullptr);
}

TEST(DiscImageTest, AReadThatFailsOnceTheImageShrankNamesTheFileInsideTheImage) {
  testing::TempDir dir;
  const std::string copy = dir.file("shrinking.iso");
  fs::copy_file(SampleImages::get().image, copy);
  const DiscImage image(copy);
  ImageFile feature = image.open(*image.find("/HVDVD_TS/FEATURE_2.EVO"));
  ASSERT_EQ(::truncate(copy.c_str(), 1 << 20), 0);
  try {
    readAll(feature);
    ADD_FAILURE() << "the read went on past the image's end";
  } catch (const StreamError& error) {
    EXPECT_STREQ(error.what(), "Stream read error");
    EXPECT_EQ(
        error.detail(),
        "Reading " + copy + ":/HVDVD_TS/FEATURE_2.EVO failed: the image ends before the file");
  }
}

}  // namespace
}  // namespace tessaly
