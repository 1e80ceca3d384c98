#include "session/settings.h"

#include <bit>
#include <cstdint>
#include <vector>

#include "platform/date_time.h"
#include "platform/error.h"
#include "platform/registry_store.h"

namespace tessaly {
namespace {

constexpr const char* kKey = "\\Software\\Corvane Software\\Tessaly";
constexpr int kMaximised = 2;

void loadInteger(const RegistryKey& key, const char* name, int& target) {
  if (key.valueExists(name)) target = key.readInteger(name);
}

// Only the three window states are taken; any other number leaves the state as it is.
void loadWindowState(const RegistryKey& key, Geometry& geometry) {
  int state = geometry.windowState;
  loadInteger(key, "WindowState", state);
  if (state >= 0 && state <= kMaximised) geometry.windowState = state;
}

void loadText(const RegistryKey& key, const char* name, std::string& target) {
  if (key.valueExists(name)) target = key.readString(name);
}

void loadOption(const RegistryKey& key, const char* name, CheckBox& box) {
  if (key.valueExists(name)) box.ticked = key.readInteger(name) != 0;
}

// The date-time as the 8 bytes of a little-endian IEEE double.
std::vector<std::uint8_t> dateTimeBytes(double dayCount) {
  const auto bits = std::bit_cast<std::uint64_t>(dayCount);
  std::vector<std::uint8_t> bytes(8);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    bytes[n] = static_cast<std::uint8_t>(bits >> (8 * n));
  }
  return bytes;
}

// Loads the values in their order; one of another type throws, the values before it
// loaded and the rest not.
void loadValues(const RegistryKey& key, Window& window, std::string& evoDir, std::string& xplDir) {
  Geometry& geometry = window.geometry;
  // Geometry before the state: a maximised window first takes its normal bounds.
  loadInteger(key, "Width", geometry.width);
  loadInteger(key, "Height", geometry.height);
  loadInteger(key, "Top", geometry.top);
  loadInteger(key, "Left", geometry.left);
  loadWindowState(key, geometry);
  loadInteger(key, "TreeWidth", window.tvXPL.width);
  loadText(key, "AudioExt", window.eAudioExt.text);
  loadText(key, "VideoExt", window.eVideoExt.text);
  loadText(key, "SubExt", window.eSubExt.text);
  loadText(key, "Workdir", window.eWorkdir.text);
  loadText(key, "EVOdir", evoDir);
  loadText(key, "XPLdir", xplDir);
  loadOption(key, "Continue", window.cbContinue);
  loadOption(key, "FastCheck", window.cbFastCheck);
  loadOption(key, "Matroska", window.cbMatroska);
  loadOption(key, "ForTools", window.cbForTools);
}

// Whether the stored file was loaded whole: in the key's format, every value of its type.
// Saving over any other file would lose what it holds.
bool loadsFully(const RegistryKey& key) {
  if (key.holdsForeignFile()) return false;
  Window scratch;
  std::string evoDir;
  std::string xplDir;
  try {
    loadValues(key, scratch, evoDir, xplDir);
  } catch (const Error&) {
    return false;
  }
  return true;
}

}  // namespace

void RegRead(Session& session) {
  RegistryKey key(kKey);
  if (!key.openRead()) return;
  loadValues(key, session.fMain, session.EVOdir, session.XPLdir);
}

void RegWrite(Session& session) {
  RegistryKey key(kKey);
  if (!key.openWrite()) return;
  if (!loadsFully(key)) key.keepBackup();
  const Window& window = session.fMain;
  const Geometry& geometry = window.geometry;
  key.writeInteger("WindowState", geometry.windowState);
  if (geometry.windowState != kMaximised) {  // a maximised window keeps its normal bounds
    key.writeInteger("Top", geometry.top);
    key.writeInteger("Left", geometry.left);
    key.writeInteger("Width", geometry.width);
    key.writeInteger("Height", geometry.height);
  }
  key.writeInteger("TreeWidth", window.tvXPL.width);
  key.writeString("AudioExt", window.eAudioExt.text);
  key.writeString("VideoExt", window.eVideoExt.text);
  key.writeString("SubExt", window.eSubExt.text);
  key.writeString("Workdir", window.eWorkdir.text);
  key.writeString("EVOdir", session.EVOdir);
  key.writeString("XPLdir", session.XPLdir);
  key.writeInteger("Continue", window.cbContinue.ticked ? 1 : 0);
  key.writeInteger("FastCheck", window.cbFastCheck.ticked ? 1 : 0);
  key.writeInteger("Matroska", window.cbMatroska.ticked ? 1 : 0);
  key.writeInteger("ForTools", window.cbForTools.ticked ? 1 : 0);
  if (!key.valueExists("Install")) key.writeBinary("Install", dateTimeBytes(localDayCount()));
  key.commit();  // the values above reach the file together, or none of them
}

}  // namespace tessaly
