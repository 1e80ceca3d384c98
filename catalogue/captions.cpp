#include "catalogue/captions.h"

#include "engine/codecs.h"

namespace tessaly {

std::string StreamCaption(int slot, std::int32_t value) {
  const SlotGroup& group = *groupOfSlot(slot);
  const Codec* codec = codecOf(group.group, value);
  return (codec ? codec->caption : "") + ("." + numberText(group, slot - group.firstSlot));
}

}  // namespace tessaly
