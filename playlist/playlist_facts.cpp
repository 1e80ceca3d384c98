#include "playlist/playlist_facts.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "platform/paths.h"

namespace tessaly {
namespace {

// Bounds on what a playlist may make us keep (the format has at most 999 of each).
constexpr std::size_t kMaxTitles = 999;
constexpr std::size_t kMaxChapters = 999;
constexpr std::int32_t kMaxStreamNumber = 64;
constexpr std::int64_t kMaxChannels = 8;  // of an HD DVD audio stream

enum Kind : std::size_t { kAudio = 0, kSubtitle = 1 };

struct NamedTimeBase {
  std::string_view name;
  TimeBase base;
};

// The first entry is the clock of an absent or unknown timeBase.
constexpr std::array<NamedTimeBase, 2> kTimeBases{{
    {"60fps", {60, 1001, 60000}},
    {"50fps", {50, 1, 50}},
}};

std::optional<std::int64_t> number(const std::string& text) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || text.empty()) return std::nullopt;
  return value;
}

// "fr:09" gives the language "fr" and the extension "09".
void takeLangcode(TrackFact& fact, const std::string& langcode) {
  const auto colon = langcode.find(':');
  fact.language = langcode.substr(0, colon);
  fact.extension = colon == std::string::npos ? "" : langcode.substr(colon + 1);
}

}  // namespace

std::string chapterNumber(std::size_t number) {
  char text[24];
  std::snprintf(text, sizeof text, "%02zu", number);
  return text;
}

std::string clockText(std::int64_t ms) {
  char text[40];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld",
                static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return text;
}

std::int64_t timeCounts(const std::string& time, const TimeBase& base) {
  std::vector<std::int64_t> parts;
  std::size_t from = 0;
  for (std::size_t colon = 0; colon != std::string::npos; from = colon + 1) {
    colon = time.find(':', from);
    const auto part = number(time.substr(from, colon - from));
    if (!part || *part < 0 || *part > 1000000) return -1;
    parts.push_back(*part);
  }
  if (parts.size() != 3 && parts.size() != 4) return -1;
  const std::int64_t seconds = (parts[0] * 60 + parts[1]) * 60 + parts[2];
  return seconds * base.perSecond + (parts.size() == 4 ? parts[3] : 0);
}

std::int64_t timeMs(const std::string& time, const TimeBase& base) {
  const std::int64_t counts = timeCounts(time, base);
  if (counts < 0) return -1;
  return (counts * base.numerator * 1000 + base.denominator / 2) / base.denominator;
}

TimeBase timeBase(const std::string& attribute) {
  for (const NamedTimeBase& known : kTimeBases) {
    if (known.name == attribute) return known.base;
  }
  return kTimeBases.front().base;
}

TitleFacts titleHead(const XmlTag& tag, const TimeBase& base, std::size_t position) {
  TitleFacts title;
  const auto titleNumber = number(tag.attribute("titleNumber"));
  title.number = titleNumber && *titleNumber > 0 && *titleNumber <= 99999
                     ? static_cast<int>(*titleNumber)
                     : static_cast<int>(position);
  title.id = tag.attribute("id");
  title.name = tag.attribute("displayName");
  title.duration = tag.attribute("titleDuration");
  title.durationMs = timeMs(title.duration, base);
  return title;
}

std::optional<ChapterFact> chapterFact(const XmlTag& tag, const TimeBase& base,
                                       std::size_t position) {
  const std::int64_t start = timeMs(tag.attribute("titleTimeBegin"), base);
  if (start < 0) return std::nullopt;
  const std::string name = tag.attribute("displayName");
  return ChapterFact{start, name.empty() ? "Chapter " + chapterNumber(position) : name};
}

ClipFact clipFact(const XmlTag& tag, const TimeBase& base) {
  ClipFact clip{tag.attribute("src")};
  if (tag.name == "PrimaryAudioVideoClip") {
    clip.beginMs = timeMs(tag.attribute("titleTimeBegin"), base);
    clip.endMs = timeMs(tag.attribute("titleTimeEnd"), base);
  }
  return clip;
}

FactsReader::FactsReader(const std::string& file, const std::string& baseName) {
  facts_.file = file;
  facts_.baseName = baseName;
}

void FactsReader::tag(const std::string& text, const TitleMatch& match) {
  if (match.picksNow() && !facts_.titles.empty()) {
    facts_.chosen = static_cast<int>(facts_.titles.size()) - 1;
  }
  matched_ = match.decided();
  const auto tag = readXmlTag(text);
  if (!tag) return;
  if (tag->name == "TitleSet" && !tag->closing) titleSetTag(*tag);
  if (tag->name == "AudioAttributeItem") audioItemTag(*tag);
  if (tag->name == "Title") {
    if (tag->closing) {
      closeTitle();
    } else {
      openTitle(*tag);
    }
    return;
  }
  if (inTitle_ && !tag->closing) contentTag(facts_.titles.back(), *tag);
}

