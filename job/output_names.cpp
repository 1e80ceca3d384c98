#include "job/output_names.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/paths.h"

namespace tessaly {

std::string baseName(const std::string& evoFileName) {
  return evoFileName.size() > 4 ? evoFileName.substr(0, evoFileName.size() - 4) : "";
}

std::string outputBase(const std::string& folder, const std::string& baseName) {
  if (folder.empty()) return baseName;
  return folder + (folder.back() == kSeparator ? "" : "/") + baseName;
}

namespace {

// A part of a file name: neither a folder separator nor a NUL (which would cut the
// path short) may come from it.
std::string namePart(std::string text) {
  std::replace(text.begin(), text.end(), kSeparator, '_');
  std::replace(text.begin(), text.end(), '\0', '_');
  return text;
}

// The caption's part of a name: as much of it as lets the file name fit the folder's
// limit, cut at the start of a UTF-8 character.
std::string fittedCaption(const std::string& outputBase, const std::string& caption,
                          const std::string& extension) {
  std::string part = namePart(caption);
  const long limit = fileNameLimit(folderPart(outputBase));
  const std::size_t fixed = fileNamePart(outputBase).size() + 2 + extension.size();
  if (limit < 0 || fixed + part.size() <= static_cast<std::size_t>(limit)) return part;
  std::size_t room = fixed < static_cast<std::size_t>(limit) ? limit - fixed : 0;
  while (room > 0 && (static_cast<unsigned char>(part[room]) & 0xC0) == 0x80) --room;
  part.resize(room);
  return part;
}

}  // namespace

std::string outputName(const std::string& outputBase, const std::string& caption,
                       const std::string& extension) {
  const std::string ending = namePart(extension);
  return outputBase + "." + fittedCaption(outputBase, caption, ending) + "." + ending;
}

bool captionFits(const std::string& outputBase, const std::string& caption,
                 const std::string& extension) {
  return fittedCaption(outputBase, caption, namePart(extension)) == namePart(caption);
}

}  // namespace tessaly
