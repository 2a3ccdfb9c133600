#pragma once
// Whole-file reading and writing for every file the program writes (record files, FITS
// files). Failures are the system's error numbers (state/ErrText.h).
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tessan {

// Writes content to target so that a failure never destroys the file that was there: into the
// temporary file ".<name>.tmp" beside the file, synced to the disk, then renamed over it. The
// temporary name is the same on every save of a target, so a save killed half-way leaves at
// most one stale temporary file, which the next save replaces. A target that is a symbolic link
// is written through: the file it points at is replaced and the link stays. A file that is
// replaced keeps its permissions.
//
// Returns 0 or an error number: 75 when the target names a directory (or has no name, or is a
// loop of links), 76 when its directory does not exist, 70 when writing is not permitted (among
// them a target the user has made read-only, which is left untouched), 61 when the disk is
// full, 57 for another device failure.
[[nodiscard]] int WriteFileAtomically(const std::filesystem::path& target, std::string_view content);

// The same replacement for a file that another writer produces: produce is given the path of
// the freshly created, empty temporary file, writes it whole and returns 0 or an error number;
// only then is the file synced and renamed over target. A failure of produce removes the
// temporary file and is returned; the file that was there is untouched.
[[nodiscard]] int ReplaceFileAtomically(const std::filesystem::path& target,
                                        const std::function<int(const std::filesystem::path&)>& produce);

// Reads a whole file into content. Returns 0, 53 (not found), 75 (a directory or unreadable
// path), 70 (permission) or 57.
[[nodiscard]] int ReadWholeFile(const std::filesystem::path& path, std::string& content);

}  // namespace tessan
