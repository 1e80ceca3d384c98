#include "report/report_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace tessaly {
namespace {

using Json = nlohmann::ordered_json;

// A value that may be missing: null then.
template <typename T>
Json optional(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json text(const std::string& value) {
  return value.empty() ? Json(nullptr) : Json(value);
}

// A subpicture stream's units as its output read them; null for other streams.
Json formatJson(const StreamEntry& e) {
  if (!e.unitFacts) return nullptr;
  return e.unitFacts->format == UnitFormat::Hd ? "hd" : "dvd";
}

Json forcedJson(const StreamEntry& e) {
  return e.unitFacts ? Json(e.unitFacts->forcedUnits) : Json(nullptr);
}

Json breaksJson(const std::vector<BreakRecord>& breaks) {
  Json list = Json::array();
  for (const BreakRecord& b : breaks) {
    list.push_back({{"at_ms", b.atMs}, {"jump_ms", b.jumpMs}, {"frames_dropped", b.framesDropped}});
  }
  return list;
}

Json streamJson(const StreamEntry& e, const StreamBreaks& breaks) {
  Json ids = Json::array();
  for (std::uint8_t id : e.ids) ids.push_back(idText(id));
  Json stream = {{"box", text(e.box)},
                 {"kind", e.kind},
                 {"number", e.number},
                 {"codec", e.codec},
                 {"ids", ids},
                 {"caption", text(e.caption)},
                 {"output", text(e.output)},
                 {"packets", e.packets},
                 {"bytes", e.bytes},
                 {"format", formatJson(e)},
                 {"units", optional(e.units)},
                 {"forced_units", forcedJson(e)},
                 {"first_pts", optional(e.firstPts)},
                 {"last_pts", optional(e.lastPts)},
                 {"delay_ms", optional(e.delayMs)},
                 {"language", optional(e.language)},
                 {"description", optional(e.description)}};
  if (const auto found = breaks.find(e.slot); found != breaks.end()) {
    stream["breaks"] = breaksJson(found->second);
  }
  return stream;
}

Json titleJson(const std::optional<TitleEntry>& title) {
  if (!title) return nullptr;
  Json chapters = Json::array();
  for (const ChapterFact& c : title->chapters) {
    chapters.push_back({{"start_ms", c.startMs}, {"name", c.name}});
  }
  return {{"playlist", title->playlist},
          {"name", title->name},
          {"duration_ms", optional(title->durationMs)},
          {"chapters", chapters}};
}

}  // namespace

std::string idText(std::uint8_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", id);
  return text;
}

std::string reportJson(const JobReport& r, const StreamBreaks& breaks) {
  Json streams = Json::array();
  for (const StreamEntry& e : r.streams) streams.push_back(streamJson(e, breaks));
  const Json report = {
      {"input",
       {{"file", r.file}, {"size", r.size}, {"continued_with", optional(r.continuedWith)}}},
      {"streams", streams},
      {"title", titleJson(r.title)},
      {"warnings", r.warnings}};
  // Bytes that are not UTF-8 (a playlist or file name in another encoding) are replaced,
  // so the report stays valid JSON.
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace tessaly
