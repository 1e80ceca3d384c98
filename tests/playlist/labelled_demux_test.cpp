// "Read XPL" labels the boxes; a following "Demux" names its outputs after them.
#include <gtest/gtest.h>

#include "sample_playlists.h"
#include "session/demux_click.h"
#include "session/file_choice.h"
#include "session/invoke.h"
#include "session/read_xpl_click.h"
#include "session/xpl_choice.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "tools/ps_writer.h"

namespace tessaly {
namespace {

TEST(LabelledDemuxTest, OutputNamesCarryThePlaylistLabels) {
  testing::TempDir dir;
  tools::MemorySink evo;
  tools::PsWriter writer(evo);
  writer.navPack();
  for (const auto& stream :
       {tools::Stream::vc1(0), tools::Stream::ddPlus(0), tools::Stream::subpicture(1)}) {
    writer.pack(stream);
  }
  testing::writeFile(dir.file("FEATURE_1.EVO"), evo.bytes);
  testing::writeFile(dir.file("VPLST000.XPL"), testing::discPlaylist());

  testing::RecordingHost host;
  Session s{host};
  WMDropFiles(s, {dir.file("FEATURE_1.EVO")});
  WMDropFiles(s, {dir.file("VPLST000.XPL")});
  s.fMain.eWorkdir.text = dir.path();
  ASSERT_TRUE(invoke(s, bReadXPLClick));
  ASSERT_TRUE(invoke(s, bDemuxClick)) << host.errors.at(0);

  const std::pair<const char*, int> outputs[] = {
      {"FEATURE_1.VC-1.stream.0.mpv", 1},
      {"FEATURE_1.DD+.6ch.stream.00.English.mpa", 17},
      {"FEATURE_1.SP.stream.01.French.sup", 34},
  };
  for (const auto& [name, slot] : outputs) {
    ASSERT_FALSE(writer.expected(slot).bytes.empty()) << name;
    EXPECT_EQ(testing::readFile(dir.file(name)), writer.expected(slot).bytes) << name;
  }
}

}  // namespace
}  // namespace tessaly
