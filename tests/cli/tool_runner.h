#pragma once
// Runs the real vornprog executable as a child process and collects what
// it says: exit status, standard output, standard error.

#include <sys/types.h>

#include <string>
#include <vector>

struct ToolResult {
  int status = -1;  // exit status; 128 + signal when a signal ended it
  std::string out;
  std::string err;
};

class ToolProcess {
 public:
  // args exclude the program. stderrDevice: a device to use as the child's
  // standard error (a pseudo-terminal); empty: a pipe collected here.
  // program: another build of the tool to run; empty for vornprog.
  // fileSizeBlocks: when not 0, the tool runs under a shell's
  // "ulimit -f fileSizeBlocks", with SIGXFSZ as a shell leaves it (its
  // default action, killing the process) unless the tool changes it.
  explicit ToolProcess(const std::vector<std::string>& args, const std::string& stderrDevice = "",
                       const std::string& program = "", int fileSizeBlocks = 0);
  ~ToolProcess();  // kills a child still running
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // The first line of standard output, without its newline ("" on time-out).
  std::string FirstLine(int timeoutMs = 5000);
  // The next whole line of standard output after those already taken, in
  // line; false when none came in time or the output has ended.
  bool NextLine(std::string& line, int timeoutMs = 30000);
  void Signal(int signal);
  // Collects the rest and waits for the exit; kills the child after timeoutMs.
  ToolResult Wait(int timeoutMs = 30000);

 private:
  bool Pump(int timeoutMs);  // false once both pipes are closed

  pid_t pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  ToolResult result_;
  size_t nextLine_ = 0;  // where NextLine reads on in result_.out
};

ToolResult RunTool(const std::vector<std::string>& args);

// A folder under /tmp removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  std::vector<std::string> Names() const;  // the folder's entries, sorted

 private:
  std::string path_;
};

std::vector<unsigned char> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
