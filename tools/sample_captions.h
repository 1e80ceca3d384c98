// The sample disc's captions: English in subpicture stream 0 as DVD-style units, French
// in stream 1 as HD units. Each shows `startMs` after the first video time stamp of its
// segment (FEATURE_1 or FEATURE_2, whose clock continues the first's) for `durationMs`.
#pragma once

#include <array>
#include <cstdint>

namespace tessaly::tools {

struct SampleCaption {
  int segment;  // 1 or 2
  int stream;   // 0: DVD-style units, 1: HD units
  std::uint32_t startMs;
  std::uint32_t durationMs;
  const char* text;
};

inline constexpr std::array<SampleCaption, 10> kSampleCaptions{{
    {1, 0, 2000, 3000, "HELLO FROM THE SAMPLE DISC."},
    {1, 1, 2500, 3000, "BONJOUR DU DISQUE D'ESSAI."},
    {1, 0, 20000, 2500, "THIS STREAM IS DVD STYLE."},
    {1, 1, 21000, 2500, "CE FLUX EST EN HD."},
    {1, 0, 41500, 3000, "THE WALK BEGINS."},
    {1, 1, 41500, 3000, "LA PROMENADE COMMENCE."},
    {2, 0, 1000, 3000, "WELCOME TO PART TWO."},
    {2, 1, 1500, 3000, "BIENVENUE, DEUXIEME PARTIE."},
    {2, 0, 15000, 2000, "THE END."},
    {2, 1, 15000, 2000, "FIN."},
}};

}  // namespace tessaly::tools
