// The file layer: 64-bit sizes and positions, RAII handles, and errors that carry
// the operator's messages ("Cannot open file ...", "Cannot create file ...",
// "Stream read error", "Stream write error").
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/payload_sink.h"

namespace tessaly {

// Which file a name leads to: two names are the same file when device and inode agree.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;

  bool operator==(const FileId&) const = default;
};

enum class Access {
  Shared,     // other readers and writers are admitted
  Exclusive,  // fails while another program holds the file (flock)
};

// A regular file open for reading, read forward in chunks. Anything else (a folder, a
// FIFO, a device) is refused: "Cannot open file "%s". Not a regular file". The chunks
// are cut from blocks read ahead of them, so a reader asking for small chunks still reads
// the disk in large ones; position() counts what the reader was given.
class InputFile {
 public:
  // What one read asks of the disk: larger blocks measured slower, the copy out of the
  // page cache then missing the processor's cache.
  static constexpr std::size_t kBlockSize = 256 * 1024;

  InputFile(const std::string& path, Access access);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The next up to `size` bytes, valid until the next call; shorter where a block read
  // returned less, empty at the end. A failed read throws "Stream read error".
  std::span<const std::uint8_t> next(std::size_t size);
  std::int64_t size() const { return size_; }
  std::int64_t position() const { return position_; }
  // The path as it was given.
  const std::string& path() const { return path_; }
  const FileId& id() const { return id_; }
  // Reads `size` bytes at `offset` (a disc image's blocks, wherever they lie) without
  // moving position(); fewer only at the file's end. A failed read throws "Stream read
  // error".
  std::size_t readAt(std::int64_t offset, std::uint8_t* buffer, std::size_t size);
  // Hands the bytes from `begin` to `end` to `take` a block at a time, without moving
  // position(); stops early at the file's end or when `take` returns false.
  using RangeSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;
  void readRange(std::uint64_t begin, std::uint64_t end, const RangeSink& take);

 private:
  void readBlock();

  int fd_ = -1;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
  std::string path_;
  std::vector<std::uint8_t> block_;  // the block read ahead, allocated at the first read
  std::size_t taken_ = 0;            // bytes of block_ given to the reader
  std::size_t filled_ = 0;           // bytes of block_ that the last read stored
  FileId id_;
};

// A newly created (or truncated) file, held exclusively and appended to. It is never
// written through a link: a symbolic link or a file with other hard links at its name is
// removed first, so the file it led to is left as it was. Writes are gathered in a
// buffer and reach the disk in large blocks; every failure to store bytes, including
// the final flush, throws "Stream write error".
class OutputFile final : public PayloadSink {
 public:
  explicit OutputFile(const std::string& path);
  ~OutputFile() override;  // closes without throwing; call close() to learn of a failed flush
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(const std::uint8_t* data, std::size_t size) override;
  // Writes what is gathered, then overwrites `size` bytes at `offset` (a header whose
  // sizes are known at the end); throws "Stream write error".
  void writeAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size);
  // Flushes and closes; throws "Stream write error" when the flush fails. Idempotent.
  void close();
  const std::string& path() const { return path_; }

 private:
  void flush();
  // At the file's end, or at offset `at` when it is not negative.
  void writeAll(const std::uint8_t* data, std::size_t size, std::int64_t at = -1);

  int fd_ = -1;
  std::string path_;
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
};

// True when `path` names an existing regular file (a folder does not count).
bool fileExists(const std::string& path);

// The file that `path` leads to, links followed; nullopt when there is none.
std::optional<FileId> fileIdOf(const std::string& path);

// The longest file name that `folder` ("" for the current one) takes, as pathconf() says;
// -1 with errno set when the folder cannot hold files (missing, not a folder, no access).
long fileNameLimit(const std::string& folder);

// The absolute form of `path` as the error messages show it.
std::string fullPath(const std::string& path);

// The reason given for a name that leads to a FIFO, a device or a socket.
constexpr const char* kNotRegularFile = "Not a regular file";

// "Cannot open file "<full path>". <reason>" and "Cannot create file ...".
Error openError(const std::string& path, const std::string& reason);
Error createError(const std::string& path, const std::string& reason);

// "Stream read error", detailed as "Reading <path> failed: <reason>".
StreamError readError(const std::string& path, const std::string& reason);

}  // namespace tessaly
