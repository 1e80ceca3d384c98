// Images the reader refuses, each with the message naming the image and the reason: not
// UDF, truncated, not an HD DVD, and hostile ones whose folders or descriptors loop, which
// libudfread alone would walk without end, or whose file claims more than its data, which
// libudfread would pad with zeros.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "disc_image/disc_image.h"
#include "platform/files.h"
#include "sample_images.h"
#include "support/error_message.h"
#include "tools/udf_descriptors.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::TempDir;

constexpr std::size_t kBlock = 2048;
constexpr std::int64_t kSmallEvo = 5000;

// HVDVD_TS with one small EVO and the given folders, ADV_OBJ with a playlist.
std::string smallDisc(const TempDir& dir, const std::vector<std::string>& folders) {
  fs::create_directories(dir.file("small/ADV_OBJ"));
  fs::create_directories(dir.file("small/HVDVD_TS"));
  for (const auto& folder : folders) fs::create_directories(dir.file("small/HVDVD_TS/" + folder));
  testing::writeFile(dir.file("small/HVDVD_TS/A.EVO"), std::string(kSmallEvo, 'a'));
  testing::writeFile(dir.file("small/ADV_OBJ/VPLST000.XPL"), std::string("<Playlist/>"));
  tools::writeUdfImage(dir.file("small"), dir.file("small.iso"));
  return dir.file("small.iso");
}

// Makes the folder entry `name` lead to its folder's parent, whose identifier opens the
// folder's block (libudfread checks the tag's checksum, which the address is not part of).
void pointAtParent(Bytes& image, const std::string& name) {
  const std::string recorded = "\x08" + name;  // 8-bit compressed unicode
  const auto at = std::search(image.begin(), image.end(), recorded.begin(), recorded.end());
  ASSERT_NE(at, image.end()) << name;
  const auto identifier = static_cast<std::size_t>(at - image.begin()) - 38;
  const std::size_t parent = identifier / kBlock * kBlock;
  std::copy_n(image.begin() + parent + 20, 16, image.begin() + identifier + 20);
}

// Replaces the main volume descriptor sequence's first descriptor by a pointer to itself.
void pointSequenceAtItself(Bytes& image) {
  constexpr std::uint32_t kMain = 32;
  tools::udf::Bytes pointer;
  pointer.u32(20, 16 * kBlock);
  pointer.u32(24, kMain);
  pointer.tag(0, tools::udf::Tag::VolumePointer, kMain, 512);
  std::copy(pointer.bytes().begin(), pointer.bytes().end(), image.begin() + kMain * kBlock);
}

// Lets the extended file entry that records `size` bytes claim `claimed`.
void claimSize(Bytes& image, std::int64_t size, std::int64_t claimed) {
  const auto u64 = [&](std::size_t at) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = value << 8 | image[at + i];
    return value;
  };
  for (std::size_t at = 0; at + kBlock <= image.size(); at += kBlock) {
    if (image[at] == 0x0A && image[at + 1] == 0x01 && u64(at + 56) == std::uint64_t(size)) {
      for (int i = 0; i < 8; ++i) image[at + 56 + i] = static_cast<std::uint8_t>(claimed >> 8 * i);
      return;
    }
  }
  ADD_FAILURE() << "no file entry of " << size << " bytes";
}

std::string edited(const std::string& path, const std::function<void(Bytes&)>& edit) {
  Bytes image = testing::readFile(path);
  edit(image);
  testing::writeFile(path, image);
  return path;
}

std::string cut(const TempDir& dir, std::int64_t size) {
  const std::string copy = dir.file("cut.iso");
  fs::copy_file(testing::SampleImages::get().image, copy);
  EXPECT_EQ(::truncate(copy.c_str(), size), 0);
  return copy;
}

std::string refusalOf(const std::string& path) {
  return testing::messageOf([&] { DiscImage image(path); });
}

std::string imageRefusal(const std::string& path, const std::string& reason) {
  return "Cannot read disc image \"" + path + "\". " + reason;
}

