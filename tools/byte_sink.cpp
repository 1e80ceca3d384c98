#include "tools/byte_sink.h"

#include <stdexcept>

namespace tessaly::tools {
namespace {

constexpr std::size_t kBlock = 1 << 20;

}  // namespace

void MemorySink::put(const std::uint8_t* data, std::size_t size) {
  bytes.insert(bytes.end(), data, data + size);
}

FileSink::FileSink(const std::string& path)
    : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
  if (!out_) throw std::runtime_error("cannot create " + path);
  block_.reserve(kBlock);
}

FileSink::~FileSink() {
  try {
    close();
  } catch (const std::runtime_error&) {
    // Quiet on destruction; close() reports.
  }
}

void FileSink::put(const std::uint8_t* data, std::size_t size) {
  if (block_.size() + size > kBlock) flush();
  block_.insert(block_.end(), data, data + size);
}

void FileSink::close() {
  if (!out_.is_open()) return;
  flush();
  out_.close();
  if (!out_) throw std::runtime_error("cannot write " + path_);
}

void FileSink::flush() {
  out_.write(reinterpret_cast<const char*>(block_.data()),
             static_cast<std::streamsize>(block_.size()));
  block_.clear();
  if (!out_) throw std::runtime_error("cannot write " + path_);
}

}  // namespace tessaly::tools
