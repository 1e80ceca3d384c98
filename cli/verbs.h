// The verbs of tessaly-cli: a table that the command line, the usage text and the
// dispatcher all read, so that a verb is added in one place.
#pragma once

#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli_observer.h"

namespace tessaly::cli {

// A job stopped by signal N exits with kStoppedBySignal + N.
enum ExitStatus : int { kSuccess = 0, kJobFailed = 1, kUsageError = 2, kStoppedBySignal = 128 };

struct Verb {
  std::string name;
  std::string operands;  // as the usage text shows them, e.g. "EVO"
  std::string summary;   // what the verb does, for --help
  std::vector<OptionRule> options;
  // Runs the verb; returns the exit status. Throws UsageError before any job runs.
  int (*run)(CliObserver& observer, const Arguments& arguments);
  // Options that make standard output data: given one, the log goes to standard error.
  std::vector<std::string> dataOptions = {};
};

Verb scanVerb();
Verb demuxVerb();
Verb xplVerb();
Verb discVerb();
Verb titleVerb();

// Every verb, in the order --help lists them.
const std::vector<Verb>& verbs();

// The text that --help prints without a verb.
std::string usageText();

// The text that "VERB --help" prints: the verb's operands, summary and options.
std::string verbUsageText(const Verb& verb);

// Runs a whole command line (without the program name); returns the exit status.
int runCommand(const std::vector<std::string>& args, bool statusIsTerminal);

}  // namespace tessaly::cli
