// Command-line arguments of one verb: its operands and its options, checked against
// the verb's option table.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaly::cli {

// A wrong command line; its message is shown with a pointer to --help (exit status 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One option of a verb: "--out" with the value name "DIR", or a flag without value.
struct OptionRule {
  std::string name;
  std::string valueName;  // empty for a flag
  std::string help;
};

struct Arguments {
  std::vector<std::string> operands;
  std::map<std::string, std::string> options;  // name -> value ("" for a flag)

  bool has(const std::string& name) const { return options.count(name) != 0; }
  // The option's value, or `fallback` when it was not given.
  std::string value(const std::string& name, const std::string& fallback = "") const;
};

// Splits args into operands and the options of `rules` ("--name VALUE" or
// "--name=VALUE"); an unknown or repeated option, or a missing value, is a UsageError.
Arguments parseArguments(const std::vector<std::string>& args,
                         const std::vector<OptionRule>& rules);

// Splits "a,b,c" at the commas; empty items are dropped.
std::vector<std::string> splitList(const std::string& text);

}  // namespace tessaly::cli
