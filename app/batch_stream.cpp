// Three threads joined by short queues of recycled buffers: memory stays a few blocks whatever
// the file's size.
#include "app/batch_stream.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "app/batch_files.h"
#include "engine/stage.h"

namespace morvane {
namespace {

// A block on its way, and whether it is the last one.
struct Block {
    std::string bytes;
    bool last = false;
};

// A queue between two threads; closing it wakes and releases both sides.
class Channel {
  public:
    void Push(Block block) {
        {
            const std::lock_guard lock(mutex_);
            if (closed_)
                return;
            items_.push_back(std::move(block));
        }
        changed_.notify_all();
    }
    std::optional<Block> Pop() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return closed_ || !items_.empty(); });
        if (items_.empty())
            return std::nullopt;
        Block block = std::move(items_.front());
        items_.pop_front();
        return block;
    }
    void Close() {
        {
            const std::lock_guard lock(mutex_);
            closed_ = true;
        }
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Block> items_;
    bool closed_ = false;
};

// Blocks in flight each way: enough to keep every thread busy, few enough to keep memory flat.
constexpr int kBuffers = 2;

} // namespace

StreamOutcome StreamFile(SourceFile& source, Stage& conversion, DestinationFile& destination,
                         const std::function<void(std::uint64_t)>& progress,
                         std::size_t blockSize) {
    // Full buffers travel forward; emptied ones come back to be filled again.
    Channel toConvert, emptyInput, toWrite, emptyOutput;
    for (int i = 0; i < kBuffers; ++i) {
        emptyInput.Push({});
        emptyOutput.Push({});
    }
    StreamOutcome readOutcome, writeOutcome;

    std::thread reader([&] {
        while (std::optional<Block> block = emptyInput.Pop()) {
            if (!source.Read(block->bytes, blockSize, readOutcome.error)) {
                readOutcome.status = StreamOutcome::Status::ReadFailed;
                block->bytes.clear();
            }
            block->last = block->bytes.empty();
            toConvert.Push(std::move(*block));
            if (block->last)
                return;
        }
    });
    std::thread writer([&] {
        while (std::optional<Block> block = toWrite.Pop()) {
            if (!destination.Write(block->bytes, writeOutcome.error)) {
                writeOutcome.status = StreamOutcome::Status::WriteFailed;
                toConvert.Close(); // nothing more is worth converting
                emptyOutput.Close();
                return;
            }
            if (block->last)
                return;
            emptyOutput.Push(std::move(*block));
        }
    });

    std::uint64_t done = 0;
    while (std::optional<Block> input = toConvert.Pop()) {
        std::optional<Block> output = emptyOutput.Pop();
        if (!output)
            break;
        output->bytes.clear();
        // A failed read ends the text here; the result is thrown away below.
        conversion.Push(input->bytes, input->last, output->bytes);
        output->last = input->last;
        done += input->bytes.size();
        toWrite.Push(std::move(*output));
        if (progress)
            progress(done);
        if (input->last)
            break;
        emptyInput.Push(std::move(*input));
    }
    // Let the reader stop wherever it is; the writer still takes what was queued.
    emptyInput.Close();
    toWrite.Close();
    reader.join();
    writer.join();
    if (readOutcome.status != StreamOutcome::Status::Done)
        return readOutcome;
    return writeOutcome;
}

} // namespace morvane
