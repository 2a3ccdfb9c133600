#pragma once
// The system's run-time error numbers and their texts. File and device failures of the core
// are given these numbers so that the same texts appear wherever they are reported.
#include <string>

namespace tessan {

namespace err {
inline constexpr int kOutOfData = 4;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kDeviceFault = 25;
inline constexpr int kSubscript = 9;
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIO = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kPastEnd = 62;
inline constexpr int kBadName = 64;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermission = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidFormat = 321;
}  // namespace err

// The text of error number n ("Error 53: File not found."); the empty text for a number
// without an entry or outside 0..1000.
const std::string& ErrTextFor(int n);

}  // namespace tessan
