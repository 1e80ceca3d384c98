#include "shell/session.h"

#include <exception>

namespace tessaly {

Session::Session(Host& h) : host(h), ReadBuffer(kReadBufferSize) {}

FilesRelease::~FilesRelease() {
  try {
    close();
  } catch (const std::exception&) {
    // Every entry is closed by now; a second error would hide the first.
  }
}

void FilesRelease::close() {
  session_.InputStream.reset();
  session_.OutputStreams.closeAll();
}

}  // namespace tessaly
