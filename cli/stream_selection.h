// --select: the streams a demux writes, by box name (cbVideo0, cbAudio03, cbSub12) or by
// group and the stream's number as the EVO counts it (video0, audio3, sub12).
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/arguments.h"

namespace tessaly::cli {

struct SelectedStream {
  std::string name;  // as the operator wrote it, for the messages
  int slot = 0;      // its stream-table slot, one with an output entry
};

// The stream a name selects; a UsageError for a name of neither form, or of a stream
// without an output file (cbVideo2, video5).
SelectedStream selectedStream(const std::string& name);

// The streams of --select, in the order given; nullopt without the option. A list that
// names nothing is a UsageError.
std::optional<std::vector<SelectedStream>> selectedStreams(const Arguments& arguments);

// The slots of a selection.
std::set<int> slotsOf(const std::vector<SelectedStream>& selection);

}  // namespace tessaly::cli
