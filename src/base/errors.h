// The error types of the export core. Every failure that ends a run is one of
// these (or a database error from posdb, which derives from VarnelError), so
// the run can show its text and close what it opened. Messages are complete
// sentences meant for the operator; they never carry a password.
#pragma once

#include <stdexcept>
#include <string>

namespace varnel {

// Base of every error the core raises on purpose.
class VarnelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value that cannot be represented: an amount outside the 64-bit range of
// Currency, a date outside years 1 to 9999, a text that does not read as the
// number a column should hold.
class ConversionError : public VarnelError {
 public:
  using VarnelError::VarnelError;
};

// The output file could not be created, written or closed. The text names the
// file and the system's reason.
class FileError : public VarnelError {
 public:
  using VarnelError::VarnelError;
};

}  // namespace varnel
