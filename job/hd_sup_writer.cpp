#include "job/hd_sup_writer.h"

#include <array>

namespace tessaly {

void HdSupWriter::beginUnit(std::uint64_t pts) {
  std::array<std::uint8_t, 10> frame{'S', 'P'};  // then the PTS and four zero bytes
  for (int i = 0; i < 4; ++i) frame[2 + i] = static_cast<std::uint8_t>(pts >> (8 * i));
  file_.write(frame.data(), frame.size());
}

}  // namespace tessaly
