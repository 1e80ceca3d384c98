// The sample disc's captions: English in subpicture stream 0 as DVD-style units, French
// in stream 1 as HD units, and the French forced captions (signs on screen) in stream 2 as
// HD units with the forced start command. Each shows `startMs` after the first video time
// stamp of its segment (FEATURE_1 or FEATURE_2, whose clock continues the first's) for
// `durationMs`.
#pragma once

#include <array>
#include <cstdint>

namespace tessaly::tools {

struct SampleCaption {
  int segment;  // 1 or 2
  int stream;   // 0: DVD-style units, 1: HD units, 2: forced HD units
  std::uint32_t startMs;
  std::uint32_t durationMs;
  const char* text;
};

inline constexpr std::array<SampleCaption, 15> kSampleCaptions{{
    {1, 0, 2000, 3000, "HELLO FROM THE SAMPLE DISC."},
    {1, 1, 2500, 3000, "BONJOUR DU DISQUE D'ESSAI."},
    {1, 2, 9000, 2000, "GARE DU NORD."},
    {1, 0, 20000, 2500, "THIS STREAM IS DVD STYLE."},
    {1, 1, 21000, 2500, "CE FLUX EST EN HD."},
    {1, 0, 41500, 3000, "THE WALK BEGINS."},
    {1, 1, 41500, 3000, "LA PROMENADE COMMENCE."},
    {1, 2, 60000, 2500, "SORTIE."},
    {1, 0, 72000, 3000, "ALMOST HALF WAY."},
    {1, 1, 72500, 3000, "PRESQUE A LA MOITIE."},
    {2, 0, 1000, 3000, "WELCOME TO PART TWO."},
    {2, 1, 1500, 3000, "BIENVENUE, DEUXIEME PARTIE."},
    {2, 2, 12000, 2000, "FERME LE DIMANCHE."},
    {2, 0, 30000, 2000, "THE END."},
    {2, 1, 30000, 2000, "FIN."},
}};

}  // namespace tessaly::tools
