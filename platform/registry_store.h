// A key of the current user's registry, kept as a typed text file:
// "\Software\Vendor\Product" lives in $XDG_CONFIG_HOME/Vendor/Product.reg
// ($HOME/.config when XDG_CONFIG_HOME is unset or empty).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/reg_text.h"

namespace tessaly {

class RegistryKey {
 public:
  // The key at `keyPath`, for example "\Software\Corvane Software\Tessaly"; nothing is
  // read until it is opened.
  explicit RegistryKey(std::string keyPath);

  // Opens the stored key for reading; false when it does not exist, cannot be read or is
  // not in the key's format.
  bool openRead();
  // Opens the key for writing, empty when it does not exist yet (or is not in the key's
  // format); false when there is no place for it (its folder cannot be made or takes no
  // new file) or an existing file cannot be read.
  bool openWrite();
  // True when the opened file exists but is not in the key's format (or is too large).
  bool holdsForeignFile() const { return loaded_ == Load::Foreign; }
  // Makes the next commit keep the stored file as "<file>.bak" before replacing it.
  void keepBackup() { backup_ = true; }

  bool valueExists(const std::string& name) const;
  // Readers throw "Invalid data type for '<name>'" when the value is missing or of
  // another type.
  std::int32_t readInteger(const std::string& name) const;
  std::string readString(const std::string& name) const;
  std::vector<std::uint8_t> readBinary(const std::string& name) const;

  // Writers set the value in the open key; commit() stores them.
  void writeInteger(const std::string& name, std::int32_t number);
  void writeString(const std::string& name, const std::string& text);
  void writeBinary(const std::string& name, const std::vector<std::uint8_t>& bytes);

  // Stores every value in one atomic replacement of the file; on failure (of the backup
  // too) nothing of this round is stored and it throws "Failed to set data for '<first
  // value written>'".
  void commit();

  // The file that holds the key; empty when neither variable names a folder.
  const std::string& filePath() const { return filePath_; }

 private:
  enum class Load { Missing, Unreadable, Foreign, Loaded };

  Load load();
  bool canCreateFile() const;
  const RegValue& typed(const std::string& name, ValueKind kind) const;
  void write(const std::string& name, RegValue value);

  bool storeBackup() const;

  std::string keyLine_;
  std::string filePath_;
  Load loaded_ = Load::Missing;
  bool backup_ = false;
  std::vector<NamedValue> values_;
  std::vector<std::string> pending_;  // names written since the last commit, in order
};

// The folder of the user's settings files; empty when neither variable names one.
std::string configFolder();

}  // namespace tessaly
