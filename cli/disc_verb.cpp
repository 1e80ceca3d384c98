// tessaly-cli disc DISC [--json]: the disc's playlists and their titles, the boot playlist
// first and the main feature marked.
#include <cstdio>

#include "cli/disc_json.h"
#include "cli/disc_text.h"
#include "cli/evo_steps.h"
#include "cli/verbs.h"
#include "disc/disc_operand.h"

namespace tessaly::cli {
namespace {

int runDisc(CliObserver& observer, const Arguments& arguments) {
  const std::string path = singleOperand(arguments, "disc folder or image");
  DiscOperand operand;
  if (!observer.succeeded([&] { operand = readDiscOperand(path); })) return kJobFailed;
  const Disc& disc = operand.disc;
  const std::string text = arguments.has("--json") ? discJson(disc) : discText(disc);
  std::fputs(text.c_str(), stdout);
  return kSuccess;
}

}  // namespace

Verb discVerb() {
  return {"disc",
          "DISC",
          "Lists the disc's playlists (DISC: its folder, holding HVDVD_TS and ADV_OBJ, or any\n"
          "      file in it, or its image), the boot playlist first: each title with its clips\n"
          "      and their EVO files, chapters and tracks; the main feature is marked.",
          {{"--json", "", "print the disc as JSON instead"}},
          runDisc,
          {"--json"}};
}

}  // namespace tessaly::cli
