// The operator's message of the tessaly::Error an action throws.
#pragma once

#include <functional>
#include <string>

#include "platform/error.h"

namespace tessaly::testing {

// The message, or "(no error)" when the action completes.
inline std::string messageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace tessaly::testing
