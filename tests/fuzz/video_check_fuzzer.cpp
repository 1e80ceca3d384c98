// The MPEG-2 video check over arbitrary bytes: the input chooses the packets' size and the
// cuts the bytes are fed in; each packet's PTS comes from its first byte. What must hold:
// the same pictures, PTS checked and disagreements fed whole or cut, each disagreement at
// a picture within the stream, in order.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <vector>

#include "audio/mpeg2_timing.h"
#include "fuzz/fuzz_session.h"

namespace tessaly {
namespace {

using fuzzing::require;

VideoTiming check(const std::vector<std::uint8_t>& bytes, std::size_t packet, std::size_t cut) {
  Mpeg2Timing timing;
  for (std::size_t at = 0; at < bytes.size();) {
    if (at % packet == 0) timing.packet(at, at / packet * 3003 + bytes[at] * 40);
    const std::size_t end = std::min({at + cut, (at / packet + 1) * packet, bytes.size()});
    timing.bytes(bytes.data() + at, end - at);
    at = end;
  }
  return timing.finish();
}

void compare(const VideoTiming& whole, const VideoTiming& cut, std::size_t size) {
  require(whole.pictures == cut.pictures && whole.checked == cut.checked,
          "the cuts change the pictures");
  require(whole.anchorPts == cut.anchorPts, "the cuts change the anchor");
  require(whole.disagreements.size() == cut.disagreements.size(),
          "the cuts change the disagreements");
  std::uint64_t last = 0;
  for (std::size_t n = 0; n < whole.disagreements.size(); ++n) {
    const VideoDisagreement& d = whole.disagreements[n];
    const VideoDisagreement& c = cut.disagreements[n];
    require(d.offset == c.offset && d.at == c.at && d.jump == c.jump, "disagreements differ");
    require(d.offset >= last && d.offset < size, "a disagreement out of place");
    last = d.offset;
  }
}

}  // namespace
}  // namespace tessaly

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaly;
  FuzzedDataProvider input(data, size);
  const std::size_t packet = input.ConsumeIntegralInRange<std::size_t>(1, 4096);
  const std::size_t cut = input.ConsumeIntegralInRange<std::size_t>(1, 97);
  const std::vector<std::uint8_t> bytes = input.ConsumeRemainingBytes<std::uint8_t>();
  compare(check(bytes, packet, bytes.size() + 1), check(bytes, packet, cut), bytes.size());
  return 0;
}
