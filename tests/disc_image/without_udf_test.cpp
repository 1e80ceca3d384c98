// A build without libudfread (-DTESSALY_WITH_UDF=OFF) links the volume that refuses every
// image; this test program links that library in every build.
#include <gtest/gtest.h>

#include "disc_image/disc_image.h"
#include "sample_images.h"
#include "support/error_message.h"

namespace tessaly {
namespace {

TEST(WithoutUdfTest, AnImageIsRefusedWithTheReasonAndTheImageNamed) {
  const std::string& image = testing::SampleImages::get().image;
  EXPECT_EQ(testing::messageOf([&] { DiscImage opened(image); }),
            "Cannot read disc image \"" + image +
                "\". This build of Tessaly reads disc folders only: it was built without "
                "libudfread, which reads disc images.");
}

}  // namespace
}  // namespace tessaly
