// The one exception type of the core: its message is what the operator sees.
#pragma once

#include <stdexcept>
#include <string>

namespace tessaly {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tessaly
