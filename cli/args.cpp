#include "args.h"

#include <algorithm>

namespace {

const OptionSpec* FindLong(const CommandSpec& spec, const std::string& name) {
  for (const OptionSpec& o : spec.options)
    if (name == o.longName) return &o;
  return nullptr;
}

const OptionSpec* FindShort(const CommandSpec& spec, char c) {
  for (const OptionSpec& o : spec.options)
    if (o.shortName != 0 && o.shortName == c) return &o;
  return nullptr;
}

bool IsHelp(const std::string& a) { return a == "--help" || a == "-h"; }

}  // namespace

std::string ParsedArgs::Get(const std::string& name) const {
  const auto it = values.find(name);
  return it == values.end() || it->second.empty() ? std::string() : it->second.back();
}

std::vector<std::string> ParsedArgs::All(const std::string& name) const {
  const auto it = values.find(name);
  return it == values.end() ? std::vector<std::string>() : it->second;
}

bool ParseArgs(const CommandSpec& spec, const std::vector<std::string>& args, ParsedArgs& out,
               std::string& error) {
  out = ParsedArgs{};
  out.raw = args;
  if (spec.passThrough) {
    // A pass-through command still answers --help the same way.
    out.help = std::any_of(args.begin(), args.end(), IsHelp);
    return true;
  }
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      out.operands.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    if (IsHelp(a)) {
      out.help = true;
      continue;
    }
    const OptionSpec* option = nullptr;
    std::string value;
    bool inlineValue = false;
    if (a.rfind("--", 0) == 0) {
      const size_t eq = a.find('=');
      option = FindLong(spec, a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2));
      if (option && eq != std::string::npos) {
        value = a.substr(eq + 1);
        inlineValue = true;
      }
    } else if (a.size() == 2) {
      option = FindShort(spec, a[1]);
    }
    if (!option) {
      error = "unknown option " + a;
      return false;
    }
    const std::string display = std::string("--") + option->longName;
    if (!option->valueName) {
      if (inlineValue) {
        error = display + " takes no value";
        return false;
      }
      out.values[option->longName].push_back("");
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        error = display + " needs " + option->valueName;
        return false;
      }
      value = args[++i];
    }
    if (value.empty()) {
      error = display + " needs a non-empty " + option->valueName;
      return false;
    }
    out.values[option->longName].push_back(value);
  }
  if (out.help) return true;
  for (const OptionSpec& o : spec.options) {
    if (o.required && !out.Has(o.longName)) {
      error = std::string("--") + o.longName + " " + o.valueName + " is required";
      return false;
    }
  }
  const int n = static_cast<int>(out.operands.size());
  if (n < spec.minOperands) {
    error = std::string("missing ") + spec.operands;
    return false;
  }
  if (n > spec.maxOperands) {
    error = "unexpected argument " + out.operands[static_cast<size_t>(spec.maxOperands)];
    return false;
  }
  return true;
}

std::string CommandUsage(const CommandSpec& spec) {
  std::string usage = std::string("Usage: vornprog ") + spec.name;
  for (const OptionSpec& o : spec.options) {
    std::string part = std::string("--") + o.longName + (o.valueName ? std::string(" ") + o.valueName : "");
    usage += o.required ? " " + part : " [" + part + "]";
  }
  if (spec.operands[0] != '\0') usage += std::string(" ") + spec.operands;
  usage += std::string("\n") + spec.summary + "\n";
  if (!spec.options.empty()) {
    usage += "\nOptions:\n";
    for (const OptionSpec& o : spec.options) {
      std::string left = "  ";
      if (o.shortName) left += std::string("-") + o.shortName + ", ";
      left += std::string("--") + o.longName + (o.valueName ? std::string(" ") + o.valueName : "");
      left.resize(std::max<size_t>(left.size() + 2, 24), ' ');
      usage += left + o.help + "\n";
    }
  }
  usage += "  -h, --help            this text\n";
  if (spec.details[0] != '\0') usage += std::string("\n") + spec.details;
  if (spec.moreHelp) usage += spec.moreHelp();
  return usage;
}
