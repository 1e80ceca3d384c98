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

std::map<std::string, std::string> streamTips(const JobReport& report,
                                              const std::string& chosenFile) {
  std::map<std::string, std::string> tips;
  if (report.file.empty() || report.file != chosenFile) return tips;
  for (const StreamEntry& entry : report.streams) {
    if (!entry.box.empty()) tips[entry.box] = streamTip(entry);
  }
  return tips;
}

}  // namespace tessaly
