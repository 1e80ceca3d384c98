#include "cli/arguments.h"

#include <algorithm>
#include <sstream>

namespace tessaly::cli {
namespace {

const OptionRule& findRule(const std::vector<OptionRule>& rules, const std::string& name) {
  const auto rule =
      std::find_if(rules.begin(), rules.end(), [&](const OptionRule& s) { return s.name == name; });
  if (rule == rules.end()) throw UsageError("unknown option " + name);
  return *rule;
}

bool isOption(const std::string& arg) {
  return arg.size() > 2 && arg.compare(0, 2, "--") == 0;
}

}  // namespace

std::string Arguments::value(const std::string& name, const std::string& fallback) const {
  const auto found = options.find(name);
  return found == options.end() ? fallback : found->second;
}

Arguments parseArguments(const std::vector<std::string>& args,
                         const std::vector<OptionRule>& rules) {
  Arguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!isOption(args[i])) {
      parsed.operands.push_back(args[i]);
      continue;
    }
    const auto equals = args[i].find('=');
    const std::string name = args[i].substr(0, equals);
    const OptionRule& rule = findRule(rules, name);
    std::string value;
    if (equals != std::string::npos) {
      if (rule.valueName.empty()) throw UsageError(name + " takes no value");
      value = args[i].substr(equals + 1);
    } else if (!rule.valueName.empty()) {
      if (i + 1 == args.size()) throw UsageError(name + " needs a value " + rule.valueName);
      value = args[++i];
    }
    if (!parsed.options.emplace(name, value).second) throw UsageError(name + " given twice");
  }
  return parsed;
}

std::vector<std::string> splitList(const std::string& text) {
  std::vector<std::string> items;
  std::istringstream in(text);
  for (std::string item; std::getline(in, item, ',');) {
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

}  // namespace tessaly::cli
