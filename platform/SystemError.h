// Errors of the operating system as the core sees them: the system's own error code (errno on
// Linux), and the system's text for it, which ends the messages the user reads.
#pragma once

#include <string>

namespace vyp {

// The system's text for code ("No such file or directory").
std::string SystemErrorText(int code);

// Codes the core raises itself, in the system's numbering.
extern const int kErrorIsAFolder;    // a folder where a file was expected
extern const int kErrorAccessDenied; // a read-only file that a write would replace
extern const int kErrorDiskFull;     // a write that the disk took only part of
extern const int kErrorLockHeld;     // an advisory lock that another holder keeps
extern const int kErrorCutShort;     // a mapped file's bytes gone while read (cut short in place)

} // namespace vyp
