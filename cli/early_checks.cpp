#include "cli/early_checks.h"

#include "mux/mkvmerge_run.h"
#include "platform/error.h"
#include "platform/paths.h"

namespace tessaly::cli {

void checkBeforeReading(const EarlyChecks& checks, const FreeSpace& free) {
  checkFolder(checks.outputFolder, true);
  if (!checks.film.empty()) {
    const std::string folder = folderPart(checks.film);
    checkFolder(folder, shownFolder(folder) == shownFolder(checks.outputFolder));
    requireMkvmerge("leave out --mkv");
  }
  if (!checks.spaceCheck) return;
  const SpaceNeed need{checks.outputFolder, checks.film,
                       static_cast<std::uint64_t>(checks.inputBytes)};
  if (const auto shortfall = spaceShortfall(need, free)) {
    throw Error(shortfallText(*shortfall) + " (--no-space-check to go on)");
  }
}

}  // namespace tessaly::cli
