// A session with its window, a temp folder for the input and one output file per
// entry, and helpers to walk bytes through the engine.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "catalogue/demux.h"
#include "engine/pes_walker.h"
#include "shell/session.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace tessaly::testing {

using Bytes = std::vector<std::uint8_t>;

// A walker that fills the session's stream table and reports through its port, as
// demux() does: mode 0 scans, 1 writes.
class SessionWalker {
 public:
  SessionWalker(Session& session, int mode);
  void feed(const std::uint8_t* data, std::size_t count) { walker_.feed(data, count); }
  const PassState& state() const { return walker_.state(); }

 private:
  SessionPort port_;
  PesWalker walker_;
};

class EngineHarness {
 public:
  EngineHarness();

  // Writes `bytes` as FEATURE_1.EVO and opens it as InputStream.
  void setInput(const Bytes& bytes);
  // Opens all 34 output entries and ticks all 40 boxes.
  void openAllOutputs();
  // Closes the entries and returns every output file's content by slot.
  std::map<int, Bytes> closeOutputs();
  // Walks `bytes` through a fresh SessionWalker in pieces of the given sizes (cycled).
  void walk(const Bytes& bytes, int mode, std::initializer_list<std::size_t> pieces = {1u << 30});
  // The stream table as a map of its filled slots.
  std::map<int, std::int32_t> table() const;

  RecordingHost host;
  Session session{host};
  TempDir dir;

 private:
  std::map<int, std::string> outputPaths_;
};

}  // namespace tessaly::testing
