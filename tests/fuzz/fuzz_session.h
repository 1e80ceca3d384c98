// What the fuzz targets share: a scratch folder per fuzzing process, and checks that
// stop the run when a property of the core does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::fuzzing {

// The process's scratch folder, ending in "/"; removed when the process exits.
const std::string& scratch();

// Aborts with `what` on stderr when `holds` is false: libFuzzer keeps the input.
void require(bool holds, const char* what);

// Creates (truncates) `path` holding `size` bytes at `data`.
void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size);

// Splits a short text off the end of the input: its last byte (modulo `limit` + 1) is
// the text's length, the text comes before it. The input keeps what is left.
std::string takeTail(const std::uint8_t* data, std::size_t& size, std::size_t limit);

}  // namespace tessaly::fuzzing
