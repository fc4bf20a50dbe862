// Whole-file reading and safe replacement of a file, with the system's reason on failure.
#pragma once

#include <string>
#include <string_view>

namespace morvane {

// Reads every byte of path into contents. On failure returns false and error says
// which file and why.
bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error);

// Writes data as the whole new contents of path. A regular file (or a new one) is written
// to a temporary file beside it and renamed into place, so a failure leaves the old file as
// it was; a symbolic link is followed, never replaced; an existing file that is not regular
// (a device, a FIFO) is written into directly. On failure returns false with error set.
bool WriteFileReplacing(const std::string& path, std::string_view data, std::string& error);

} // namespace morvane
