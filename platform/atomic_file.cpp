#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// A new file beside the target, removed again unless it was renamed into place.
class TempFile {
 public:
  explicit TempFile(const std::string& target) : path_(target + ".XXXXXX") {
    fd_ = ::mkstemp(path_.data());
    if (fd_ < 0) path_.clear();
  }
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // Gives the new file the mode of the one it replaces; a first file stays private (0600).
  bool takeModeOf(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) return errno == ENOENT;
    return ::fchmod(fd_, info.st_mode & 07777) == 0;
  }

  // Writes everything, forces it to the disk and closes the file.
  bool store(const std::string& contents) {
    if (fd_ < 0 || !writeAll(contents) || ::fsync(fd_) != 0) return false;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

  bool renameTo(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  bool writeAll(const std::string& contents) {
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
      const ssize_t put = ::write(fd_, data, left);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      data += put;
      left -= static_cast<std::size_t>(put);
    }
    return true;
  }

  int fd_ = -1;
  std::string path_;
};

// Makes the rename itself durable.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A symbolic link (settings kept elsewhere) is followed, so the link survives the save.
fs::path resolvedTarget(const std::string& path) {
  std::error_code error;
  if (!fs::is_symlink(path, error)) return path;
  auto target = fs::weakly_canonical(path, error);
  return error ? fs::path(path) : target;
}

}  // namespace

bool replaceFile(const std::string& path, const std::string& contents) {
  const fs::path target = resolvedTarget(path);
  std::error_code error;
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
  if (error) return false;
  TempFile temp(target.string());
  if (!temp.takeModeOf(target.string()) || !temp.store(contents) ||
      !temp.renameTo(target.string())) {
    return false;
  }
  syncFolder(target.parent_path());
  return true;
}

}  // namespace tessaly
