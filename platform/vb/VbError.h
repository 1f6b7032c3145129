#pragma once
// Run-time errors as the system raises and traps them: a number, a source and a description.
#include <QString>
#include <stdexcept>

namespace vb {

// Standard run-time error numbers used across the system.
enum ErrorNumber : long {
  ErrInvalidCall = 5,
  ErrOverflow = 6,
  ErrSubscript = 9,
  ErrDivisionByZero = 11,
  ErrTypeMismatch = 13,
  ErrFileNotFound = 53,
  ErrInputPastEnd = 62,
  ErrPermissionDenied = 70,
  ErrPathNotFound = 76,
  ErrObjectNotSet = 91,
  ErrInvalidNull = 94,
  ErrCannotCreateObject = 429,
  ErrNoSuchMember = 438,
  ErrAutomation = 440,
  ErrDuplicateKey = 457,
  ErrRemoteServerUnavailable = 462,
};

class VbError : public std::runtime_error {
 public:
  VbError(long number, const QString& description = {}, const QString& source = {});

  long number() const { return m_number; }
  const QString& description() const { return m_description; }
  const QString& source() const { return m_source; }

 private:
  long m_number;
  QString m_description;
  QString m_source;
};

// The run time's own text for a standard error number (German, as the users see it).
QString standardErrorText(long number);

// Raises error `number`; an empty description takes the standard text.
[[noreturn]] void raise(long number, const QString& source = {}, const QString& description = {});

}  // namespace vb
