// The exception types of the core: their message is what the operator sees.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace tessaly {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failed read or write of an open file. Its message is the fixed "Stream read error"
// or "Stream write error"; the detail names the file and the system's reason, and is
// logged before the message is shown.
class StreamError : public Error {
 public:
  StreamError(const std::string& message, std::string detail)
      : Error(message), detail_(std::move(detail)) {}
  const std::string& detail() const { return detail_; }

 private:
  std::string detail_;
};

}  // namespace tessaly
