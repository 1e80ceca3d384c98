#include "audio/frame_walker.h"

#include "audio/ac3_coding.h"
#include "audio/dts_coding.h"
#include "audio/lpcm_walker.h"
#include "audio/mlp_coding.h"
#include "audio/sync_walker.h"

namespace tessaly {

std::unique_ptr<FrameWalker> frameWalker(AudioCoding coding,
                                         const std::array<std::uint8_t, 3>& lpcmFormatBytes,
                                         FrameSink& sink) {
  switch (coding) {
    case AudioCoding::DD:
    case AudioCoding::DDPlus:
      return std::make_unique<SyncWalker>(ac3Coding(), sink);
    case AudioCoding::DtsHd:
      return std::make_unique<SyncWalker>(dtsCoding(), sink);
    case AudioCoding::Mlp:
      return std::make_unique<SyncWalker>(mlpCoding(), sink);
    case AudioCoding::Lpcm:
      if (const auto format = lpcmFormat(lpcmFormatBytes)) {
        return std::make_unique<LpcmWalker>(*format, sink);
      }
      return nullptr;
  }
  return nullptr;
}

}  // namespace tessaly
