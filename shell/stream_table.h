// The stream table: 64 signed slots numbered 1..64, -1 meaning nothing found.
// Video stream n lives in slot 1 + n, audio n in 17 + n, subpicture n in 33 + n.
#pragma once

#include <array>
#include <cstdint>

namespace tessaly {

constexpr int kVideoSlot = 1;
constexpr int kAudioSlot = 17;
constexpr int kSubSlot = 33;
constexpr int kSlots = 64;

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
