// A build without libudfread (-DTESSALY_WITH_UDF=OFF) links the volume that refuses every
// image; this test program links that library in every build. Disc folders are read on
// disk as before.
#include <gtest/gtest.h>

#include "disc/disc.h"
#include "disc_image/disc_image.h"
#include "disc_image/image_files.h"
#include "sample_images.h"
#include "support/error_message.h"

namespace tessaly {
namespace {

TEST(WithoutUdfTest, AnImageIsRefusedWithTheReasonAndTheImageNamedAndFoldersStillRead) {
  const std::string& image = testing::SampleImages::get().image;
  const std::string refusal = "Cannot read disc image \"" + image +
                              "\". This build of Tessaly reads disc folders only: it was built "
                              "without libudfread, which reads disc images.";
  EXPECT_EQ(testing::messageOf([&] { DiscImage opened(image); }), refusal);
  // As the front ends open an image for the disc and title verbs.
  EXPECT_EQ(testing::messageOf([&] { ImageFiles opened(image); }), refusal);
  EXPECT_EQ(readDisc(testing::SampleImages::get().disc).boot, "VPLST000.XPL");
}

}  // namespace
}  // namespace tessaly
