// The audio times of a demux job, gathered from its writing passes: every audio stream's
// frames, walked from the payload that goes to its output and timed by their PTS, and video
// stream 0's PTS in each segment, which put a later segment's time line in line with the
// first's and give the zero of the delays; MPEG-2 video stream 0 is also checked against
// its pictures' own timing. Fed from the pass's port: each packet start, then the payload
// runs routed to the stream's output (video stream 0's too, for the check), in file order;
// segmentStart() before each further segment's pass.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "audio/audio_clock.h"
#include "audio/frame_walker.h"
#include "audio/lpcm_format.h"
#include "audio/mpeg2_timing.h"
#include "audio/segment_join.h"
#include "engine/pass_state.h"

namespace tessaly {

struct AudioStreamTiming {
  int slot = 0;
  AudioCoding coding = AudioCoding::DD;  // of the stream's first packet
  bool walked = false;                   // false: LPCM whose format bytes name no sample size
  WalkStats walk;
  AudioTimeline timeline;
  std::optional<LpcmFormat> lpcm;  // LPCM's: its blocks place its bytes in a WAV file
};

struct JobTimingResult {
  std::vector<AudioStreamTiming> streams;  // in slot order
  std::vector<SegmentVideo> segments;      // video stream 0 of each segment
  std::vector<std::int64_t> offsets;       // each segment's, from segmentOffsets()
  // Video stream 0's first PTS in the first segment: the zero of the delays.
  std::optional<std::uint64_t> zeroPts;
  // MPEG-2 video stream 0 against its pictures' timing, its PTS put in line as the audio's
  // (the first pictures of a later segment, before its offset is known, unchecked); none
  // when not asked for, or video stream 0 is of another coding (not checked) or absent.
  std::optional<VideoTiming> video;
};

// The zero of a stream's delay and of its breaks' times, in units after its anchor: video
// stream 0's first PTS, or without it the earliest start of the job's audio streams.
std::int64_t delayZero(const JobTimingResult& result, const AudioStreamTiming& stream);

struct JobTimingOptions {
  // Check MPEG-2 video stream 0 against its pictures' timing: a look at every byte of the
  // video, about a tenth of a writing pass's time (the audio walk costs a few per cent),
  // so only when its findings are wanted.
  bool checkVideo = false;
};

class JobTiming {
 public:
  explicit JobTiming(JobTimingOptions options = {});
  ~JobTiming();
  JobTiming(const JobTiming&) = delete;
  JobTiming& operator=(const JobTiming&) = delete;

  // A packet start of the pass.
  void packetStart(const PacketStart& packet);
  // A payload run of `slot`'s output, after its packet's start.
  void payload(int slot, const std::uint8_t* data, std::size_t size);
  // The next segment's pass begins.
  void segmentStart();
  // Ends the walks: the times of every audio stream met.
  JobTimingResult finish();

 private:
  struct Stream;
  struct Video;

  Stream& streamOf(const PacketStart& packet);
  void videoPacket(const PacketStart& packet);
  void alignSegment();
  void endVideoSegment();

  std::map<int, std::unique_ptr<Stream>> streams_;
  JobTimingOptions options_;
  std::unique_ptr<Mpeg2Timing> mpeg2_;  // video stream 0, when it is MPEG-2 and checked
  bool videoMet_ = false;
  std::uint64_t videoBytes_ = 0;
  std::vector<Video> video_;  // per segment
  std::vector<std::int64_t> offsets_;
  bool aligned_ = true;  // the current segment's offset is known
};

}  // namespace tessaly
