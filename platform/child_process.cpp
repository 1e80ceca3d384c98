#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <optional>

extern char** environ;

namespace tessaly {
namespace {

constexpr int kPollMilliseconds = 100;
constexpr std::size_t kMaxLine = 64 * 1024;
constexpr auto kStopGrace = std::chrono::seconds(5);

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
    // A group of its own (its id the program's pid): a stop is sent to all it started.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
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

// Splits what the program writes into lines; of a longer line its first kMaxLine bytes
// are kept, so a program that never ends a line costs no more memory than one line.
class LineCutter {
 public:
  explicit LineCutter(const std::function<void(const std::string&)>& line) : line_(line) {}
  void take(const char* data, std::size_t size) {
    for (std::size_t n = 0; n < size; ++n) {
      if (data[n] != '\n' && data[n] != '\r') {
        if (pending_.size() < kMaxLine) pending_ += data[n];
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

using Clock = std::chrono::steady_clock;

// The running program, in a process group of its own: a stop reaches whatever it
// started too. It is never waited for blindly: each look at it is WNOHANG, so a program
// that closed its output but runs on cannot hold up a stop. Ended (SIGKILL) and reaped
// when the caller's scope ends early (an error of the line handler).
class Child {
 public:
  explicit Child(pid_t pid) : pid_(pid) {}
  ~Child() {
    if (pid_ <= 0) return;
    ::kill(-pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // SIGTERM to the group at the first stop; SIGKILL once it has had kStopGrace to end.
  void stop() {
    if (!stopSent_) {
      ::kill(-pid_, SIGTERM);
      stopSent_ = true;
      killAt_ = Clock::now() + kStopGrace;
    } else if (!killed_ && Clock::now() >= killAt_) {
      ::kill(-pid_, SIGKILL);
      killed_ = true;
    }
  }
  bool stopSent() const { return stopSent_; }

  // The program's end once it has ended; nullopt while it runs.
  std::optional<ProgramEnd> ended() {
    int status = 0;
    const pid_t got = ::waitpid(pid_, &status, WNOHANG);
    if (got != pid_) return std::nullopt;
    pid_ = 0;
    ProgramEnd end;
    end.stopped = stopSent_;
    if (WIFEXITED(status)) end.exitStatus = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
    return end;
  }

 private:
  pid_t pid_;
  bool stopSent_ = false;
  bool killed_ = false;
  Clock::time_point killAt_{};
};

// Waits up to kPollMilliseconds for output and reads what came; once the program has
// closed its output, only waits.
void readSome(Descriptor& output, LineCutter& cutter) {
  if (output.get() < 0) {
    ::poll(nullptr, 0, kPollMilliseconds);
    return;
  }
  pollfd ready{output.get(), POLLIN, 0};
  if (::poll(&ready, 1, kPollMilliseconds) <= 0) return;  // a timeout, or a signal
  std::array<char, 4096> buffer{};
  const ssize_t got = ::read(output.get(), buffer.data(), buffer.size());
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (got <= 0) {
    output.reset();
    cutter.end();
    return;
  }
  cutter.take(buffer.data(), static_cast<std::size_t>(got));
}

// What the program wrote before it ended and is still in the pipe.
void drain(Descriptor& output, LineCutter& cutter) {
  std::array<char, 4096> buffer{};
  while (output.get() >= 0) {
    pollfd ready{output.get(), POLLIN, 0};
    if (::poll(&ready, 1, 0) <= 0) break;
    const ssize_t got = ::read(output.get(), buffer.data(), buffer.size());
    if (got <= 0) break;
    cutter.take(buffer.data(), static_cast<std::size_t>(got));
  }
  cutter.end();
}

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
  // `stop` is asked on every round, also while the program winds down: the window's
  // events go on being handled through it.
  for (;;) {
    if (stop() || child.stopSent()) child.stop();
    readSome(reading, cutter);
    if (const auto end = child.ended()) {
      drain(reading, cutter);
      return *end;
    }
  }
}

}  // namespace tessaly
