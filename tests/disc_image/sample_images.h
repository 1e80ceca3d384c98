// The sample disc and two images of it, written once per test program: one by
// tools/udf_image (UDF 2.50 with a metadata partition, as HD DVDs are recorded) and one by
// genisoimage -udf (UDF 1.02 beside ISO 9660, as data discs are). Header-only.
#pragma once

#include <memory>
#include <string>

#include "support/child_process.h"
#include "support/temp_dir.h"
#include "tools/udf_image.h"

namespace tessaly::testing {

class SampleImages {
 public:
  static const SampleImages& get() {
    static const auto images = std::make_unique<SampleImages>();
    return *images;
  }

  SampleImages() {
    commandOutput("'" TESSALY_SAMPLE_DISC "' '" + disc + "' >/dev/null");
    tools::writeUdfImage(disc, image);
    commandOutput("'" + program("genisoimage") + "' -quiet -udf -o '" + bridge + "' '" + disc +
                  "'");
  }

  TempDir dir;
  const std::string disc = dir.file("disc");
  const std::string image = dir.file("sample.iso");
  const std::string bridge = dir.file("bridge.iso");
};

}  // namespace tessaly::testing
