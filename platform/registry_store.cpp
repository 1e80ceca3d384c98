#include "platform/registry_store.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "platform/atomic_file.h"
#include "platform/error.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// Far beyond any key the tool writes; a bigger file is not read into memory.
constexpr std::uintmax_t kMaxFileSize = 4 * 1024 * 1024;
constexpr std::string_view kSoftware = "\\Software\\";

// "\Software\Vendor\Product" -> "Vendor/Product.reg".
std::string keyFile(const std::string& keyPath) {
  std::string relative = keyPath;
  if (relative.starts_with(kSoftware)) relative.erase(0, kSoftware.size());
  std::ranges::replace(relative, '\\', '/');
  relative.erase(0, relative.find_first_not_of('/'));  // stays inside the settings folder
  return relative + ".reg";
}

}  // namespace

std::string configFolder() {
  // A relative XDG_CONFIG_HOME is invalid by the XDG rules and ignored like an empty one.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return (fs::path(home) / ".config").string();
  return {};
}

RegistryKey::RegistryKey(std::string keyPath) : keyLine_("[HKEY_CURRENT_USER" + keyPath + "]") {
  const std::string folder = configFolder();
  if (!folder.empty()) filePath_ = (fs::path(folder) / keyFile(keyPath)).string();
}

RegistryKey::Load RegistryKey::load() {
  values_.clear();
  pending_.clear();
  if (filePath_.empty()) return Load::Unreadable;
  std::error_code error;
  const auto status = fs::status(filePath_, error);
  if (status.type() == fs::file_type::not_found) return Load::Missing;
  if (!fs::is_regular_file(status)) return Load::Unreadable;  // a folder, a device, no access
  const auto size = fs::file_size(filePath_, error);
  if (error) return Load::Unreadable;
  if (size > kMaxFileSize) return Load::Foreign;
  std::ifstream in(filePath_, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) return Load::Unreadable;
  auto parsed = parseRegText(text, keyLine_);
  if (!parsed) return Load::Foreign;
  values_ = std::move(*parsed);
  return Load::Loaded;
}

bool RegistryKey::openRead() {
  loaded_ = load();
  return loaded_ == Load::Loaded;
}

bool RegistryKey::openWrite() {
  // A file in another format is replaced; one that cannot be read is left alone, since
  // its values could not be carried over.
  loaded_ = load();
  if (loaded_ == Load::Unreadable) return false;
  return loaded_ != Load::Missing || canCreateFile();
}

// A missing key is created in its folder: the folder must exist or be made, and take a
// new file.
bool RegistryKey::canCreateFile() const {
  const fs::path folder = fs::path(filePath_).parent_path();
  std::error_code error;
  fs::create_directories(folder, error);
  return !error && fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK) == 0;
}

bool RegistryKey::valueExists(const std::string& name) const {
  return findValue(values_, name) != nullptr;
}

const RegValue& RegistryKey::typed(const std::string& name, ValueKind kind) const {
  const auto* entry = findValue(values_, name);
  if (entry == nullptr || entry->value.kind != kind) {
    throw Error("Invalid data type for '" + name + "'");
  }
  return entry->value;
}

std::int32_t RegistryKey::readInteger(const std::string& name) const {
  return static_cast<std::int32_t>(typed(name, ValueKind::Integer).integer);
}

std::string RegistryKey::readString(const std::string& name) const {
  return typed(name, ValueKind::String).text;
}

std::vector<std::uint8_t> RegistryKey::readBinary(const std::string& name) const {
  return typed(name, ValueKind::Binary).bytes;
}

void RegistryKey::writeInteger(const std::string& name, std::int32_t number) {
  RegValue value;
  value.integer = static_cast<std::uint32_t>(number);  // negatives as two's complement
  write(name, std::move(value));
}

void RegistryKey::writeString(const std::string& name, const std::string& text) {
  RegValue value;
  value.kind = ValueKind::String;
  value.text = text;
  write(name, std::move(value));
}

void RegistryKey::writeBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  RegValue value;
  value.kind = ValueKind::Binary;
  value.bytes = bytes;
  write(name, std::move(value));
}

void RegistryKey::write(const std::string& name, RegValue value) {
  setValue(values_, name, std::move(value));
  pending_.push_back(name);
}

// One backup, replaced each time, beside the file (a linked file's contents are copied).
bool RegistryKey::storeBackup() const {
  if (loaded_ == Load::Missing) return true;
  std::error_code error;
  fs::copy_file(filePath_, filePath_ + ".bak", fs::copy_options::overwrite_existing, error);
  return !error;
}

void RegistryKey::commit() {
  if (pending_.empty()) return;
  if ((backup_ && !storeBackup()) || !replaceFile(filePath_, formatRegText(keyLine_, values_))) {
    throw Error("Failed to set data for '" + pending_.front() + "'");
  }
  backup_ = false;
  pending_.clear();
}

}  // namespace tessaly
