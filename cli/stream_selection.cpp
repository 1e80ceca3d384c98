#include "cli/stream_selection.h"

#include <algorithm>
#include <cctype>

#include "catalogue/box_names.h"
#include "engine/stream_slots.h"

namespace tessaly::cli {
namespace {

constexpr std::size_t kNumberDigits = 2;  // the EVO counts at most 32 streams of a group

struct GroupWord {
  const char* word;
  StreamGroup group;
};
constexpr GroupWord kGroupWords[] = {
    {"video", StreamGroup::Video}, {"audio", StreamGroup::Audio}, {"sub", StreamGroup::Sub}};

bool digitsOnly(const std::string& text) {
  return !text.empty() && text.size() <= kNumberDigits &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// A stream by group word and number ("audio3"), when the name is one the EVO can have.
std::optional<GroupNumber> streamOfName(const std::string& name) {
  for (const GroupWord& g : kGroupWords) {
    const std::string word = g.word;
    if (name.compare(0, word.size(), word) != 0) continue;
    const std::string number = name.substr(word.size());
    if (!digitsOnly(number)) return std::nullopt;
    const int n = std::stoi(number);
    if (n >= slotGroup(g.group).numbers) return std::nullopt;
    return GroupNumber{g.group, n};
  }
  return std::nullopt;
}

}  // namespace

SelectedStream selectedStream(const std::string& name) {
  auto stream = boxOfName(name);
  if (!stream) stream = streamOfName(name);
  if (!stream) {
    throw UsageError(
        "--select takes box names (cbVideo0, cbAudio03, cbSub12) or streams "
        "(video0, audio3, sub12), not " +
        name);
  }
  const SlotGroup& group = slotGroup(stream->group);
  if (stream->number >= group.outputs) throw UsageError(name + " has no output file");
  return {name, group.firstSlot + stream->number};
}

std::optional<std::vector<SelectedStream>> selectedStreams(const Arguments& arguments) {
  if (!arguments.has("--select")) return std::nullopt;
  std::vector<SelectedStream> selection;
  for (const auto& name : splitList(arguments.value("--select"))) {
    selection.push_back(selectedStream(name));
  }
  if (selection.empty()) throw UsageError("--select names no stream");
  return selection;
}

std::set<int> slotsOf(const std::vector<SelectedStream>& selection) {
  std::set<int> slots;
  for (const SelectedStream& stream : selection) slots.insert(stream.slot);
  return slots;
}

}  // namespace tessaly::cli
