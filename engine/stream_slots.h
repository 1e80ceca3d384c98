// The stream table (64 signed slots numbered 1..64, -1 meaning nothing found) and the
// one table of its slot groups: where each group's slots start, which numbers have a
// check box and an output entry, and how boxes and captions write a number. Every layer
// reads the groups from here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaly {

enum class StreamGroup { Video, Audio, Sub };

struct SlotGroup {
  StreamGroup group;
  const char* kind;          // the group's name in reports
  int firstSlot;             // the slot of stream number 0
  int numbers;               // the stream numbers with a slot: 0 .. numbers - 1
  int outputs;               // the numbers with a stream box and an output entry
  const char* boxPrefix;     // box n is named boxPrefix + n in `digits` digits
  int digits;                // digits of a number in box names and caption suffixes
  const char* resetCaption;  // every box of the group after Resetcbs
};

// In job order: video 0 and 1, audio 00..15, subpicture 00..15.
inline constexpr std::array<SlotGroup, 3> kSlotGroups{{
    {StreamGroup::Video, "video", 1, 16, 2, "cbVideo", 1, "No video stream"},
    {StreamGroup::Audio, "audio", 17, 16, 16, "cbAudio", 2, "No audio stream"},
    {StreamGroup::Sub, "subpicture", 33, 32, 16, "cbSub", 2, "No subpicture"},
}};

constexpr const SlotGroup& slotGroup(StreamGroup group) {
  return kSlotGroups[static_cast<std::size_t>(group)];
}

// The group whose slots hold `slot`, or nullptr for a number outside 1..64.
constexpr const SlotGroup* groupOfSlot(int slot) {
  for (const SlotGroup& g : kSlotGroups) {
    if (slot >= g.firstSlot && slot < g.firstSlot + g.numbers) return &g;
  }
  return nullptr;
}

// A stream number as box names and captions write it: at least the group's digits,
// zero-padded in front.
inline std::string numberText(const SlotGroup& group, std::int64_t number) {
  std::string text = std::to_string(number);
  const auto digits = static_cast<std::size_t>(group.digits);
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

constexpr int kVideoSlot = slotGroup(StreamGroup::Video).firstSlot;
constexpr int kAudioSlot = slotGroup(StreamGroup::Audio).firstSlot;
constexpr int kSubSlot = slotGroup(StreamGroup::Sub).firstSlot;
constexpr int kSlots = kSlotGroups.back().firstSlot + kSlotGroups.back().numbers - 1;

class SlotTable {
 public:
  SlotTable() { reset(); }
  // Sets slots first..last (inclusive) to -1.
  void reset(int first = 1, int last = kSlots) {
    for (int slot = first; slot <= last; ++slot) (*this)[slot] = -1;
  }
  // Slot access by its number, 1..64; a number outside throws std::out_of_range.
  std::int32_t& operator[](int slot) { return slots_.at(static_cast<unsigned>(slot - 1)); }
  std::int32_t operator[](int slot) const { return slots_.at(static_cast<unsigned>(slot - 1)); }

 private:
  std::array<std::int32_t, kSlots> slots_{};
};

}  // namespace tessaly
