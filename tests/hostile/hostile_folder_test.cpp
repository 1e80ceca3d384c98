// Hostile folders: links among the outputs, output names that cannot all be created,
// and inputs that are not regular files. One regression test per fault; none of them
// may leave a file written that should not be.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "job/job_fixture.h"
#include "session/demux_click.h"
#include "session/invoke.h"
#include "session/read_xpl_click.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::feature;
using testing::readFile;

class HostileFolderTest : public testing::JobTest {
 protected:
  // A job on FEATURE_1.EVO (continued in FEATURE_2.EVO) with video 0, audio 00 and
  // subpicture 00 ticked; returns what the three outputs must hold.
  std::map<int, Bytes> prepareJob() {
    auto first = writeEvo("FEATURE_1.EVO", feature(3), 1);
    const auto second = writeEvo("FEATURE_2.EVO", feature(2), 2);
    for (int slot : {1, 17, 33}) {
      first[slot].insert(first[slot].end(), second.at(slot).begin(), second.at(slot).end());
    }
    choose("FEATURE_1.EVO");
    tick(1, "VC-1.stream.0");
    tick(17, "DD+.stream.00");
    tick(33, "Subpicture.00");
    return first;
  }

  void expectRefused(const std::string& name, const std::string& reason) {
    EXPECT_FALSE(invoke(s, bDemuxClick));
    ASSERT_FALSE(host.errors.empty());
    EXPECT_EQ(host.errors.back(), "Cannot create file \"" + out.file(name) + "\". " + reason);
    EXPECT_FALSE(logged("Creating " + out.file(video)));
    expectAllClosed();
  }

  const std::string video = "FEATURE_1.VC-1.stream.0.mpv";
  const std::string audio = "FEATURE_1.DD+.stream.00.mpa";
  const std::string sub = "FEATURE_1.Subpicture.00.sup";
  testing::TempDir elsewhere;
};

