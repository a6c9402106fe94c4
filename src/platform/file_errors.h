#pragma once
// Error codes of file operations and their fixed English texts. Every failure of the file
// service is reported as one of these codes, whatever the operating system said.

#include <cstdint>
#include <string>

namespace quill {

constexpr std::uint32_t ERROR_SUCCESS = 0;
constexpr std::uint32_t ERROR_INVALID_FUNCTION = 1;
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr std::uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
constexpr std::uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr std::uint32_t ERROR_NOT_SAME_DEVICE = 17;
constexpr std::uint32_t ERROR_WRITE_PROTECT = 19;
constexpr std::uint32_t ERROR_NOT_READY = 21;
constexpr std::uint32_t ERROR_WRITE_FAULT = 29;
constexpr std::uint32_t ERROR_READ_FAULT = 30;
constexpr std::uint32_t ERROR_GEN_FAILURE = 31;
constexpr std::uint32_t ERROR_SHARING_VIOLATION = 32;
constexpr std::uint32_t ERROR_LOCK_VIOLATION = 33;
constexpr std::uint32_t ERROR_HANDLE_EOF = 38;
constexpr std::uint32_t ERROR_NOT_SUPPORTED = 50;
constexpr std::uint32_t ERROR_FILE_EXISTS = 80;
constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t ERROR_DISK_FULL = 112;
constexpr std::uint32_t ERROR_INVALID_NAME = 123;
constexpr std::uint32_t ERROR_DIR_NOT_EMPTY = 145;
constexpr std::uint32_t ERROR_ALREADY_EXISTS = 183;
constexpr std::uint32_t ERROR_FILENAME_EXCED_RANGE = 206;
constexpr std::uint32_t ERROR_FILE_TOO_LARGE = 223;
constexpr std::uint32_t ERROR_DIRECTORY = 267;
constexpr std::uint32_t ERROR_IO_DEVICE = 1117;
constexpr std::uint32_t ERROR_CANT_RESOLVE_FILENAME = 1921;
// The file system does not take the locks that keep other openers out (this component's
// own code).
constexpr std::uint32_t ERROR_NO_FILE_LOCKS = 0x20000001;

// The fixed text of a code, e.g. "The system cannot find the file specified." for 2.
// An unknown code gives "Unknown error <code>.".
std::string SystemErrorMessage(std::uint32_t code);

// The code of the calling thread's last failed file operation, as the file service and
// the platform's other services set it.
std::uint32_t GetLastError();
void SetLastError(std::uint32_t code);

// Maps an errno value onto a code. ENOENT always maps to ERROR_FILE_NOT_FOUND here; the
// POSIX file service tells a missing folder (ERROR_PATH_NOT_FOUND) apart itself.
std::uint32_t ErrorFromErrno(int err);

}  // namespace quill
