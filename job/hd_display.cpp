#include "job/hd_display.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tessaly {
namespace {

constexpr std::int64_t kDelayStep = 1024;  // ticks of 90 kHz per step of a sequence's delay

// The registers a decoder keeps while it runs the sequences of one unit.
class Display {
 public:
  Display(std::span<const std::uint8_t> unit, VideoFrame frame) : unit_(unit), frame_(frame) {}

  void run(const HdSequence& s);
  HdDisplay result() {
    result_.leftOut = asked_ && pictures_ == 0;
    return std::move(result_);
  }

 private:
  void show();
  std::optional<PgsPicture> picture() const;
  std::vector<PgsColour> palette() const;
  void emit(PgsEvent::Kind kind, PgsPicture picture = {}) {
    result_.events.push_back({kind, delay_, std::move(picture), {}});
    if (kind != PgsEvent::Kind::Clear) result_.events.back().palette = palette();
  }

  std::span<const std::uint8_t> unit_;
  VideoFrame frame_;
  std::optional<HdColours> colours_;
  std::optional<HdContrasts> contrasts_;
  std::optional<HdArea> area_;
  std::optional<HdFields> fields_;
  std::int64_t delay_ = 0;
  bool shown_ = false;
  bool asked_ = false;  // a start was met
  bool forced_ = false;
  int pictures_ = 0;
  std::array<bool, 256> used_{};  // the indexes the shown picture has
  HdDisplay result_;
};

template <typename T>
bool changes(const std::optional<T>& given, std::optional<T>& held) {
  if (!given || given == held) return false;
  held = given;
  return true;
}

void Display::run(const HdSequence& s) {
  // A sequence never runs before the one ahead of it.
  delay_ = std::max(delay_, std::int64_t{s.delay} * kDelayStep);
  const bool area = changes(s.area, area_);
  const bool fields = changes(s.fields, fields_);
  const bool colours = changes(s.colours, colours_);
  const bool contrasts = changes(s.contrasts, contrasts_);
  if (s.stop) {
    if (shown_) emit(PgsEvent::Kind::Clear);
    shown_ = false;
    return;
  }
  asked_ = asked_ || s.start;
  forced_ = forced_ || s.forcedStart;
  if (!shown_ && !s.start) return;
  if (!shown_ || area || fields) return show();
  if (colours || contrasts) emit(PgsEvent::Kind::Recolour);
}

// A new picture; without what it needs (or past the unit's pictures) the display stays.
void Display::show() {
  if (pictures_ == kMostPictures) return;
  auto made = picture();
  if (!made) return;
  ++pictures_;
  shown_ = true;
  result_.forced = result_.forced || forced_;
  used_ = {};
  for (std::uint8_t index : made->bitmap.pixels) used_[index] = true;
  emit(PgsEvent::Kind::Show, std::move(*made));
}

std::optional<PgsPicture> Display::picture() const {
  if (!colours_ || !contrasts_ || !area_ || !fields_) return std::nullopt;
  const HdArea& a = *area_;
  const int width = std::min(a.width(), frame_.width - a.x1);
  const int height = std::min(a.height(), frame_.height - a.y1);
  if (width <= 0 || height <= 0) return std::nullopt;
  return PgsPicture{a.x1, a.y1, hdBitmap(unit_, a, *fields_, width, height), forced_};
}

std::vector<PgsColour> Display::palette() const {
  std::vector<PgsColour> entries;
  for (std::size_t i = 0; i < used_.size(); ++i) {
    if (!used_[i]) continue;
    const auto alpha = static_cast<std::uint8_t>(0xFF - (*contrasts_)[i]);
    entries.push_back({static_cast<std::uint8_t>(i), (*colours_)[i], alpha});
  }
  return entries;
}

}  // namespace

HdDisplay hdDisplay(std::span<const std::uint8_t> unit, VideoFrame frame) {
  const std::vector<HdSequence> sequences = hdSequences(unit);
  Display display(unit, frame);
  for (const HdSequence& s : sequences) display.run(s);
  HdDisplay result = display.result();
  result.leftOut = result.leftOut || sequences.empty();
  return result;
}

}  // namespace tessaly
