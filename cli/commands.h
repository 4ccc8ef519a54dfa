#pragma once
// The subcommands. Each returns the process exit status: 0 success,
// 1 failure, 2 a usage error (diff: 1 when the files differ).

#include <vector>

#include "args.h"

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

int RunPorts(const ParsedArgs& args);
int RunDetect(const ParsedArgs& args);
int RunInfo(const ParsedArgs& args);
int RunRead(const ParsedArgs& args);
int RunWrite(const ParsedArgs& args);
int RunDump(const ParsedArgs& args);
int RunDiff(const ParsedArgs& args);
int RunReport(const ParsedArgs& args);
int RunSimulate(const ParsedArgs& args);
int RunArchive(const ParsedArgs& args);
int RunChannels(const ParsedArgs& args);
int RunBatch(const ParsedArgs& args);
int RunRestore(const ParsedArgs& args);
int RunGroups(const ParsedArgs& args);
int RunDoctor(const ParsedArgs& args);
int RunExport(const ParsedArgs& args);
int RunImport(const ParsedArgs& args);

struct Command {
  CommandSyntax syntax;
  int (*run)(const ParsedArgs&);
};

const std::vector<Command>& Commands();
