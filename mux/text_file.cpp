#include "mux/text_file.h"

#include <cstdint>

#include "platform/files.h"

namespace tessaly {

void writeTextFile(const std::string& path, const std::string& text) {
  OutputFile file(path);
  file.write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  file.close();
}

}  // namespace tessaly
