// A program run as a child process: its exit status, what it wrote to standard output
// and standard error, its peak resident memory and the bytes it read. Header-only.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace tessaly::testing {

struct ChildRun {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
  long peakKiB = 0;  // the child's peak resident memory
  // What the child's read calls returned, all files together (/proc/PID/io's rchar).
  std::uint64_t bytesRead = 0;
};

// rchar of /proc/PID/io: the bytes that process's reads returned; 0 when not known.
inline std::uint64_t bytesReadBy(pid_t pid) {
  std::ifstream io("/proc/" + std::to_string(pid) + "/io");
  std::string key;
  std::uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return 0;
}

inline std::string textOf(const std::string& path) {
  const auto bytes = readFile(path);
  return {bytes.begin(), bytes.end()};
}

// The text's lines, each without its "\n"; a last line without one is dropped.
inline std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::string line;
  for (char c : text) {
    if (c != '\n') {
      line += c;
      continue;
    }
    result.push_back(line);
    line.clear();
  }
  return result;
}

// The full path of a program found in PATH; a test fails without it (scripts/deps
// installs the test tools).
inline std::string program(const std::string& name) {
  std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  for (std::string folder; std::getline(path, folder, ':');) {
    const std::string candidate = folder + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  ADD_FAILURE() << name << " is not installed: scripts/deps test installs it";
  return name;
}

// Runs a shell command line (an oracle: ffprobe, mkvmerge) and returns its standard
// output; a failing command fails the test.
inline std::string commandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output.append(buffer, got);
  }
  EXPECT_EQ(::pclose(pipe), 0) << command;
  return output;
}

// Runs `program` with `args`; standard output goes to `outPath` (a file in `logs` when
// empty), standard error to a file in `logs`. The child has this process's environment,
// or `environment` ("NAME=value" each) when that is not empty.
inline ChildRun runChild(const std::string& program, const std::vector<std::string>& args,
                         const TempDir& logs, const std::string& outPath = "",
                         std::vector<std::string> environment = {}) {
  std::vector<std::string> all = {program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string out = outPath.empty() ? logs.file("out") : outPath;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, logs.file("err").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  ChildRun result;
  std::vector<char*> envp;
  for (auto& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  char** childEnvironment = environment.empty() ? environ : envp.data();
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), childEnvironment) == 0) {
    // Counted once the child has ended, before it is reaped.
    siginfo_t ended{};
    ::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT);
    result.bytesRead = bytesReadBy(pid);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peakKiB = usage.ru_maxrss;
  }
  posix_spawn_file_actions_destroy(&actions);
  if (outPath.empty()) result.out = textOf(out);
  result.err = textOf(logs.file("err"));
  return result;
}

}  // namespace tessaly::testing
