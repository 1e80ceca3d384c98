#include "catalogue/evo_input.h"

#include <memory>
#include <string>

#include "shell/report.h"

namespace tessaly {
namespace {

constexpr std::int64_t kMebibyte = 1048576;

}  // namespace

void openEVO(Session& s, Access access) {
  log(s, "Opening file " + s.EVOname);
  slog(s, "Opening", 0);
  s.InputStream = std::make_unique<InputFile>(s.fMain.eEVOfile.text, access);
  s.Found = Findings{};
  s.Found.file = s.InputStream->path();
  s.Found.size = s.InputStream->size();
}

void logFileSize(Session& s) {
  log(s, "File size: " + std::to_string(s.InputStream->size() / kMebibyte) + " Mbytes.");
}

}  // namespace tessaly