TEST(ImageRefusalTest, NotUdfOrNotAnImage) {
  TempDir dir;
  testing::writeFile(dir.file("text.iso"), std::string("not an image"));
  EXPECT_EQ(refusalOf(dir.file("text.iso")),
            imageRefusal(dir.file("text.iso"), "It holds no UDF file system."));
  testing::commandOutput("'" + testing::program("genisoimage") + "' -quiet -o '" +
                         dir.file("plain.iso") + "' '" + testing::SampleImages::get().disc +
                         "/ADV_OBJ'");
  EXPECT_EQ(refusalOf(dir.file("plain.iso")),
            imageRefusal(dir.file("plain.iso"), "It holds no UDF file system."));
  EXPECT_EQ(refusalOf(dir.path()),
            "Cannot open file \"" + fullPath(dir.path()) + "\". Is a directory");
}

TEST(ImageRefusalTest, TruncatedImagesNameWhatTheCutLost) {
  TempDir dir;
  const auto whole = static_cast<std::int64_t>(fs::file_size(testing::SampleImages::get().image));
  const std::string half = cut(dir, whole / 2);
  EXPECT_EQ(refusalOf(half).rfind(imageRefusal(half,
                                               "It is truncated: /HVDVD_TS/FEATURE_1.EVO "
                                               "ends at byte "),
                                  0),
            0u)
      << refusalOf(half);
  fs::remove(half);
  const std::string head = cut(dir, 300 * 1024);
  EXPECT_EQ(refusalOf(head),
            imageRefusal(head, "It is truncated: its file system reaches past its 307200 bytes."));
}

TEST(ImageRefusalTest, AnImageWithoutHvdvdTsIsNoHdDvd) {
  TempDir dir;
  tools::writeUdfImage(testing::SampleImages::get().disc + "/ADV_OBJ", dir.file("adv.iso"));
  EXPECT_EQ(refusalOf(dir.file("adv.iso")),
            imageRefusal(dir.file("adv.iso"), "It has no HVDVD_TS folder: it is not an HD DVD."));
}

TEST(ImageRefusalTest, FoldersThatLeadBackToTheRootEndAtTheBounds) {
  TempDir one;
  const std::string loop =
      edited(smallDisc(one, {"LOOP1"}), [](Bytes& image) { pointAtParent(image, "LOOP1"); });
  EXPECT_EQ(refusalOf(loop), imageRefusal(loop,
                                          "Its folders nest deeper than 16 levels: a folder "
                                          "may hold itself."));
  TempDir four;
  const std::string wide =
      edited(smallDisc(four, {"LOOP1", "LOOP2", "LOOP3", "LOOP4"}), [](Bytes& image) {
        for (const char* name : {"LOOP1", "LOOP2", "LOOP3", "LOOP4"}) {
          pointAtParent(image, name);
        }
      });
  EXPECT_EQ(refusalOf(wide), imageRefusal(wide,
                                          "It lists more than 16384 files and folders, "
                                          "more than any disc holds."));
}

TEST(ImageRefusalTest, ADescriptorSequenceThatPointsAtItselfEndsAtTheReadBudget) {
  TempDir dir;
  const std::string image = edited(smallDisc(dir, {}), pointSequenceAtItself);
  EXPECT_EQ(refusalOf(image),
            imageRefusal(image,
                         "Its file system asks for more than 64 MiB of descriptors and "
                         "folders: a chain of them may loop."));
}

TEST(ImageRefusalTest, AFileClaimingMoreThanItsRecordedDataIsNotPaddedWithZeros) {
  TempDir dir;
  const std::string longer = edited(smallDisc(dir, {}), [](Bytes& image) {
    claimSize(image, kSmallEvo, kSmallEvo + 3 * kBlock);
  });
  EXPECT_EQ(refusalOf(longer),
            imageRefusal(longer, "/HVDVD_TS/A.EVO has no recorded data for its 11144 bytes."));
  const std::string huge = edited(longer, [](Bytes& image) {
    claimSize(image, kSmallEvo + 3 * kBlock, std::int64_t{1} << 50);
  });
  EXPECT_EQ(refusalOf(huge),
            imageRefusal(huge,
                         "/HVDVD_TS/A.EVO claims 1125899906842624 bytes, more than a disc "
                         "holds."));
}

}  // namespace
}  // namespace tessaly
