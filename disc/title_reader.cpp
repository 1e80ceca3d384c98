#include "disc/title_reader.h"

#include <charconv>
#include <optional>
#include <set>

#include "audio/audio_time.h"
#include "disc/track_language.h"
#include "platform/paths.h"

namespace tessaly {
namespace {

// Bounds on what a playlist may make us keep. Real titles have up to 300 clips and 16
// audio tracks, real playlists a few hundred clips; the format numbers up to 999 titles.
constexpr std::size_t kMaxTitles = 999;
constexpr std::size_t kMaxTitleClips = 999;
constexpr std::size_t kMaxPlaylistClips = 16384;
constexpr std::size_t kMaxChapters = 999;
constexpr int kMaxNumber = 64;  // of a track, a stream and a media attribute item

std::optional<int> smallNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || value < 1 || value > kMaxNumber) return std::nullopt;
  return value;
}

// The element name without a namespace prefix.
std::string localName(const std::string& name) {
  return name.substr(name.find(':') + 1);
}

// A clip time: absent is the start, unreadable -1.
std::int64_t clipTime(const XmlTag& tag, const std::string& attribute, const TimeBase& base) {
  const auto found = tag.attributes.find(attribute);
  return found == tag.attributes.end() ? 0 : timeMs(found->second, base);
}

}  // namespace

void TitleReader::tag(const std::string& text) {
  const auto tag = readXmlTag(text);
  if (!tag) return;
  const std::string name = localName(tag->name);
  if (tag->closing) {
    if (name == "Title") closeTitle();
    if (name == "PrimaryAudioVideoClip") inClip_ = false;
    return;
  }
  if (name == "AudioAttributeItem") attributeItem(*tag, kAudio);
  if (name == "SubpictureAttributeItem" || name == "SubtitleAttributeItem") {
    attributeItem(*tag, kSubtitle);
  }
  if (name == "TitleSet") {
    clock_ = timeBase(tag->attribute("timeBase"));
    defaultLanguage_ = tag->attribute("defaultLanguage");
  }
  if (name == "Title") openTitle(*tag);
  if (inTitle_ && name != "Title") titleContent(*tag);
}

// The MediaAttributeList comes before the TitleSet, as the format orders them. An item is
// numbered by its index attribute; authoring tools that leave it out (or write it as
// mediaAttr) number the items of each kind in order from 1.
void TitleReader::attributeItem(const XmlTag& tag, Kind kind) {
  const int place = static_cast<int>(++attributeItems_[kind]);
  const auto index = smallNumber(tag.attribute("index"));
  const auto named = index ? index : smallNumber(tag.attribute("mediaAttr"));
  codecs_[kind].emplace(named.value_or(place), tag.attribute("codec"));
  if (const auto channels = smallNumber(tag.attribute("channels"))) {
    channels_[kind].emplace(named.value_or(place), *channels);
  }
}

void TitleReader::openTitle(const XmlTag& tag) {
  closeTitle();
  if (titles_.size() == kMaxTitles) return;
  const TitleFacts head = titleHead(tag, clock_, titles_.size() + 1);
  DiscTitle title;
  title.number = head.number;
  title.id = head.id;
  title.name = head.name.empty() ? head.id : head.name;
  title.durationMs = head.durationMs;
  title.defaultLanguage = defaultLanguage_;
  titles_.push_back(std::move(title));
  inTitle_ = !tag.selfClosing;
  chapters_ = 0;
}

void TitleReader::titleContent(const XmlTag& tag) {
  const std::string name = localName(tag.name);
  DiscTitle& title = titles_.back();
  if (name == "PrimaryAudioVideoClip") {
    openClip(tag);
  } else if (inClip_ && (name == "Audio" || name == "Subtitle")) {
    trackTag(clipTracks_.back()[name == "Audio" ? kAudio : kSubtitle], tag, true);
  } else if (name == "AudioTrack" || name == "SubtitleTrack") {
    trackTag(navigation_[name == "AudioTrack" ? kAudio : kSubtitle], tag, false);
  } else if (name == "Chapter") {
    const std::size_t position = ++chapters_;
    if (title.chapters.size() == kMaxChapters) return;
    if (auto chapter = chapterFact(tag, clock_, position)) title.chapters.push_back(*chapter);
  }
}

