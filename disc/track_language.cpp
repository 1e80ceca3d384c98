#include "disc/track_language.h"

#include <array>
#include <string_view>

#include "catalogue/iso639.h"
#include "playlist/attr_value.h"

namespace tessaly {
namespace {

struct ExtensionFlag {
  StreamGroup group;
  std::string_view extension;  // upper-case hexadecimal
  std::string_view flag;
};

// The language code extensions that say more than the language; 00 (unspecified) and 01
// (normal) say nothing.
constexpr std::array<ExtensionFlag, 8> kExtensionFlags{{
    {StreamGroup::Audio, "02", "visual_impaired"},
    {StreamGroup::Audio, "03", "commentary"},  // director's comments
    {StreamGroup::Audio, "04", "commentary"},  // alternate comments
    {StreamGroup::Sub, "02", "large"},
    {StreamGroup::Sub, "03", "children"},
    {StreamGroup::Sub, "05", "hearing_impaired"},  // captions
    {StreamGroup::Sub, "09", "forced"},
    {StreamGroup::Sub, "0D", "commentary"},  // director's comments
}};

}  // namespace

TrackLanguage trackLanguage(const std::string& langcode, StreamGroup group) {
  TrackLanguage result;
  const std::size_t colon = langcode.find(':');
  result.language = matroskaLanguage(langcode.substr(0, colon));
  if (colon == std::string::npos) return result;
  const std::string extension = upperAscii(langcode.substr(colon + 1));
  for (const ExtensionFlag& known : kExtensionFlags) {
    if (known.group == group && known.extension == extension) {
      result.flags.emplace_back(known.flag);
    }
  }
  return result;
}

}  // namespace tessaly
