#include "tool_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

namespace {
using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}
}  // namespace

ToolProcess::ToolProcess(const std::vector<std::string>& args, const std::string& stderrDevice,
                         const std::string& program, int fileSizeBlocks) {
  int out[2], err[2] = {-1, -1};
  if (pipe2(out, O_CLOEXEC) != 0) return;
  if (stderrDevice.empty() && pipe2(err, O_CLOEXEC) != 0) return;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  if (stderrDevice.empty())
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  else
    posix_spawn_file_actions_addopen(&actions, 2, stderrDevice.c_str(), O_RDWR | O_NOCTTY, 0);

  const std::string path = program.empty() ? std::string(VORNPROG_PATH) : program;
  std::vector<std::string> all;
  if (fileSizeBlocks > 0)
    all = {"/bin/sh", "-c",
           "ulimit -f " + std::to_string(fileSizeBlocks) + " && exec \"$0\" \"$@\""};
  all.push_back(path);
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (fileSizeBlocks > 0) {
    // Under the limit, SIGXFSZ starts at its default, as in a user's shell,
    // whatever this process does with it.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  }
  if (posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), environ) != 0) pid_ = -1;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);

  close(out[1]);
  outFd_ = out[0];
  if (err[1] >= 0) close(err[1]);
  errFd_ = err[0];
}

ToolProcess::~ToolProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (outFd_ >= 0) close(outFd_);
  if (errFd_ >= 0) close(errFd_);
}

bool ToolProcess::Pump(int timeoutMs) {
  pollfd fds[2];
  int n = 0;
  for (int fd : {outFd_, errFd_})
    if (fd >= 0) fds[n++] = {fd, POLLIN, 0};
  if (n == 0) return false;
  if (poll(fds, static_cast<nfds_t>(n), timeoutMs) <= 0) return true;
  for (int i = 0; i < n; ++i) {
    if (!fds[i].revents) continue;
    char buffer[4096];
    const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
    int& fd = fds[i].fd == outFd_ ? outFd_ : errFd_;
    std::string& into = fds[i].fd == outFd_ ? result_.out : result_.err;
    if (got > 0) {
      into.append(buffer, static_cast<size_t>(got));
    } else {
      close(fd);
      fd = -1;
    }
  }
  return outFd_ >= 0 || errFd_ >= 0;
}

std::string ToolProcess::FirstLine(int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (result_.out.find('\n') == std::string::npos && MsLeft(end) > 0 && outFd_ >= 0)
    Pump(MsLeft(end));
  const size_t nl = result_.out.find('\n');
  return nl == std::string::npos ? "" : result_.out.substr(0, nl);
}

bool ToolProcess::NextLine(std::string& line, int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (result_.out.find('\n', nextLine_) == std::string::npos && MsLeft(end) > 0 &&
         outFd_ >= 0)
    Pump(MsLeft(end));
  const size_t nl = result_.out.find('\n', nextLine_);
  if (nl == std::string::npos) return false;
  line = result_.out.substr(nextLine_, nl - nextLine_);
  nextLine_ = nl + 1;
  return true;
}

void ToolProcess::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

ToolResult ToolProcess::Wait(int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (MsLeft(end) > 0 && Pump(MsLeft(end))) {
  }
  if (pid_ <= 0) return result_;
  int status = 0;
  if (MsLeft(end) == 0 && waitpid(pid_, &status, WNOHANG) == 0) kill(pid_, SIGKILL);
  waitpid(pid_, &status, 0);
  pid_ = -1;
  result_.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result_;
}

ToolResult RunTool(const std::vector<std::string>& args) { return ToolProcess(args).Wait(); }

TempDir::TempDir() {
  char name[] = "/tmp/vornprog-test-XXXXXX";
  if (mkdtemp(name)) path_ = name;
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> TempDir::Names() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}
