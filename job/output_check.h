// The one check of the names a job writes (stream outputs, timed subtitles, the report,
// the chapter file, mkvmerge's option file, the Matroska file), made before any input is
// read and before any output is created or truncated, so that a name that cannot be used
// fails the job with nothing touched.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace tessaly {

// The names of one job, checked as they come: all before any file is made when the outputs
// are known at the start, or an output's names before it is made when it is found mid-pass.
class NameCheck {
 public:
  explicit NameCheck(std::vector<FileId> inputs) : inputs_(std::move(inputs)) {}

  // Checks the names in order and throws "Cannot create file "%s". <reason>" for the first
  // that is longer than its folder allows; that is the place of a name checked before (its
  // folder by device and inode, and its file name): "It is also the output of another
  // stream."; that leads to one of the inputs (by device and inode, through links): "It is
  // one of the input files."; that is a folder or something else that is not a regular
  // file; or that lies in a folder that cannot be used.
  void check(const std::vector<std::string>& names);

 private:
  std::vector<FileId> inputs_;
  // Where each name checked puts its file: its folder, by device and inode, and the file
  // name in it ("out/a", "./out/a" and "link-to-out/a" are one place).
  std::vector<std::pair<FileId, std::string>> places_;
};

// The files of `paths` that exist, by device and inode, for a NameCheck.
std::vector<FileId> inputIds(const std::vector<std::string>& paths);

}  // namespace tessaly
