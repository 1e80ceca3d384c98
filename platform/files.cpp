#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

namespace tessaly {
namespace {

constexpr std::size_t kOutputBuffer = 256 * 1024;

std::string reason(int error) {
  if (error == EWOULDBLOCK) return "The file is in use by another process.";
  return std::strerror(error);
}

StreamError writeError(const std::string& path, int error) {
  return StreamError("Stream write error", "Writing " + path + " failed: " + reason(error));
}

FileId idOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// Takes an exclusive lock without waiting; closes fd and returns errno on failure.
int lockExclusive(int fd) {
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
  const int error = errno;
  ::close(fd);
  return error;
}

// Opens without waiting for a writer (a FIFO would block open() until one comes), then
// takes only a regular file; reads of regular files never wait, so blocking mode is
// restored for them alone.
int openRegular(const std::string& path, struct stat& info) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw openError(path, reason(errno));
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = errno;
    ::close(fd);
    if (S_ISDIR(info.st_mode)) throw openError(path, reason(EISDIR));
    throw openError(path, info.st_mode != 0 ? kNotRegularFile : reason(error));
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// An output never writes through a link: a symbolic link at its name, or a file that
// other names share, is removed, and the output becomes a new file of its own.
void unlinkShared(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return;  // nothing there yet, or open() will say
  const bool shared = S_ISLNK(info.st_mode) || (S_ISREG(info.st_mode) && info.st_nlink > 1);
  if (shared && ::unlink(path.c_str()) != 0 && errno != ENOENT) {
    throw createError(path, reason(errno));
  }
}

}  // namespace

Error openError(const std::string& path, const std::string& why) {
  return Error("Cannot open file \"" + fullPath(path) + "\". " + why);
}

Error createError(const std::string& path, const std::string& why) {
  return Error("Cannot create file \"" + fullPath(path) + "\". " + why);
}

StreamError readError(const std::string& path, const std::string& why) {
  return StreamError("Stream read error", "Reading " + path + " failed: " + why);
}

std::string fullPath(const std::string& path) {
  std::error_code ignored;
  const auto absolute = std::filesystem::absolute(path, ignored);
  return absolute.empty() ? path : absolute.lexically_normal().string();
}

long fileNameLimit(const std::string& folder) {
  errno = 0;
  const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  if (limit < 0 && errno == 0) return NAME_MAX;  // no limit of its own
  return limit;
}

bool fileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<FileId> fileIdOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return idOf(info);
}

InputFile::InputFile(const std::string& path, Access access) : path_(path) {
  struct stat info {};
  fd_ = openRegular(path, info);
  if (access == Access::Exclusive) {
    if (const int error = lockExclusive(fd_)) throw openError(path, reason(error));
  }
  size_ = info.st_size;
  id_ = idOf(info);
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
  ::close(fd_);
}

std::span<const std::uint8_t> InputFile::next(std::size_t size) {
  if (taken_ == filled_) readBlock();
  const std::size_t count = std::min(size, filled_ - taken_);
  const std::span<const std::uint8_t> chunk(block_.data() + taken_, count);
  taken_ += count;
  position_ += static_cast<std::int64_t>(count);
  return chunk;
}

void InputFile::readBlock() {
  if (block_.empty()) block_.resize(kBlockSize);
  taken_ = filled_ = 0;
  for (;;) {
    const ssize_t got = ::read(fd_, block_.data(), block_.size());
    if (got >= 0) {
      filled_ = static_cast<std::size_t>(got);
      return;
    }
    if (errno != EINTR) throw readError(path_, reason(errno));
  }
}

std::size_t InputFile::readAt(std::int64_t offset, std::uint8_t* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd_, buffer + done, size - done, offset + static_cast<off_t>(done));
    if (got == 0) break;
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (errno != EINTR) {
      throw readError(path_, reason(errno));
    }
  }
  return done;
}

void InputFile::readRange(std::uint64_t begin, std::uint64_t end, const RangeSink& take) {
  std::vector<std::uint8_t> buffer(kBlockSize);
  for (std::uint64_t at = begin; at < end;) {
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, end - at));
    const std::size_t got = readAt(static_cast<std::int64_t>(at), buffer.data(), size);
    if (got == 0 || !take(buffer.data(), got)) return;
    at += got;
  }
}

OutputFile::OutputFile(const std::string& path) : path_(path) {
  unlinkShared(path);
  // Lock before truncating, so a file that another program holds is left intact.
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd_ < 0) throw createError(path, reason(errno));
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = errno;
    ::close(fd_);
    throw createError(path, info.st_mode != 0 ? kNotRegularFile : reason(error));
  }
  if (const int error = lockExclusive(fd_)) throw createError(path, reason(error));
  // Only a file that holds data is truncated: truncating an empty file would make the
  // file system flush all that is written to it at close, as it does for rewrites.
  if (info.st_size > 0 && ::ftruncate(fd_, 0) != 0) {
    const int error = errno;
    ::close(fd_);
    throw createError(path, reason(error));
  }
}

OutputFile::~OutputFile() {
  try {
    close();
  } catch (const Error&) {
    // Destruction during unwinding: the first error is the one reported.
  }
}

void OutputFile::write(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  if (buffer_.empty()) buffer_.resize(kOutputBuffer);  // outputs that get nothing need none
  if (used_ + size > buffer_.size()) flush();
  if (size >= buffer_.size()) {
    writeAll(data, size);
    return;
  }
  std::memcpy(buffer_.data() + used_, data, size);
  used_ += size;
}

void OutputFile::writeAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
  flush();
  writeAll(data, size, static_cast<std::int64_t>(offset));
}

void OutputFile::close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  try {
    flush();
  } catch (const Error&) {
    fd_ = -1;
    ::close(fd);
    throw;
  }
  fd_ = -1;
  if (::close(fd) != 0) throw writeError(path_, errno);
}

void OutputFile::flush() {
  const std::size_t pending = used_;
  used_ = 0;  // a failed flush drops nothing silently: it throws
  writeAll(buffer_.data(), pending);
}

void OutputFile::writeAll(const std::uint8_t* data, std::size_t size, std::int64_t at) {
  while (size > 0) {
    const ssize_t put = at < 0 ? ::write(fd_, data, size) : ::pwrite(fd_, data, size, at);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) throw writeError(path_, put < 0 ? errno : ENOSPC);  // 0: nothing more fits
    data += put;
    size -= static_cast<std::size_t>(put);
    if (at >= 0) at += put;
  }
}

}  // namespace tessaly
