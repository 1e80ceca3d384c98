// The captions "Read EVO" gives the streams it finds: the codec's caption name and the
// stream's number (".N" for video, ".NN" for audio and subpicture). Output names carry them.
#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

// The caption of the stream in stream-table slot `key` holding `value`; a value that
// names no codec of the slot's group gives just the number. A routed audio key's is its
// slot's for the sub-stream id `value`, or for MPEG audio "MPA.stream." and the number.
std::string StreamCaption(int key, std::int32_t value);

}  // namespace tessaly
