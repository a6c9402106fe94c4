#pragma once
// The process priority class on Linux, mapped onto the nice value of the process.

namespace quill {

// The class of the current nice value (nearest class).
unsigned PosixGetPriorityClass();
// Sets the nice value of the class. Setting back the class last read restores the exact
// nice value read then. Returns false (and changes nothing) where the process may not
// change its priority that way.
bool PosixSetPriorityClass(unsigned priorityClass);

}  // namespace quill
