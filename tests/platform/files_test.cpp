#include "platform/files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "job/output_set.h"
#include "platform/error.h"
#include "support/error_message.h"
#include "support/temp_dir.h"

namespace tessaly {
namespace {

using testing::messageOf;
using testing::TempDir;

TEST(FilesTest, OpenErrorsNameTheFullPathAndTheReason) {
  TempDir dir;
  EXPECT_EQ(messageOf([&] { InputFile f(dir.file("none.EVO"), Access::Shared); }),
            "Cannot open file \"" + dir.file("none.EVO") + "\". No such file or directory");
  EXPECT_EQ(messageOf([&] { OutputFile f(dir.file("no/such/x.mpv")); }),
            "Cannot create file \"" + dir.file("no/such/x.mpv") + "\". No such file or directory");
  EXPECT_EQ(
      messageOf([&] { InputFile f(dir.path(), Access::Shared); }).rfind("Cannot open file", 0), 0u);
}

TEST(FilesTest, ExclusiveOpenFailsWhileAnotherHolderHasTheFile) {
  TempDir dir;
  testing::writeFile(dir.file("a.EVO"), std::string("abc"));
  OutputFile held(dir.file("held.mpa"));
  EXPECT_NE(messageOf([&] { OutputFile again(dir.file("held.mpa")); }).find("in use"),
            std::string::npos);
  {
    InputFile exclusive(dir.file("a.EVO"), Access::Exclusive);
    EXPECT_NE(messageOf([&] { InputFile second(dir.file("a.EVO"), Access::Exclusive); }),
              "(no error)");
    InputFile shared(dir.file("a.EVO"), Access::Shared);  // readers are admitted
    EXPECT_EQ(shared.size(), 3);
  }
  InputFile afterwards(dir.file("a.EVO"), Access::Exclusive);
}

TEST(FilesTest, OutputTruncatesAndKeepsEveryByteAcrossBufferFlushes) {
  TempDir dir;
  testing::writeFile(dir.file("out.mpv"), std::string(5000, 'x'));
  std::vector<std::uint8_t> expected;
  {
    OutputFile out(dir.file("out.mpv"));
    for (int n = 0; n < 700; ++n) {
      std::vector<std::uint8_t> run(static_cast<std::size_t>(n * 7 % 2029),
                                    static_cast<std::uint8_t>(n));
      out.write(run.data(), run.size());
      expected.insert(expected.end(), run.begin(), run.end());
    }
    std::vector<std::uint8_t> big(600000, 0x5A);  // larger than the buffer
    out.write(big.data(), big.size());
    expected.insert(expected.end(), big.begin(), big.end());
    out.close();
  }
  EXPECT_EQ(testing::readFile(dir.file("out.mpv")), expected);
}

TEST(FilesTest, ReadsForwardWithSixtyFourBitPositions) {
  TempDir dir;
  const std::string path = dir.file("sparse.EVO");
  {
    int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 5'000'000'000LL), 0);
    ::close(fd);
  }
  InputFile in(path, Access::Shared);
  EXPECT_EQ(in.size(), 5'000'000'000LL);
  EXPECT_EQ(in.next(16).size(), 16u);
  EXPECT_EQ(in.position(), 16);
}

TEST(FilesTest, FileExistsCountsRegularFilesOnly) {
  TempDir dir;
  testing::writeFile(dir.file("f"), std::string("1"));
  EXPECT_TRUE(fileExists(dir.file("f")));
  EXPECT_FALSE(fileExists(dir.path()));
  EXPECT_FALSE(fileExists(dir.file("g")));
  EXPECT_FALSE(fileExists(""));
}

TEST(FilesTest, ChunksComeInOrderWhateverTheReadsBehindThemAndPositionCountsWhatWasGiven) {
  TempDir dir;
  std::vector<std::uint8_t> bytes(3 * 1048576 + 100);
  for (std::size_t n = 0; n < bytes.size(); ++n) bytes[n] = static_cast<std::uint8_t>(n * 131 >> 7);
  testing::writeFile(dir.file("f.EVO"), bytes);
  InputFile in(dir.file("f.EVO"), Access::Shared);
  const auto first = in.next(5);
  std::vector<std::uint8_t> got(first.begin(), first.end());
  ASSERT_EQ(got.size(), 5u);
  std::vector<std::size_t> sizes;
  for (auto chunk = in.next(32768); !chunk.empty(); chunk = in.next(32768)) {
    got.insert(got.end(), chunk.begin(), chunk.end());
    sizes.push_back(chunk.size());
    ASSERT_EQ(in.position(), static_cast<std::int64_t>(got.size()));
  }
  EXPECT_TRUE(got == bytes);
  // Chunks end where a block read ends, and at the end of the file.
  const std::size_t perBlock = InputFile::kBlockSize / 32768;
  ASSERT_EQ(sizes.size(), bytes.size() / InputFile::kBlockSize * perBlock + 1);
  EXPECT_EQ(sizes[perBlock - 1], 32768u - 5);
  EXPECT_EQ(sizes[perBlock], 32768u);
  EXPECT_EQ(sizes.back(), 100u);
}

TEST(OutputSetTest, JobOrderAndEntries) {
  const auto& order = OutputSet::jobOrder();
  EXPECT_EQ(order.front(), 1);
  EXPECT_EQ(order[1], 2);
  EXPECT_EQ(order[2], 17);
  EXPECT_EQ(order.back(), 48);
  EXPECT_FALSE(OutputSet::hasEntry(3));
  EXPECT_FALSE(OutputSet::hasEntry(16));
  EXPECT_FALSE(OutputSet::hasEntry(49));
  OutputSet set;
  EXPECT_EQ(set.find(17), nullptr);
  EXPECT_EQ(set.find(0), nullptr);
  EXPECT_EQ(set.find(65), nullptr);
}

}  // namespace
}  // namespace tessaly
