// The UDF file system of a disc image behind one seam: udf_volume.cpp reads it through
// libudfread; a build without libudfread (-DTESSALY_WITH_UDF=OFF) links
// udf_volume_absent.cpp instead, whose openUdfVolume() refuses every image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace tessaly {

struct VolumeEntry {
  std::string name;  // as the image records it (libudfread gives modified UTF-8)
  bool folder = false;
};

// One file of the volume, read forward from its start.
class UdfFile {
 public:
  virtual ~UdfFile() = default;
  virtual std::int64_t size() const = 0;
  // The next up to `size` bytes into `buffer`, whole blocks straight from the image where
  // the request allows; 0 at the file's end. A failed read throws "Stream read error".
  virtual std::size_t read(std::uint8_t* buffer, std::size_t size) = 0;
};

class UdfVolume {
 public:
  virtual ~UdfVolume() = default;
  // The entries of the folder that `names` lead to from the root ({} for the root), in
  // the image's order. Throws imageError when the folder cannot be read.
  virtual std::vector<VolumeEntry> list(const std::vector<std::string>& names) = 0;
  // The file that `names` lead to, shown as `shown` in read errors. Throws imageError when
  // its entry cannot be read, its data lies past the image's end (a truncated image) or
  // its size passes the data the image records for it.
  virtual std::unique_ptr<UdfFile> open(const std::vector<std::string>& names,
                                        const std::string& shown) = 0;
  // From now on, the reads of the file system's own structures (descriptors, folders,
  // file entries; not the files' data) may take `bytes` in all. Past that they fail, and
  // the image is refused as one whose structures loop.
  virtual void allowStructureReads(std::int64_t bytes) = 0;
};

// Reads the UDF file system of `image`, an open image file that the volume and its files
// keep reading, its structures allowed `structureBytes` of reads. Throws imageError: no
// UDF file system, a truncated or damaged one, or, in a build without libudfread, any
// image.
std::unique_ptr<UdfVolume> openUdfVolume(std::shared_ptr<InputFile> image,
                                         std::int64_t structureBytes);

}  // namespace tessaly
