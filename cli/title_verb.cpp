// tessaly-cli title DISC [NUMBER] [--playlist VPLSTnnn.XPL] --out DIR [--mkv FILE]: demuxes
// a title of the disc, by default the main feature of the boot playlist, every clip in
// title order, and with --mkv muxes its tracks into one Matroska file.
#include <charconv>
#include <stdexcept>

#include "cli/early_checks.h"
#include "cli/evo_steps.h"
#include "cli/mkvmerge_options.h"
#include "cli/verbs.h"
#include "disc/disc.h"
#include "disc/disc_operand.h"
#include "disc/title_matroska.h"
#include "playlist/attr_value.h"
#include "report/matroska_tracks.h"

namespace tessaly::cli {
namespace {

const DiscPlaylist& chosenPlaylist(const Disc& disc, const Arguments& arguments) {
  if (disc.playlists.empty()) throw std::runtime_error("the disc has no playlists");
  if (!arguments.has("--playlist")) return disc.playlists.front();  // the boot playlist
  for (const DiscPlaylist& playlist : disc.playlists) {
    if (upperAscii(playlist.file) == upperAscii(arguments.value("--playlist"))) return playlist;
  }
  throw std::runtime_error("the disc has no playlist " + arguments.value("--playlist"));
}

// Title NUMBER of the playlist, or without one its main feature.
const DiscTitle& chosenTitle(const DiscPlaylist& playlist, const Arguments& arguments) {
  int number = 0;
  const bool numbered = arguments.operands.size() == 2;
  if (numbered) {
    const std::string& text = arguments.operands[1];
    const auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || at != text.data() + text.size()) {
      throw UsageError("the title NUMBER is no number: " + text);
    }
  }
  for (const DiscTitle& title : playlist.titles) {
    if (numbered ? title.number == number : title.main) return title;
  }
  throw std::runtime_error(numbered ? playlist.file + " has no title " + std::to_string(number)
                                    : playlist.file + " has no main feature: give a title NUMBER");
}

// --mkv: the title's tracks go into one Matroska file, with the title's name and chapters.
MatroskaRequest matroskaRequest(const Arguments& arguments) {
  if (!arguments.has("--mkv")) return {};
  MatroskaRequest request;
  request.output = arguments.value("--mkv");
  request.leaveOut = "leave out --mkv";
  return request;
}

// What is checked before the title's first clip is read: the clips' sizes are what the
// outputs (and the film) take.
EarlyChecks earlyChecks(const DiscTitle& title, const Arguments& arguments) {
  EarlyChecks checks;
  checks.outputFolder = arguments.value("--out");
  checks.film = arguments.value("--mkv");
  checks.inputBytes = evoBytes(title);
  checks.spaceCheck = !arguments.has("--no-space-check");
  return checks;
}

// False when the checks before reading fail, or the output folder cannot be made.
bool readyToWrite(CliObserver& observer, const DiscTitle& title, const Arguments& arguments) {
  checkBeforeReading(earlyChecks(title, arguments));
  return createOutputFolder(observer, arguments.value("--out"));
}

bool makeTitle(CliObserver& observer, const Arguments& arguments) {
  const DiscOperand operand = readDiscOperand(arguments.operands[0]);
  const Disc& disc = operand.disc;
  const DiscTitle& title = chosenTitle(chosenPlaylist(disc, arguments), arguments);
  if (!readyToWrite(observer, title, arguments)) return false;
  TitleDemuxRequest request;
  request.videoFolder = disc.videoFolder;
  request.title = title;
  request.outputFolder = arguments.value("--out");
  request.files = operand.files.get();
  request.removeUnfinished = true;  // a track cut off by a full disk is no track
  const MatroskaRequest matroska = matroskaRequest(arguments);
  const std::size_t warnings =
      demuxTitleFilm(request, matroska, observer, {mkvmergeOptionFile, matroskaTrackTypes})
          .mkvmergeWarnings;
  endWithWarnings(observer, warnings, matroska.output);
  return true;
}

int runTitle(CliObserver& observer, const Arguments& arguments) {
  if (arguments.operands.empty() || arguments.operands.size() > 2) {
    throw UsageError("title takes the disc and at most a title NUMBER");
  }
  if (!arguments.has("--out")) throw UsageError("title needs --out DIR");
  bool made = false;
  const bool done = observer.succeeded([&] { made = makeTitle(observer, arguments); });
  return done && made ? statusAfterJobs(observer) : kJobFailed;
}

}  // namespace

Verb titleVerb() {
  return {"title",
          "DISC [NUMBER]",
          "Demuxes title NUMBER of the disc, its folder or its image (by default the main\n"
          "      feature of the boot playlist): every clip's EVO in title order, each track\n"
          "      into one output named after the title and the track\n"
          "      (\"The Feature.audio1.eng.DD+.eac3\").",
          {{"--playlist", "VPLSTnnn.XPL", "the playlist of the title (default: the boot playlist)"},
           {"--out", "DIR", "the folder of the outputs, created when missing"},
           {"--mkv", "FILE.mkv",
            "then mux every track into FILE.mkv with mkvmerge: the title's name and\n"
            "                        chapters, each track's language, name and flags\n"
            "                        (subpictures pgs or VobSub, lpcm wav)"},
           {"--no-space-check", "",
            "go on when the free space looks too small for the outputs (and the film)"}},
          runTitle};
}

}  // namespace tessaly::cli
