#include "cli/verbs.h"

#include <algorithm>
#include <cstdio>

#include "cli/cli_observer.h"
#include "cli/standard_output.h"
#include "platform/visible_text.h"

namespace tessaly::cli {
namespace {

constexpr std::size_t kOptionColumn = 24;

std::string optionLine(const OptionRule& option) {
  std::string left = "      " + option.name;
  if (!option.valueName.empty()) left += " " + option.valueName;
  left.resize(std::max(left.size() + 1, kOptionColumn), ' ');
  return left + option.help + "\n";
}

std::string verbSection(const Verb& verb) {
  std::string text = "  " + verb.name + " " + verb.operands + "\n      " + verb.summary + "\n";
  for (const auto& option : verb.options) text += optionLine(option);
  return text;
}

const Verb* findVerb(const std::string& name) {
  for (const auto& verb : verbs()) {
    if (verb.name == name) return &verb;
  }
  return nullptr;
}

int runVerb(const Verb& verb, const std::vector<std::string>& args, bool statusIsTerminal) {
  const Arguments arguments = parseArguments(args, verb.options);
  const bool data = std::any_of(verb.dataOptions.begin(), verb.dataOptions.end(),
                                [&](const std::string& option) { return arguments.has(option); });
  CliObserver observer(statusIsTerminal, data);
  installStopSignals();
  const int status = verb.run(observer, arguments);
  return standardOutputComplete() || status != kSuccess ? status : kJobFailed;
}

}  // namespace

const std::vector<Verb>& verbs() {
  static const std::vector<Verb> table = {scanVerb(), demuxVerb(), xplVerb(), discVerb(),
                                          titleVerb()};
  return table;
}

std::string usageText() {
  std::string text =
      "Usage: tessaly-cli VERB OPERAND [OPTION...]\n"
      "       tessaly-cli --help | --version\n\n"
      "Splits HD DVD video object files (.EVO) into raw elementary streams and reads the\n"
      "disc playlist VPLST000.XPL.\n\n"
      "Verbs:\n";
  for (const auto& verb : verbs()) text += verbSection(verb);
  return text +
         "\nEvery verb also takes --help. Log lines go to standard output, status texts to\n"
         "standard error. Ctrl-C, SIGTERM and SIGHUP stop the running job as \"Cancel\" does.\n"
         "Exit status: 0 success, 1 a job failed (its message on standard error),\n"
         "2 a usage error, 128 + N a job stopped by signal N (130 for Ctrl-C).\n";
}

std::string verbUsageText(const Verb& verb) {
  return "Usage: tessaly-cli " + verb.name + " " + verb.operands + " [OPTION...]\n\n" +
         verbSection(verb);
}

int runCommand(const std::vector<std::string>& args, bool statusIsTerminal) {
  const Verb* verb = args.empty() ? nullptr : findVerb(args.front());
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::fputs((verb ? verbUsageText(*verb) : usageText()).c_str(), stdout);
    return kSuccess;
  }
  if (std::find(args.begin(), args.end(), "--version") != args.end()) {
    std::puts("tessaly-cli " TESSALY_VERSION);
    return kSuccess;
  }
  try {
    if (args.empty()) throw UsageError("no verb given");
    if (!verb) throw UsageError("unknown verb " + args.front());
    return runVerb(*verb, {args.begin() + 1, args.end()}, statusIsTerminal);
  } catch (const UsageError& error) {
    const std::string helpCommand =
        verb ? "tessaly-cli " + verb->name + " --help" : "tessaly-cli --help";
    std::fprintf(stderr, "tessaly-cli: %s\ntry '%s'\n", visibleText(error.what()).c_str(),
                 helpCommand.c_str());
    return kUsageError;
  }
}

}  // namespace tessaly::cli