void FactsReader::titleSetTag(const XmlTag& tag) {
  clock_ = timeBase(tag.attribute("timeBase"));
  defaultLanguage_ = tag.attribute("defaultLanguage");
}

// Past the cap a title is read only while it may be the one that plays the EVO file: it
// takes the place of the previous such title, and stays once chosen.
void FactsReader::openTitle(const XmlTag& tag) {
  closeTitle();
  if (facts_.titles.size() >= kMaxTitles) {
    if (matched_) return;
    if (facts_.titles.size() > kMaxTitles) facts_.titles.pop_back();
  }
  TitleFacts title = titleHead(tag, clock_, facts_.titles.size() + 1);
  title.defaultLanguage = defaultLanguage_;
  facts_.titles.push_back(std::move(title));
  inTitle_ = !tag.selfClosing;
  chapters_ = 0;
}

// A stream without a langcode of its own takes that of its title's navigation track.
void FactsReader::closeTitle() {
  if (!inTitle_) return;
  inTitle_ = false;
  TitleFacts& title = facts_.titles.back();
  for (std::size_t kind : {kAudio, kSubtitle}) {
    auto& streams = kind == kAudio ? title.audio : title.subtitles;
    for (const auto& [stream, track] : trackOf_[kind]) {
      const auto found = trackLangcode_[kind].find(track);
      if (found != trackLangcode_[kind].end()) takeLangcode(streams[stream], found->second);
    }
    trackOf_[kind].clear();
    trackLangcode_[kind].clear();
  }
}

void FactsReader::contentTag(TitleFacts& title, const XmlTag& tag) {
  if (tag.name == "Audio" || tag.name == "Subtitle") {
    streamTag(title, tag, tag.name == "Audio");
  } else if (tag.name == "AudioTrack" || tag.name == "SubtitleTrack") {
    const auto track = number(tag.attribute("track"));
    const std::size_t kind = tag.name == "AudioTrack" ? kAudio : kSubtitle;
    if (track && !trackLangcode_[kind].count(static_cast<std::int32_t>(*track)) &&
        trackLangcode_[kind].size() < static_cast<std::size_t>(kMaxStreamNumber)) {
      trackLangcode_[kind][static_cast<std::int32_t>(*track)] = tag.attribute("langcode");
    }
  } else if (tag.name == "Chapter") {
    chapterTag(title, tag);
  } else if (endsWith(tag.name, "Clip") && tag.attributes.count("src")) {
    title.clips.push_back(clipFact(tag, clock_));
  }
}

void FactsReader::audioItemTag(const XmlTag& tag) {
  const auto index = number(tag.attribute("index"));
  const auto channels = number(tag.attribute("channels"));
  if (index && channels && *channels > 0 && *channels <= kMaxChannels) {
    audioChannels_.emplace(*index, static_cast<int>(*channels));
  }
}

// The first element of a streamNumber gives its language, description and channels.
void FactsReader::streamTag(TitleFacts& title, const XmlTag& tag, bool audio) {
  const auto stream = number(tag.attribute("streamNumber"));
  if (!stream || *stream < 1 || *stream > kMaxStreamNumber) return;
  auto& streams = audio ? title.audio : title.subtitles;
  const auto n = static_cast<std::int32_t>(*stream);
  if (streams.count(n)) return;
  TrackFact& fact = streams[n];
  fact.description = tag.attribute("description");
  takeLangcode(fact, tag.attribute("langcode"));
  const auto item = number(tag.attribute("mediaAttr"));
  const auto channels = item ? audioChannels_.find(*item) : audioChannels_.end();
  if (audio && channels != audioChannels_.end()) fact.channels = channels->second;
  const auto track = number(tag.attribute("track"));
  if (fact.language.empty() && track) {
    trackOf_[audio ? kAudio : kSubtitle][n] = static_cast<std::int32_t>(*track);
  }
}

void FactsReader::chapterTag(TitleFacts& title, const XmlTag& tag) {
  const std::size_t position = ++chapters_;
  if (title.chapters.size() == kMaxChapters) return;
  if (auto chapter = chapterFact(tag, clock_, position)) title.chapters.push_back(*chapter);
}

PlaylistFacts FactsReader::finish() {
  closeTitle();
  const bool candidateChosen = facts_.chosen == static_cast<int>(kMaxTitles);
  if (facts_.titles.size() > kMaxTitles && !candidateChosen) facts_.titles.pop_back();
  return std::move(facts_);
}

std::string titleLine(const TitleFacts& title) {
  std::string line = std::to_string(title.number) + ": " + title.name + " (";
  if (!title.id.empty()) line += "id " + title.id + ", ";
  line += title.durationMs >= 0 ? clockText(title.durationMs) : "no duration";
  const std::size_t chapters = title.chapters.size();
  line += ", " + std::to_string(chapters) + (chapters == 1 ? " chapter" : " chapters");
  for (std::size_t n = 0; n < title.clips.size(); ++n) {
    line += (n == 0 ? "; " : ", ") + fileNamePart(title.clips[n].src);
  }
  return line + ")";
}

}  // namespace tessaly
