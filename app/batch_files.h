// Reading and safely replacing files, whole or block by block, with the system's reason on
// failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

// A source file read block by block.
class SourceFile {
  public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Opens path for reading; a folder is refused. On failure returns false with error set.
    bool Open(const std::string& path, std::string& error);
    // The size the file had when opened, 0 when it is not a regular file.
    std::uint64_t Size() const { return size_; }
    // Reads the next block of at most maxBytes into block; an empty block means the end.
    bool Read(std::string& block, std::size_t maxBytes, std::string& error);

  private:
    int fd_ = -1;
    std::string path_;
    std::uint64_t size_ = 0;
};

// The new contents of a destination, written block by block. A regular file (or a new one) is
// written to a temporary file beside it that replaces it on Commit, so a failure leaves the old
// file as it was; a symbolic link is followed, never replaced; an existing file that is not
// regular (a device, a FIFO) is written into directly.
class DestinationFile {
  public:
    DestinationFile() = default;
    // Removes the temporary file unless committed.
    ~DestinationFile();
    DestinationFile(const DestinationFile&) = delete;
    DestinationFile& operator=(const DestinationFile&) = delete;

    // Prepares writing to path. On failure returns false with error set.
    bool Open(const std::string& path, std::string& error);
    // Appends data.
    bool Write(std::string_view data, std::string& error);
    // Puts everything written in place as the destination's contents.
    bool Commit(std::string& error);

  private:
    bool Fail(int code, std::string& error);

    int fd_ = -1;
    std::string target_;    // the file that gets the contents, links resolved
    std::string temporary_; // empty when writing into the target directly
    unsigned mode_ = 0;
    bool replacing_ = false; // an existing file gets replaced
    std::uint64_t written_ = 0;
    std::uint64_t flushedUpTo_ = 0;
};

// Reads every byte of path into contents. On failure returns false and error says
// which file and why.
bool ReadWholeFile(const std::string& path, std::string& contents, std::string& error);

// Writes data as the whole new contents of path. A regular file (or a new one) is written
// to a temporary file beside it and renamed into place, so a failure leaves the old file as
// it was; a symbolic link is followed, never replaced; an existing file that is not regular
// (a device, a FIFO) is written into directly. On failure returns false with error set.
bool WriteFileReplacing(const std::string& path, std::string_view data, std::string& error);

} // namespace morvane
