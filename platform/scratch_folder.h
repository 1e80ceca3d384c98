// A folder of a job's temporary files, made new inside another folder (so that nothing in
// it is any other file) and removed with everything in it when the job is done with it.
#pragma once

#include <string>

namespace tessaly {

class ScratchFolder {
 public:
  // Creates ".tessaly-NAME-XXXXXX" inside `inside`; throws "Cannot create a folder in ...".
  ScratchFolder(const std::string& inside, const std::string& name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace tessaly
