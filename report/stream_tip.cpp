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

std::map<std::string, std::string> streamTips(const Session& s) {
  std::map<std::string, std::string> tips;
  if (s.Found.file.empty() || s.Found.file != s.fMain.eEVOfile.text) return tips;
  for (const StreamEntry& entry : jobReport(s).streams) {
    if (!entry.box.empty()) tips[entry.box] = streamTip(entry);
  }
  return tips;
}

}  // namespace tessaly
