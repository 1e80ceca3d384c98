// The sample disc's clips on the title clock of its playlists (timeBase 60fps): counts of
// one 59.94 Hz field, 1001/60000 s. Its video runs at 24000/1001 fps, 2.5 counts a
// picture and 30 a GOP of 12 pictures, and every clip holds whole GOPs, so that each
// clip's length on the title clock is exactly its video's.
#pragma once

namespace tessaly::tools::sample {

inline constexpr int kCountsPerGop = 30;
inline constexpr int kLogoCounts = 8 * kCountsPerGop;        // STUDIO_LOGO, 4.004 s
inline constexpr int kFeature1Counts = 163 * kCountsPerGop;  // FEATURE_1, 81.5815 s
inline constexpr int kFeature2Counts = 75 * kCountsPerGop;   // FEATURE_2, 37.5375 s
inline constexpr int kWarningCounts = 10 * kCountsPerGop;    // WARNING, 5.005 s
inline constexpr int kMenuCounts = 4 * kCountsPerGop;        // MENU_LOOP, 2.002 s
inline constexpr int kMenuPlays = 3;                         // the menu title loops it

// Seconds on the title clock.
inline double seconds(int counts) {
  return counts * 1001.0 / 60000.0;
}

}  // namespace tessaly::tools::sample
