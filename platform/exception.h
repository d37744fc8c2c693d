// Exceptions of the platform layer.
#pragma once

#include <stdexcept>
#include <string>

namespace Vexar {

// Base of every error the system raises; carries a user-facing message.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
  std::string Message() const { return what(); }
};

// Raised when an object is assigned from a source of a class it cannot copy.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Raised for an index outside a list.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace Vexar
