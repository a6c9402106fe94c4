#pragma once
// The framework's invalid-argument exception: an orderly error for a bad index or a call
// made in the wrong state. Callers may catch it; it never aborts the process.

#include <stdexcept>
#include <string>

namespace quill {

class InvalidArgException : public std::invalid_argument {
 public:
  InvalidArgException() : std::invalid_argument("invalid argument") {}
  explicit InvalidArgException(const std::string& what) : std::invalid_argument(what) {}
};

}  // namespace quill
