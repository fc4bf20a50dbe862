// Streaming one file through a conversion into another: reading, converting and writing run on
// their own threads, a few blocks apart, so the disk and the conversion work at the same time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace morvane {

class DestinationFile;
class SourceFile;
class Stage;

// What streaming came to; error names the file and the reason.
struct StreamOutcome {
    enum class Status { Done, ReadFailed, WriteFailed };
    Status status = Status::Done;
    std::string error;
};

// Converts the whole source into the destination (without committing it), calling progress
// with the source bytes converted so far after each block. blockSize is for tests.
StreamOutcome StreamFile(SourceFile& source, Stage& conversion, DestinationFile& destination,
                         const std::function<void(std::uint64_t)>& progress,
                         std::size_t blockSize = 512 << 10);

} // namespace morvane
