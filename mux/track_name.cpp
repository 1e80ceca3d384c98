#include "mux/track_name.h"

#include <algorithm>

#include "catalogue/iso639.h"
#include "engine/codecs.h"

namespace tessaly {
namespace {

// The codec as players name it.
std::string codecName(const MuxSource& source) {
  const Codec* codec = codecOf(source.group, source.codec);
  if (!codec) return "";
  if (codec->group != StreamGroup::Audio) return codec->name;
  switch (codec->coding) {
    case AudioCoding::DD:
      return "DD";
    case AudioCoding::DDPlus:
      return "DD+";
    case AudioCoding::DtsHd:
      return "DTS-HD";
    case AudioCoding::Lpcm:
      return "LPCM";
    case AudioCoding::Mlp:
      return "TrueHD";
  }
  return "";
}

// 6 channels are 5.1, 8 are 7.1 (one of them the low-frequency one); fewer have none.
std::string channelsName(const std::optional<int>& channels) {
  if (!channels || *channels < 1) return "";
  if (*channels >= 6) return std::to_string(*channels - 1) + ".1";
  return std::to_string(*channels) + ".0";
}

void append(std::string& name, const std::string& part) {
  if (part.empty()) return;
  if (!name.empty()) name += ' ';
  name += part;
}

bool flagged(const MuxSource& source, const char* flag) {
  return std::find(source.flags.begin(), source.flags.end(), flag) != source.flags.end();
}

}  // namespace

std::string trackName(const MuxSource& source) {
  if (!source.description.empty()) return source.description;
  if (flagged(source, "commentary")) return "Commentary";
  if (source.group == StreamGroup::Video) return codecName(source);
  std::string name = languageName(source.language).value_or("");
  if (source.group == StreamGroup::Sub) {
    append(name, "subtitles");  // forced ones have the flag
    if (name == "subtitles") name = "Subtitles";
    return name;
  }
  append(name, codecName(source));
  append(name, channelsName(source.channels));
  return name;
}

}  // namespace tessaly
