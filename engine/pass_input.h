// What a pass reads, from its position to its end: an input file, or bytes in memory (the
// tests, the fuzzers). The pass knows nothing else of where its bytes come from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/files.h"

namespace tessaly {

class PassInput {
 public:
  virtual ~PassInput() = default;
  // The next up to `size` bytes, valid until the next call; shorter where the source gave
  // less, empty at its end. A failed read throws "Stream read error".
  virtual std::span<const std::uint8_t> next(std::size_t size) = 0;
  virtual std::int64_t size() const = 0;
  // The bytes given so far.
  virtual std::int64_t position() const = 0;
  // The input's path as it was given: progress texts and error messages name it.
  virtual const std::string& path() const = 0;
};

// A regular file, read in large blocks (see InputFile).
class FileInput final : public PassInput {
 public:
  // Opens the file; throws "Cannot open file ...".
  FileInput(const std::string& path, Access access) : file_(path, access) {}

  std::span<const std::uint8_t> next(std::size_t size) override { return file_.next(size); }
  std::int64_t size() const override { return file_.size(); }
  std::int64_t position() const override { return file_.position(); }
  const std::string& path() const override { return file_.path(); }
  const FileId& id() const { return file_.id(); }

 private:
  InputFile file_;
};

// Bytes in memory, which the caller keeps while the pass runs.
class MemoryInput final : public PassInput {
 public:
  explicit MemoryInput(std::span<const std::uint8_t> bytes, std::string path = "memory.EVO")
      : bytes_(bytes), path_(std::move(path)) {}

  std::span<const std::uint8_t> next(std::size_t size) override;
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  std::int64_t position() const override { return static_cast<std::int64_t>(taken_); }
  const std::string& path() const override { return path_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t taken_ = 0;
  std::string path_;
};

}  // namespace tessaly
