// A raw output: the stream's payload appended to one file, exactly as the pass hands it over.
#pragma once

#include <string>

#include "job/stream_output.h"
#include "platform/files.h"

namespace tessaly {

class RawOutput final : public StreamOutput {
 public:
  // Creates the file; throws "Cannot create file ...".
  explicit RawOutput(const std::string& path) : file_(path) {}

  void write(const std::uint8_t* data, std::size_t size) override { file_.write(data, size); }
  void close() override { file_.close(); }

 private:
  OutputFile file_;
};

}  // namespace tessaly
