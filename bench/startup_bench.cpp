// What the programmer's start-up costs over a bare Qt window.
//
//   startup_bench [runs]
//
// Each run starts the real programmer with "--simulate --screenshot FILE"
// (the simulated radio, to idle, a screenshot and exit), then a bare
// QMainWindow of the same size doing the same (this program run again
// with "--bare"), alternately, both on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise. It prints the median CPU time (user +
// system, from the child's rusage) and peak memory of each, and the ratio
// of CPU times. The programmer runs with a scratch home, so neither its
// settings nor the user's are touched, in an empty working folder.

#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "median.h"

namespace {

struct Cost {
  double cpuSeconds = 0;
  long maxRssKiB = 0;
  bool ok = false;
};

// Runs `args` to its end; its CPU time and peak memory.
Cost RunChild(const std::vector<std::string>& args) {
  Cost cost;
  const pid_t pid = fork();
  if (pid < 0) return cost;
  if (pid == 0) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return cost;
  cost.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  cost.maxRssKiB = usage.ru_maxrss;
  cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return cost;
}

// The bare window: shown at the given size, saved once idle, then gone.
int RunBare(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.resize(std::atoi(argv[2]), std::atoi(argv[3]));
  window.show();
  const QString path = QString::fromLocal8Bit(argv[4]);
  QTimer::singleShot(0, &window, [&] {
    window.grab().save(path);
    app.quit();
  });
  return app.exec();
}


}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--bare") return RunBare(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  setenv("QT_QPA_PLATFORM", getenv("QT_QPA_PLATFORM") ? getenv("QT_QPA_PLATFORM") : "offscreen", 1);

  char folder[] = "/tmp/vorn-startup-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string home = folder;
  // The default mem-file is looked for in the working folder: start from
  // an empty one, so every run takes the same path wherever it is run
  // (the "Unable to open file" notice, answered and photographed).
  if (chdir(folder) != 0) {
    std::perror("chdir");
    return 1;
  }
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
  const std::string shot = home + "/programmer.png";
  const std::string bareShot = home + "/bare.png";
  char self[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 1;

  std::vector<double> programCpu, bareCpu;
  long programRss = 0, bareRss = 0;
  for (int i = 0; i < runs; ++i) {
    const Cost program = RunChild({VORN_PROGRAM_PATH, "--simulate", "--screenshot", shot});
    const QImage image(QString::fromStdString(shot));
    if (!program.ok || image.isNull()) {
      std::fprintf(stderr, "the programmer did not start, idle and save its window\n");
      return 1;
    }
    const Cost bare = RunChild({self, "--bare", std::to_string(image.width()),
                                std::to_string(image.height()), bareShot});
    if (!bare.ok) {
      std::fprintf(stderr, "the bare window did not run\n");
      return 1;
    }
    programCpu.push_back(program.cpuSeconds);
    bareCpu.push_back(bare.cpuSeconds);
    programRss = std::max(programRss, program.maxRssKiB);
    bareRss = std::max(bareRss, bare.maxRssKiB);
    if (i == 0) std::printf("window size: %dx%d\n", image.width(), image.height());
  }
  std::error_code ec;
  std::filesystem::remove_all(home, ec);

  const double p = Median(programCpu), b = Median(bareCpu);
  std::printf("start-up to idle, screenshot, exit (median of %d):\n", runs);
  std::printf("  programmer:  %.3f s CPU, %.1f MiB peak\n", p, programRss / 1024.0);
  std::printf("  bare window: %.3f s CPU, %.1f MiB peak\n", b, bareRss / 1024.0);
  std::printf("  ratio: %.2fx (target at most 1.5x)\n", b > 0 ? p / b : 0.0);
  return 0;
}
