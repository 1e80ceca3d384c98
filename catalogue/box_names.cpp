#include "catalogue/box_names.h"

namespace tessaly {

std::string boxName(StreamGroup group, int number) {
  const SlotGroup& g = slotGroup(group);
  return g.boxPrefix + numberText(g, number);
}

std::string slotBoxName(int slot) {
  const SlotGroup* group = groupOfSlot(slot);
  if (!group || slot - group->firstSlot >= group->outputs) return "";
  return boxName(group->group, slot - group->firstSlot);
}

std::optional<GroupNumber> boxOfName(const std::string& name) {
  for (const SlotGroup& group : kSlotGroups) {
    for (std::size_t n = 0; n < boxCount(group.group); ++n) {
      const int number = static_cast<int>(n);
      if (name == boxName(group.group, number)) return GroupNumber{group.group, number};
    }
  }
  return std::nullopt;
}

}  // namespace tessaly