TEST_F(HostileFolderTest, LinksInTheOutputFolderAreNeverWrittenThrough) {
  const auto expected = prepareJob();
  const Bytes second = readFile(in.file("FEATURE_2.EVO"));

  // A symbolic or a hard link to the second segment: refused, nothing touched.
  fs::create_symlink(in.file("FEATURE_2.EVO"), out.file(audio));
  expectRefused(audio, "It is one of the input files.");
  fs::remove(out.file(audio));
  fs::create_hard_link(in.file("FEATURE_2.EVO"), out.file(sub));
  expectRefused(sub, "It is one of the input files.");
  fs::remove(out.file(sub));
  EXPECT_EQ(readFile(in.file("FEATURE_2.EVO")), second);
  EXPECT_TRUE(fs::is_empty(out.path()));

  // Links to other files: each replaced by a new file of its own, the files untouched.
  testing::writeFile(elsewhere.file("precious.txt"), std::string("precious"));
  testing::writeFile(elsewhere.file("other.bin"), std::string("other"));
  fs::create_symlink(elsewhere.file("precious.txt"), out.file(video));
  fs::create_symlink(elsewhere.file("missing.txt"), out.file(audio));
  fs::create_hard_link(elsewhere.file("other.bin"), out.file(sub));
  ASSERT_TRUE(invoke(s, bDemuxClick)) << host.errors.back();
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
  EXPECT_EQ(readFile(elsewhere.file("precious.txt")),
            Bytes({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
  EXPECT_EQ(readFile(elsewhere.file("other.bin")), Bytes({'o', 't', 'h', 'e', 'r'}));
  EXPECT_FALSE(fs::exists(elsewhere.file("missing.txt")));
  for (const auto& [slot, name] : {std::pair{1, video}, {17, audio}, {33, sub}}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(out.file(name)))) << name;
    EXPECT_EQ(fs::hard_link_count(out.file(name)), 1u) << name;
    EXPECT_EQ(output(name), expected.at(slot)) << name;
  }
}

TEST_F(HostileFolderTest, EveryNameIsCheckedBeforeAnyOutputIsCreated) {
  prepareJob();
  testing::writeFile(out.file(video), std::string("an earlier job's video"));
  const Bytes earlier = output(video);

  // Two boxes whose captions give the same name: refused, not "in use".
  tick(17, "Same");
  tick(33, "Same");
  s.fMain.eSubExt.text = "mpa";
  expectRefused("FEATURE_1.Same.mpa", "It is also the output of another stream.");
  EXPECT_EQ(output(video), earlier);

  // A folder, or a FIFO, standing at an output's name.
  s.fMain.eSubExt.text = "sup";
  fs::create_directory(out.file("FEATURE_1.Same.sup"));
  expectRefused("FEATURE_1.Same.sup", "Is a directory");
  ASSERT_EQ(::mkfifo(out.file("FEATURE_1.Same.mpa").c_str(), 0644), 0);
  expectRefused("FEATURE_1.Same.mpa", "Not a regular file");
  EXPECT_EQ(output(video), earlier);
}

// A playlist description of 240 characters (the format allows 252) made a name longer
// than the folder takes, and the whole demux refused with "File name too long". The
// caption is cut, at a character's start, to fit with its extension; the log says so.
TEST_F(HostileFolderTest, ALongDescriptionShortensTheNameInsteadOfRefusingTheJob) {
  const auto expected = prepareJob();
  const std::string caption = "DD+.6ch.stream.00." + std::string(222, 'd') + "\xC3\xA9\xC3\xA9";
  tick(17, caption);
  ASSERT_TRUE(invoke(s, bDemuxClick)) << host.errors.back();
  // At most 255 bytes: "FEATURE_1." (10), 241 of the caption, ".mpa" (4); the cut falls
  // inside the first "é", which is left out whole.
  const std::string name = "FEATURE_1." + caption.substr(0, 240) + ".mpa";
  EXPECT_EQ(output(name), expected.at(17));
  EXPECT_TRUE(logged("Output name shortened to fit the folder's limit: " + out.file(name)));
  EXPECT_EQ(s.fMain.mMessage.lines.back(), "Done.");
}

TEST_F(HostileFolderTest, OnlyRegularFilesAreRead) {
  // Each open of a FIFO would block until a writer came; a device would be read forever.
  ASSERT_EQ(::mkfifo(in.file("FEATURE_1.EVO").c_str(), 0644), 0);
  fs::create_symlink("/dev/zero", in.file("ZERO_1.EVO"));
  ASSERT_EQ(::mkfifo(in.file("VPLST000.XPL").c_str(), 0644), 0);
  for (const std::string name : {"FEATURE_1.EVO", "ZERO_1.EVO"}) {
    choose(name);
    tick(1, "VC-1.stream.0");
    for (const Handler job : {bCheckClick, bDemuxClick}) {
      EXPECT_FALSE(invoke(s, job));
      EXPECT_EQ(host.errors.back(),
                "Cannot open file \"" + in.file(name) + "\". Not a regular file");
      expectAllClosed();
    }
  }
  WMDropFiles(s, {in.file("VPLST000.XPL")});
  EXPECT_FALSE(invoke(s, bReadXPLClick));
  EXPECT_EQ(host.errors.back(),
            "Cannot open file \"" + in.file("VPLST000.XPL") + "\". Not a regular file");
  EXPECT_TRUE(fs::is_empty(out.path()));

  // A FIFO as the second segment is not continued, as a missing one is not.
  fs::remove(in.file("FEATURE_1.EVO"));
  const auto expected = writeEvo("FEATURE_1.EVO", feature(3));
  ASSERT_EQ(::mkfifo(in.file("FEATURE_2.EVO").c_str(), 0644), 0);
  choose("FEATURE_1.EVO");
  tick(1, "VC-1.stream.0");  // the failed scans gave the box its reset caption
  ASSERT_TRUE(invoke(s, bDemuxClick));
  EXPECT_FALSE(logged("Continue on FEATURE_2.EVO"));
  EXPECT_EQ(output(video), expected.at(1));
}

}  // namespace
}  // namespace tessaly
