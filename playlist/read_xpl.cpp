#include "playlist/read_xpl.h"

#include <span>
#include <string>

#include "catalogue/selection.h"
#include "playlist/attr_lists.h"
#include "playlist/title_phase.h"
#include "playlist/xpl_scanner.h"
#include "shell/invoke.h"
#include "shell/report.h"

namespace tessaly {
namespace {

// Reads InputStream in ReadBuffer-sized chunks, showing progress, and scans each.
void scanFile(Session& s, XplScanner& scanner) {
  InputFile& file = *s.InputStream;
  const std::string size = std::to_string(file.size());
  while (file.position() < file.size()) {
    const std::size_t got = file.read(s.ReadBuffer.data(), s.ReadBuffer.size());
    if (got == 0) break;  // the file shrank since it was opened
    slog(s, std::to_string(file.position()) + "/" + size + " bytes", 1);
    scanner.feed(std::span<const std::uint8_t>(s.ReadBuffer.data(), got));
  }
}

// The run of "Read XPL".
void readXPL(Session& s) {
  auto& w = s.fMain;
  Resetcbs(s);
  w.bReadXPL.enabled = false;
  w.PageControl = tsXPL;
  InputRelease release(s);  // closes the playlist also when a step fails
  s.InputStream = std::make_unique<InputFile>(w.eXPLfile.text, Access::Exclusive);
  log(s, "Open " + s.XPLname);
  log(s, "Filesize: " + std::to_string(s.InputStream->size()) + " bytes");

  XplRun run;
  XplScanner scanner([&](const std::string& tag) {
    w.mXPL.lines.push_back(tag);
    checkTag(s, run, tag);
  });
  w.mXPL.lines.clear();
  w.mXPL.visible = false;
  scanFile(s, scanner);
  s.InputStream.reset();
  titlePhase(s, run);
  w.mXPL.visible = true;

  log(s, "Done.");
  slog(s, "Ready", 0);
  slog(s, "", 1);
  w.bReadXPL.enabled = true;
}

}  // namespace

void bReadXPLClick(Session& s) {
  runJob(s, readXPL);
}

}  // namespace tessaly