void TitleReader::openClip(const XmlTag& tag) {
  DiscTitle& title = titles_.back();
  inClip_ = false;
  if (title.clips.size() == kMaxTitleClips || clips_ == kMaxPlaylistClips) return;
  ++clips_;
  DiscClip clip;
  clip.map = fileNamePart(tag.attribute("src"));
  clip.titleBeginMs = timeMs(tag.attribute("titleTimeBegin"), clock_);
  const std::int64_t begin = timeCounts(tag.attribute("titleTimeBegin"), clock_);
  if (begin >= 0)
    clip.titleBeginUnits = begin * (clock_.numerator * kUnitsPerSecond / clock_.denominator);
  clip.titleEndMs = timeMs(tag.attribute("titleTimeEnd"), clock_);
  clip.clipBeginMs = clipTime(tag, "clipTimeBegin", clock_);
  clip.seamless = tag.attribute("seamless") == "true";
  title.clips.push_back(std::move(clip));
  clipTracks_.emplace_back();
  inClip_ = !tag.selfClosing;
}

// The first element of a track number counts; navigation tracks have no stream.
void TitleReader::trackTag(Tracks& tracks, const XmlTag& tag, bool withStream) {
  const auto track = smallNumber(tag.attribute("track"));
  const auto stream = smallNumber(tag.attribute("streamNumber"));
  if (!track || (withStream && !stream)) return;
  TrackElement element;
  element.stream = withStream ? *stream : 0;
  element.mediaAttr = smallNumber(tag.attribute("mediaAttr")).value_or(0);
  element.langcode = tag.attribute("langcode");
  element.description = tag.attribute("description");
  tracks.emplace(*track, std::move(element));
}

// A track's language, flags and description come from its navigation track, else from
// its first clip element; its coding and channels from its first clip element's media
// attribute.
std::vector<DiscTrack> TitleReader::titleTracks(Kind kind) const {
  std::set<int> numbers;
  for (const auto& [track, element] : navigation_[kind]) numbers.insert(track);
  for (const auto& clip : clipTracks_) {
    for (const auto& [track, element] : clip[kind]) numbers.insert(track);
  }
  std::vector<DiscTrack> tracks;
  for (const int number : numbers) {
    DiscTrack track;
    track.track = number;
    std::optional<TrackElement> first;
    for (const auto& clip : clipTracks_) {
      const auto found = clip[kind].find(number);
      track.streams.push_back(found == clip[kind].end() ? std::nullopt
                                                        : std::optional(found->second.stream));
      if (found != clip[kind].end() && !first) first = found->second;
    }
    const auto nav = navigation_[kind].find(number);
    const TrackElement own = nav != navigation_[kind].end() ? nav->second : TrackElement{};
    const TrackElement fallback = first.value_or(TrackElement{});
    const auto codec = codecs_[kind].find(fallback.mediaAttr);
    if (codec != codecs_[kind].end()) track.coding = codec->second;
    const auto channels = channels_[kind].find(fallback.mediaAttr);
    if (channels != channels_[kind].end()) track.channels = channels->second;
    const std::string& langcode = own.langcode.empty() ? fallback.langcode : own.langcode;
    auto language = trackLanguage(langcode, kind == kAudio ? StreamGroup::Audio : StreamGroup::Sub);
    track.language = std::move(language.language);
    track.flags = std::move(language.flags);
    track.description = own.description.empty() ? fallback.description : own.description;
    tracks.push_back(std::move(track));
  }
  return tracks;
}

void TitleReader::closeTitle() {
  if (!inTitle_) return;
  inTitle_ = false;
  inClip_ = false;
  DiscTitle& title = titles_.back();
  title.audio = titleTracks(kAudio);
  title.subtitles = titleTracks(kSubtitle);
  clipTracks_.clear();
  navigation_ = {};
}

std::vector<DiscTitle> TitleReader::finish() {
  closeTitle();
  return std::move(titles_);
}

}  // namespace tessaly
