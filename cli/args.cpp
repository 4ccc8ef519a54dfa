#include "args.h"

#include <algorithm>

#include "excerpt.h"

namespace {

const OptionSyntax* FindLong(const CommandSyntax& syntax, const std::string& name) {
  for (const OptionSyntax& o : syntax.options)
    if (name == o.longName) return &o;
  return nullptr;
}

const OptionSyntax* FindShort(const CommandSyntax& syntax, char c) {
  for (const OptionSyntax& o : syntax.options)
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

bool ParseArgs(const CommandSyntax& syntax, const std::vector<std::string>& args, ParsedArgs& out,
               std::string& error) {
  out = ParsedArgs{};
  out.raw = args;
  if (syntax.passThrough) {
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
    const OptionSyntax* option = nullptr;
    std::string value;
    bool inlineValue = false;
    if (a.rfind("--", 0) == 0) {
      const size_t eq = a.find('=');
      option = FindLong(syntax, a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2));
      if (option && eq != std::string::npos) {
        value = a.substr(eq + 1);
        inlineValue = true;
      }
    } else if (a.size() == 2) {
      option = FindShort(syntax, a[1]);
    }
    if (!option) {
      error = "unknown option " + QuotedExcerpt(a, kQuotedArgumentChars);
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
  for (const OptionSyntax& o : syntax.options) {
    if (o.required && !out.Has(o.longName)) {
      error = std::string("--") + o.longName + " " + o.valueName + " is required";
      return false;
    }
  }
  const int n = static_cast<int>(out.operands.size());
  if (n < syntax.minOperands) {
    error = std::string("missing ") + syntax.operands;
    return false;
  }
  if (n > syntax.maxOperands) {
    error = "unexpected argument " +
            QuotedExcerpt(out.operands[static_cast<size_t>(syntax.maxOperands)], kQuotedArgumentChars);
    return false;
  }
  return true;
}

std::string CommandUsage(const CommandSyntax& syntax) {
  std::string usage = std::string("Usage: vornprog ") + syntax.name;
  for (const OptionSyntax& o : syntax.options) {
    std::string part = std::string("--") + o.longName + (o.valueName ? std::string(" ") + o.valueName : "");
    usage += o.required ? " " + part : " [" + part + "]";
  }
  if (syntax.operands[0] != '\0') usage += std::string(" ") + syntax.operands;
  usage += std::string("\n") + syntax.summary + "\n";
  if (!syntax.options.empty()) {
    usage += "\nOptions:\n";
    for (const OptionSyntax& o : syntax.options) {
      std::string left = "  ";
      if (o.shortName) left += std::string("-") + o.shortName + ", ";
      left += std::string("--") + o.longName + (o.valueName ? std::string(" ") + o.valueName : "");
      left.resize(std::max<size_t>(left.size() + 2, 24), ' ');
      usage += left + o.help + "\n";
    }
  }
  usage += "  -h, --help            this text\n";
  if (syntax.details[0] != '\0') usage += std::string("\n") + syntax.details;
  if (syntax.moreHelp) usage += syntax.moreHelp();
  return usage;
}
