// Presentation graphics (PGS, the .sup of Blu-ray subtitles) as players and ffmpeg read
// them: display sets of segments, each "PG", its PTS and DTS (90 kHz, 32 bits), its type
// and 16-bit length. A caption starts an epoch: its composition (PCS), window (WDS),
// palette (PDS), object (ODS, split at 64 KiB) and END; new colours for the shown object
// are a palette update (PCS, PDS, END); a composition without objects (PCS, WDS, END)
// clears it. Palette entries carry Y, Cr, Cb and alpha.
#pragma once

#include <cstdint>
#include <vector>

#include "job/hd_subpicture.h"
#include "job/video_frame.h"

namespace tessaly {

struct PgsColour {
  std::uint8_t index = 0;
  YCrCb colour;
  std::uint8_t alpha = 0;  // 0 transparent .. FF opaque
  bool operator==(const PgsColour&) const = default;
};

// A bitmap at its place in the frame; it must lie inside the frame.
struct PgsPicture {
  int x = 0;
  int y = 0;
  IndexBitmap bitmap;
  bool forced = false;  // shown also when the viewer chose no subtitles
};

// The display sets of one presentation graphics stream, in the order they are shown.
class PgsDisplaySets {
 public:
  explicit PgsDisplaySets(VideoFrame frame) : frame_(frame) {}

  // An epoch start that shows `picture` with `palette` at `pts`.
  std::vector<std::uint8_t> show(std::uint32_t pts, const PgsPicture& picture,
                                 const std::vector<PgsColour>& palette);
  // The picture shown last, with `palette` from `pts` on: a palette update.
  std::vector<std::uint8_t> recolour(std::uint32_t pts, const std::vector<PgsColour>& palette);
  // Nothing shown from `pts` on.
  std::vector<std::uint8_t> clear(std::uint32_t pts);

 private:
  struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool forced = false;
  };

  void composition(std::vector<std::uint8_t>& out, std::uint32_t pts, std::uint8_t state,
                   bool paletteUpdate, bool withObject);
  void window(std::vector<std::uint8_t>& out, std::uint32_t pts) const;
  void palette(std::vector<std::uint8_t>& out, std::uint32_t pts,
               const std::vector<PgsColour>& colours);

  VideoFrame frame_;
  Placement shown_;
  std::uint16_t compositionNumber_ = 0;
  std::uint8_t paletteVersion_ = 0;
};

// The object's run-length data: per line its runs, then 00 00.
std::vector<std::uint8_t> pgsObjectData(const IndexBitmap& bitmap);

}  // namespace tessaly
