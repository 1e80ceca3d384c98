#include "playlist/xpl_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sample_playlists.h"

namespace tessaly {
namespace {

using Lines = std::vector<std::string>;

// Scans `text` in pieces of `chunk` bytes (0: in one piece) and returns the memo lines.
Lines scan(const std::string& text, std::size_t chunk = 0, std::int64_t* depth = nullptr) {
  Lines lines;
  XplScanner scanner([&](const std::string& tag) { lines.push_back(tag); });
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const std::size_t step = chunk == 0 ? text.size() : chunk;
  for (std::size_t at = 0; at < text.size(); at += step) {
    scanner.feed({bytes + at, std::min(step, text.size() - at)});
  }
  if (depth) *depth = scanner.state().Depth;
  return lines;
}

// The attribute lists example with CR LF line ends: one run of control bytes each.
std::string withCrLf(std::string text) {
  for (auto at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
    text.insert(at, 1, '\r');  // not insert(at, "\r"): GCC 12 -O3 warns falsely (-Wrestrict)
  }
  return text;
}

TEST(XplScannerTest, OneTagPerLineWhateverTheChunking) {
  const Lines expected{
      "<?xml version=\"1.0\"?>",
      "<Playlist displayName=\"Sample Disc\">",
      "  <!-- comment -->",
      "  <List>",
      "    <VideoAttributeItem index=\"1\" codec=\"VC-1\"/>",
      "    <AudioAttributeItem index=\"1\" codec=\"DD+\" channels=\"6\"/>",
      "    <AudioAttributeItem index=\"2\" codec=\"MLP\"         channels=\"8\"/>",
      "  </List>",
      "</Playlist>",
  };
  // 1-byte pieces split every tag and every "</"; 7 and 13 split them at odd places.
  for (std::size_t chunk : {0, 1, 2, 7, 13}) {
    std::int64_t depth = -99;
    EXPECT_EQ(scan(withCrLf(testing::kAttributeLists), chunk, &depth), expected)
        << "chunk " << chunk;
    EXPECT_EQ(depth, 0) << "chunk " << chunk;
  }
}

TEST(XplScannerTest, ByteOrderMarkDoctypeTabsAndStrayGreaterThan) {
  const std::string text =
      "\xEF\xBB\xBF<!DOCTYPE Playlist>\n<a\tx=\"1\"\t\t/>\n<b>text > more</b>\n<c n=\"\xC3\xA9\"/>";
  // The document type declaration never closes: everything after it sits one level in.
  // A ">" between tags adds a line of the current indentation only.
  const Lines expected{
      "<!DOCTYPE Playlist>", "  <a x=\"1\" />", "  <b>", "    ", "  </b>", "  <c n=\"\xC3\xA9\"/>",
  };
  std::int64_t depth = 0;
  EXPECT_EQ(scan(text, 1, &depth), expected);
  EXPECT_EQ(depth, 1);
}

TEST(XplScannerTest, MalformedClosingTagsDriveDepthNegativeWithoutHarm) {
  std::int64_t depth = 0;
  EXPECT_EQ(scan("</x></y><z>", 0, &depth), (Lines{"x>", "y>", "<z>"}));
  EXPECT_EQ(depth, -1);
}

}  // namespace
}  // namespace tessaly
