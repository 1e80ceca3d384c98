// Where a program-stream writer puts its bytes: a vector in memory, or a file
// written in large blocks so that a 1 GiB stream never sits in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace tessaly::tools {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends `size` bytes.
  virtual void put(const std::uint8_t* data, std::size_t size) = 0;
};

// Keeps every byte in `bytes`.
class MemorySink : public ByteSink {
 public:
  void put(const std::uint8_t* data, std::size_t size) override;
  std::vector<std::uint8_t> bytes;
};

// Creates (truncates) a file; throws std::runtime_error when it cannot be created or
// written. Call close() to learn of a failed final write; the destructor closes quietly.
class FileSink : public ByteSink {
 public:
  explicit FileSink(const std::string& path);
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  void put(const std::uint8_t* data, std::size_t size) override;
  // Writes what is pending and closes the file.
  void close();

 private:
  void flush();

  std::string path_;
  std::ofstream out_;
  std::vector<std::uint8_t> block_;
};

}  // namespace tessaly::tools
