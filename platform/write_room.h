// Where a job's outputs go, looked at before it reads its first byte: the folder takes
// files (or can be made), and its file system has room for what the job writes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// The bytes that a non-privileged writer may still put on the file system of `folder`;
// nullopt when it cannot be told.
using FreeSpace = std::function<std::optional<std::uint64_t>(const std::string& folder)>;

// statvfs's figure.
std::optional<std::uint64_t> freeSpace(const std::string& folder);

// A folder as the messages name it: in full, without a final "/"; "" is the current one.
std::string shownFolder(const std::string& folder);

// Throws Error "Cannot write into folder "DIR". REASON" unless the folder takes files.
// A missing folder that the job makes (`made`) needs its nearest existing parent to take
// it, else "Cannot create folder "DIR". REASON"; one it does not make cannot be written.
void checkFolder(const std::string& folder, bool made);

// What a job writes: into `folder` as much as its inputs hold, and the Matroska file
// `film` (empty for none) as much again.
struct SpaceNeed {
  std::string folder;  // empty for the current folder
  std::string film;
  std::uint64_t inputBytes = 0;
};

// A file system with less room than the job takes there.
struct SpaceShortfall {
  std::string folder;  // the folder named for it, in full
  std::uint64_t free = 0;
  std::uint64_t needed = 0;
};

// The first file system that cannot take its part: the folder's, which also takes the
// film when it lies on it, then the film's. nullopt when each has room or cannot tell.
std::optional<SpaceShortfall> spaceShortfall(const SpaceNeed& need,
                                             const FreeSpace& free = freeSpace);

// "Not enough free space in "DIR": 1.2 GB free, 4.6 GB needed".
std::string shortfallText(const SpaceShortfall& shortfall);

// "4.6 GB", "12.0 MB", "800 bytes": decimal units, one decimal.
std::string sizeText(std::uint64_t bytes);

// The sizes of the files added up; a file that cannot be looked at counts nothing.
std::uint64_t filesSize(const std::vector<std::string>& paths);

}  // namespace tessaly
