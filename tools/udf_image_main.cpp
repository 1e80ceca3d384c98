// tessaly-udf-image FOLDER IMAGE [LABEL]: writes FOLDER (a disc folder such as the sample
// disc's) as a UDF 2.50 image with a metadata partition, as HD DVDs are recorded.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/udf_image.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: tessaly-udf-image FOLDER IMAGE [LABEL]\n");
    return 2;
  }
  try {
    if (argc == 4) {
      tessaly::tools::writeUdfImage(argv[1], argv[2], argv[3]);
    } else {
      tessaly::tools::writeUdfImage(argv[1], argv[2]);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tessaly-udf-image: %s\n", error.what());
    return 1;
  }
  return 0;
}
