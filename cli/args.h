#pragma once
// The command line of vornprog: one subcommand, then its options and
// operands. Each subcommand describes what it takes in a small table, so
// the parser, the checks and the --help text come from the same data.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// How much of a wrong command-line word a message quotes: enough to
// recognise it, never a pasted megabyte or a terminal's control bytes.
inline constexpr size_t kQuotedArgumentChars = 40;

struct OptionSyntax {
  const char* longName;   // "port" for --port
  char shortName;         // 'o' for -o, 0 for none
  const char* valueName;  // "PORT"; nullptr for a switch
  const char* help;
  bool required = false;
};

struct CommandSyntax {
  const char* name;
  const char* operands;  // "FILE1 FILE2" for the usage line, "" for none
  const char* summary;
  std::vector<OptionSyntax> options;
  int minOperands = 0;
  int maxOperands = 0;
  const char* details = "";  // extra paragraphs for --help
  // The arguments go to the command unparsed (it has a parser of its own).
  bool passThrough = false;
  // More --help text made at run time (another parser's option list).
  std::string (*moreHelp)() = nullptr;
};

struct ParsedArgs {
  bool help = false;
  // By long name, in the order given; a switch holds one "".
  std::map<std::string, std::vector<std::string>> values;
  std::vector<std::string> operands;
  std::vector<std::string> raw;  // everything after the subcommand

  bool Has(const std::string& name) const { return values.count(name) != 0; }
  std::string Get(const std::string& name) const;  // the last one given
  std::vector<std::string> All(const std::string& name) const;
};

// Parses args (those after the subcommand) for syntax. On failure returns
// false and error says why, in the words of a usage message.
bool ParseArgs(const CommandSyntax& syntax, const std::vector<std::string>& args, ParsedArgs& out,
               std::string& error);

std::string CommandUsage(const CommandSyntax& syntax);
