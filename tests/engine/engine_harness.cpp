#include "engine_harness.h"

#include <algorithm>

namespace tessaly::testing {
namespace {

PassMode modeOf(int mode) {
  return mode == 0 ? PassMode::Scan : PassMode::Write;
}

}  // namespace

SessionWalker::SessionWalker(Session& session, int mode)
    : port_(session, modeOf(mode)), walker_(session.StreamTable, port_, modeOf(mode)) {}

EngineHarness::EngineHarness() {
  session.fMain.cbFastCheck.ticked = true;
}

void EngineHarness::setInput(const Bytes& bytes) {
  writeFile(dir.file("FEATURE_1.EVO"), bytes);
  session.InputStream = std::make_unique<InputFile>(dir.file("FEATURE_1.EVO"), Access::Shared);
}

void EngineHarness::openAllOutputs() {
  for (int slot : OutputSet::jobOrder()) {
    outputPaths_[slot] = dir.file("out" + std::to_string(slot));
    session.OutputStreams.open(slot, outputPaths_[slot]);
  }
  for (auto* group : {&session.fMain.cbAudio, &session.fMain.cbSub}) {
    for (auto& box : *group) box.ticked = true;
  }
  for (auto& box : session.fMain.cbVideo) box.ticked = true;
}

std::map<int, Bytes> EngineHarness::closeOutputs() {
  session.OutputStreams.closeAll();
  std::map<int, Bytes> contents;
  for (const auto& [slot, path] : outputPaths_) contents[slot] = readFile(path);
  return contents;
}

void EngineHarness::walk(const Bytes& bytes, int mode, std::initializer_list<std::size_t> pieces) {
  SessionWalker walker(session, mode);
  std::size_t at = 0;
  for (auto piece = pieces.begin(); at < bytes.size();) {
    const std::size_t count = std::min(*piece, bytes.size() - at);
    walker.feed(bytes.data() + at, count);
    at += count;
    if (++piece == pieces.end()) piece = pieces.begin();
  }
}

std::map<int, std::int32_t> EngineHarness::table() const {
  std::map<int, std::int32_t> filled;
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (session.StreamTable[slot] != -1) filled[slot] = session.StreamTable[slot];
  }
  return filled;
}

}  // namespace tessaly::testing
