#include "disc/title_matroska.h"

#include <filesystem>

#include "platform/paths.h"

namespace tessaly {
namespace {

const std::vector<DiscTrack>& tracksOf(const DiscTitle& title, StreamGroup group) {
  return group == StreamGroup::Audio ? title.audio : title.subtitles;
}

// The source of a track: what the disc says of it, and the parts made of it.
MuxSource trackSource(const DiscTrack* track, StreamGroup group,
                      const std::vector<TitleOutput>& made) {
  MuxSource source;
  source.group = group;
  const int number = track ? track->track : 0;
  for (const TitleOutput& output : made) {
    if (output.group != group || output.track != number) continue;
    if (source.files.empty()) {
      source.codec = output.codec;
      source.delayMs = output.delayMs;
      AudioTimeline timeline;
      timeline.parts = output.parts;
      source.parts = matroskaParts(timeline, 0);
      source.lpcm = output.lpcm;
    }
    source.files.push_back({0, output.name, output.form});
  }
  if (source.files.empty()) return source;
  std::error_code ignored;
  source.empty = std::filesystem::file_size(source.files.front().name, ignored) == 0;
  if (!track) {
    source.name = "video";
    return source;
  }
  source.name = trackCaption(group == StreamGroup::Audio ? "audio" : "subtitle", *track);
  source.description = track->description;
  source.language = track->language.value_or("");
  source.channels = track->channels;
  source.flags = track->flags;
  return source;
}

// The title's name, its chapters (on the disc clock) and its title set's language, for the
// chapter file and the video's language.
TitleFacts chapterFacts(const DiscTitle& title) {
  TitleFacts facts;
  facts.number = title.number;
  facts.id = title.id;
  facts.name = title.name;
  facts.durationMs = title.durationMs;
  facts.chapters = title.chapters;
  facts.defaultLanguage = title.defaultLanguage;
  return facts;
}

// One source per track with outputs, in the step's order: the video, then audio and
// subtitles by track number, each with the parts that `made` holds of it.
std::vector<MuxSource> titleSources(const DiscTitle& title, const std::vector<TitleOutput>& made) {
  std::vector<MuxSource> sources{trackSource(nullptr, StreamGroup::Video, made)};
  for (const StreamGroup group : {StreamGroup::Audio, StreamGroup::Sub}) {
    for (const DiscTrack& track : tracksOf(title, group)) {
      sources.push_back(trackSource(&track, group, made));
    }
  }
  return sources;
}

}  // namespace

TitleFilmResult demuxTitleFilm(TitleDemuxRequest request, MatroskaRequest matroska,
                               JobObserver& observer, const MatroskaJson& json) {
  const TitleFacts facts = chapterFacts(request.title);
  matroska.title = &facts;
  matroska.chapterFile =
      request.outputFolder + kSeparator + titleFileName(request.title) + ".chapters.xml";
  request.film = !matroska.output.empty();
  request.alsoCreates = matroskaNames(matroska);
  TitleFilmResult result{demuxTitle(request, observer)};
  rethrowFailure(result.demux.error);
  result.mkvmergeWarnings = matroskaStep(matroska, observer, json, result.demux.end,
                                         titleSources(request.title, result.demux.made));
  return result;
}

}  // namespace tessaly
