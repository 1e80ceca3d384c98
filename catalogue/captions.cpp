#include "catalogue/captions.h"

#include "engine/codecs.h"
#include "engine/output_keys.h"

namespace tessaly {

std::string StreamCaption(int key, std::int32_t value) {
  const int slot = keySlot(key);
  const SlotGroup& group = *groupOfSlot(slot);
  const std::string number = numberText(group, slot - group.firstSlot);
  if (isRoutedKey(key) && keySource(key) == kMpegAudioSource) return "MPA.stream." + number;
  const Codec* codec = codecOf(group.group, value);
  return (codec ? codec->caption : "") + ("." + number);
}

}  // namespace tessaly
