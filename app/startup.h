#pragma once
// The program's entry steps that are worth testing on their own: the
// command line and the second-instance path.

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

struct BuildConfig;
class SingleInstance;

struct CommandLine {
  // Every argument after the program name, as given (the "/a" switch is
  // looked for in the first only).
  std::vector<std::string> arguments;
  bool simulate = false;       // --simulate
  QString screenshotPath;      // --screenshot FILE
  bool screenshotRead = false; // --screenshot-read: read the radio first
  QString tracePath;           // --trace FILE: append the serial traffic to FILE
};

CommandLine ParseCommandLine(const QStringList& arguments);

// A second copy of the program: says so, asks the running one to come to
// the front, and gives the exit code (0).
int RunSecondInstance(const SingleInstance& guard, const BuildConfig& build);
