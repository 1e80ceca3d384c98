// A test disc's audio: an encoded clip's frames placed on the disc's time line (with a gap
// and an overlap, as discs that miss or repeat frames have them), written as a program
// stream beside video stream 0's time stamps, and the disc time of any byte of it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/audio_time.h"
#include "audio_clips.h"
#include "tools/ps_writer.h"

namespace tessaly::testing {

inline constexpr std::int64_t kMs = kUnitsPerMs;
inline constexpr std::uint64_t kVideoZero = 900000;  // video stream 0's first PTS
inline constexpr std::int64_t kDelay = 256 * kMs;    // the audio's first frame after it
inline constexpr std::int64_t kGap = 480 * kMs;
inline constexpr std::int64_t kOverlap = 100 * kMs;
inline constexpr std::size_t kPiece = 2000;  // payload bytes per audio packet
inline constexpr std::array<std::uint8_t, 3> kLpcmFormat{0x00, 0x01, 0x80};  // 16 bits, 48 kHz

// The disc's frames: where each lies in the raw output and when it plays on the disc.
struct Unit {
  std::uint64_t offset;
  std::uint64_t size;
  std::int64_t duration;
  std::int64_t time = 0;  // units after video stream 0's first PTS
};

// The clip's packets as units, untimed.
std::vector<Unit> packetUnits(const Clip& clip);

// Times on the disc: continuous from `delay`; with `breaks`, 480 ms later from the first
// unit at 3,744 ms of audio or after that carries a PTS (the first starting in its
// packet), 100 ms earlier again from such a unit at 6,000 ms or after.
void placeOnDisc(std::vector<Unit>& units, std::int64_t delay = kDelay, bool breaks = true);

// A program stream of video stream 0 (`pictures` time stamps from `videoZero`, 40 ms
// apart, no pictures) and the clip in packets of kPiece bytes, each stamped with the disc
// time of the first unit starting in it.
void writeEvo(const tools::Stream& stream, const Clip& clip, const std::vector<Unit>& units,
              const std::string& path, int pictures = 20, std::uint64_t videoZero = kVideoZero);

// What plays: each unit in disc order, less those that start before the audio kept ends
// (the later copy of an overlap); in seconds.
std::vector<double> playedSeconds(const std::vector<Unit>& units);

// The disc time of raw byte `offset`, in seconds.
double discSeconds(const std::vector<Unit>& units, std::uint64_t offset);

// A film's picture rate, 30000/1001 (two counts of the 60fps title clock a picture).
inline constexpr std::uint64_t kPictureTicks = 3003;

// `frames` pictures of MPEG-2 video that ffmpeg encodes, without B pictures (each picture
// displays in the order coded).
Bytes encodeVideo(int frames, const TempDir& dir);

// An audio stream of a film's clip: its units at their disc times.
struct DiscStream {
  tools::Stream stream;
  const Clip* clip;
  std::vector<Unit> units;
};

// A program stream of real video (each picture in packets of its own, the first stamped
// `videoZero` plus its place, kPictureTicks apart) and `audio`, each stream as writeEvo
// writes it.
void writeFilmEvo(const Bytes& video, const std::vector<DiscStream>& audio, const std::string& path,
                  std::uint64_t videoZero);

}  // namespace tessaly::testing
