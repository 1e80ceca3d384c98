#include "app/command_line.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tessaly::app {
namespace {

// The options Qt takes out of argv itself (QGuiApplication's, QApplication's and the X11
// platform's), each written with one dash or two; those of the first list take a value, as
// the next argument or after "=".
constexpr std::string_view kQtValueOptions[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "name",   "visual"};
constexpr std::string_view kQtFlagOptions[] = {"reverse", "widgetcount", "testability", "nograb",
                                               "dograb"};

template <std::size_t N>
bool among(std::string_view name, const std::string_view (&names)[N]) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// The option's name without its dashes and without an "=value".
std::string_view optionName(std::string_view arg) {
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  return arg.substr(0, arg.find('='));
}

// Takes Qt's option at argv[i] (and its value) into the line's Qt arguments; returns the
// index of its last argument, or -1 when it is not one of Qt's.
int takeQtOption(CommandLine& line, int argc, char* argv[], int i) {
  const std::string_view arg = argv[i];
  const std::string_view name = optionName(arg);
  const bool inlineValue = arg.find('=') != std::string_view::npos;
  if (among(name, kQtFlagOptions) && !inlineValue) {
    line.qtArguments.push_back(argv[i]);
    return i;
  }
  if (!among(name, kQtValueOptions)) return -1;
  line.qtArguments.push_back(argv[i]);
  if (inlineValue) return i;
  if (i + 1 == argc) {
    line.action = CommandLine::Action::UsageError;
    line.error = "option '" + std::string(arg) + "' needs a value";
    return i;
  }
  line.qtArguments.push_back(argv[i + 1]);
  return i + 1;
}

}  // namespace

CommandLine readCommandLine(int argc, char* argv[]) {
  CommandLine line;
  line.qtArguments.push_back(argv[0]);
  bool options = true;
  for (int i = 1; i < argc && line.action == CommandLine::Action::Open; ++i) {
    const std::string_view arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--help" || arg == "-h")) {
      line.action = CommandLine::Action::Help;
    } else if (options && arg == "--version") {
      line.action = CommandLine::Action::Version;
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      const int last = takeQtOption(line, argc, argv, i);
      if (last < 0) {
        line.action = CommandLine::Action::UsageError;
        line.error = "unknown option '" + std::string(arg) + "'";
      }
      i = std::max(i, last);
    } else if (line.path.empty()) {
      line.path = arg;
    }
  }
  line.qtArguments.push_back(nullptr);  // argv[argc] is a null pointer, as Qt may expect
  return line;
}

const char* usageText() {
  return R"(Usage: tessaly [FILE.EVO | VPLST000.XPL]
       tessaly --help | --version

Opens the window that splits HD DVD video object files (.EVO) into raw elementary
streams and reads the disc playlist VPLST000.XPL. A file given is taken as if it had
been dropped on the window; an .EVO file in a disc's HVDVD_TS folder also finds the
playlist in the sibling ADV_OBJ folder.

  -h, --help   print this help and exit
  --version    print the version and exit

The options of every Qt program (-platform NAME, -style NAME, -display DISPLAY,
-reverse, ...) are taken too. The same work without a window: tessaly-cli --help.
)";
}

std::string usageErrorLine(const std::string& error) {
  return "tessaly: " + error + "; usage: tessaly [--help | --version | FILE.EVO | VPLST000.XPL]";
}

}  // namespace tessaly::app
