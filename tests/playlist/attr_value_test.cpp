#include "playlist/attr_value.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"

namespace tessaly {
namespace {

std::string lookup(const std::string& tag, const std::string& name, std::string site = "") {
  return AttrValue(tag, name, site);
}

TEST(AttrValueTest, FirstOccurrenceIgnoringCaseWins) {
  EXPECT_EQ(lookup("<T CODEC=\"DD\"/>", "codec"), "DD");
  EXPECT_EQ(lookup("<T videocodec=\"VC-1\" codec=\"DD\"/>", "codec"), "VC-1");
  EXPECT_EQ(lookup("<T note=\"codec\" codec=\"DD\"/>", "codec"), "DD");  // the next "=" decides
  EXPECT_EQ(lookup("<T codec = \"DD+\" />", "codec"), "DD+");
  EXPECT_EQ(lookup("<T name=\"&amp;\xC3\xA9\"/>", "NAME"), "&amp;\xC3\xA9");
}

TEST(AttrValueTest, SitesKeepTheirValueWhenTheNameIsMissing) {
  std::string site = "kept";
  EXPECT_EQ(AttrValue("<T other=\"1\"/>", "codec", site), "kept");
  EXPECT_EQ(AttrValue("<T codec=\"MLP\"/>", "codec", site), "MLP");
  EXPECT_EQ(site, "MLP");
  EXPECT_EQ(AttrValue("<T codec=\"MLP/>", "codec", site), "");  // no closing quote
}

TEST(AttrValueTest, SingleQuotesAreNotValueDelimiters) {
  EXPECT_EQ(lookup("<T a='1' b=\"2\"/>", "a"), "2");
  EXPECT_EQ(lookup("<T a='1'/>", "a", "old"), "");
}

TEST(AttrValueTest, ValueMustCloseWithinTheWindowAfterTheName) {
  const std::string fits(252, 'v');
  EXPECT_EQ(lookup("<T n=\"" + fits + "\"/>", "n"), fits);
  EXPECT_EQ(lookup("<T n=\"" + fits + "w\"/>", "n"), "");
  // A value beyond the window, with a short quoted pair inside it, yields that pair.
  const std::string padding(240, ' ');
  EXPECT_EQ(lookup("<T n" + padding + "\"x\"" + padding + "=\"late\"/>", "n"), "x");
}

TEST(StrToIntTest, AcceptedForms) {
  EXPECT_EQ(StrToInt("7"), 7);
  EXPECT_EQ(StrToInt("  -12"), -12);
  EXPECT_EQ(StrToInt("+0"), 0);
  EXPECT_EQ(StrToInt("$1f"), 31);
  EXPECT_EQ(StrToInt("x10"), 16);
  EXPECT_EQ(StrToInt("X10"), 16);
  EXPECT_EQ(StrToInt("0x7FFFFFFF"), 2147483647);
  EXPECT_EQ(StrToInt("-0X80000000"), -2147483647 - 1);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToIntTest, EverythingElseFailsWithTheOperatorMessage) {
  for (const char* bad :
       {"", "   ", "1 ", "1.5", "one", "--1", "+-1", "- 1", "0x", "$", "x", "0x1G", "00x1",
        "2147483648", "-2147483649", "0x80000000", "99999999999999999999"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const Error& error) {
      EXPECT_EQ(error.what(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
}

}  // namespace
}  // namespace tessaly
