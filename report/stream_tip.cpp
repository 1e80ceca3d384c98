#include "report/stream_tip.h"

#include "report/report_json.h"

namespace tessaly {

std::string streamTip(const StreamEntry& e) {
  std::string ids;
  for (std::uint8_t id : e.ids) ids += (ids.empty() ? "" : ", ") + idText(id);
  const std::string delay =
      e.delayMs ? std::to_string(*e.delayMs) + " ms" : std::string("unknown (no time stamps)");
  return "Codec: " + e.codec + "\nIds: " + (ids.empty() ? "none" : ids) + "\nDelay: " + delay +
         "\nLanguage: " + e.language.value_or("unknown");
}

}  // namespace tessaly
