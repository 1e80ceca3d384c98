#include "shell/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

extern char** environ;

namespace tessaly {
namespace {

constexpr int kPollMilliseconds = 100;

// A file descriptor closed with its scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// The spawn's file actions and attributes, released with their scope.
struct SpawnSetup {
  explicit SpawnSetup(int output) {
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
    posix_spawnattr_init(&attributes);
    // The program starts with the default handling of the signals this process takes
    // or ignores (a stop signal of the command line, a closed pipe).
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawn_file_actions_t actions{};
  posix_spawnattr_t attributes{};
};

pid_t spawn(const std::vector<std::string>& arguments, int output) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  SpawnSetup setup(output);
  pid_t pid = 0;
  const int error =
      ::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ);
  if (error == ENOENT) throw ProgramNotFound(arguments.front() + " was not found");
  if (error != 0) throw Error("Cannot run " + arguments.front() + ". " + std::strerror(error));
  return pid;
}

// Splits what the program writes into lines.
class LineCutter {
 public:
  explicit LineCutter(const std::function<void(const std::string&)>& line) : line_(line) {}
  void take(const char* data, std::size_t size) {
    for (std::size_t n = 0; n < size; ++n) {
      if (data[n] != '\n' && data[n] != '\r') {
        pending_ += data[n];
      } else if (!pending_.empty()) {
        line_(pending_);
        pending_.clear();
      }
    }
  }
  void end() { take("\n", 1); }

 private:
  const std::function<void(const std::string&)>& line_;
  std::string pending_;
};

// Reads the program's output until it closes it, or until `stop` says true.
bool readOutput(int fd, LineCutter& cutter, const std::function<bool()>& stop) {
  std::array<char, 4096> buffer{};
  for (;;) {
    if (stop()) return true;
    pollfd ready{fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, kPollMilliseconds);
    if (polled <= 0) continue;  // a timeout, or a signal: ask `stop` again
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // the program closed its output
    cutter.take(buffer.data(), static_cast<std::size_t>(got));
  }
}

// The running program; ended and waited for when the caller's scope ends early (an error
// of the line handler), so that no process is left behind.
class Child {
 public:
  explicit Child(pid_t pid) : pid_(pid) {}
  ~Child() {
    if (pid_ > 0) wait(true);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  ProgramEnd wait(bool stop) {
    if (stop) ::kill(pid_, SIGTERM);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = 0;
    ProgramEnd end;
    end.stopped = stop;
    if (WIFEXITED(status)) end.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
    return end;
  }

 private:
  pid_t pid_;
};

}  // namespace

ProgramEnd runProgram(const std::vector<std::string>& arguments,
                      const std::function<void(const std::string&)>& line,
                      const std::function<bool()>& stop) {
  std::array<int, 2> ends{};
  if (::pipe2(ends.data(), O_CLOEXEC) != 0) {
    throw Error("Cannot run " + arguments.front() + ". " + std::strerror(errno));
  }
  Descriptor reading(ends[0]);
  Descriptor writing(ends[1]);
  Child child(spawn(arguments, writing.get()));
  writing.reset();  // the program holds the only writing end: its end is the pipe's end
  LineCutter cutter(line);
  const bool stopped = readOutput(reading.get(), cutter, stop);
  if (!stopped) cutter.end();
  return child.wait(stopped);
}

}  // namespace tessaly
