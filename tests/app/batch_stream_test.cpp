// Batch streaming: files converted block by block at every block size give the whole-text
// result, files larger than a block convert onto themselves, and the progress line's rules.
#include "app/batch_stream.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pty.h>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/batch.h"
#include "app/batch_files.h"
#include "app/batch_progress.h"
#include "engine/chinese_chain.h"
#include "engine/conversion.h"
#include "engine/glossary.h"
#include "tests/scratch_folder.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::Big5;
using test::FromHex;
using test::Gbk;
using test::Hex;

class BatchStreaming : public test::ScratchFolder {
  protected:
    void SetUp() override
    {
        ScratchFolder::SetUp();
        glossary.LoadText(Gbk("软件<>軟體\r\n中国人>中國人\r\n"));
    }

    // Streams the file "in" into "out" in blocks of the given size.
    std::string Stream(const Conversion& conversion, std::size_t block) const {
        SourceFile source;
        DestinationFile destination;
        std::string error;
        EXPECT_TRUE(source.Open(Path("in"), error)) << error;
        EXPECT_TRUE(destination.Open(Path("out"), error)) << error;
        const auto stage = MakeConversion(conversion);
        std::uint64_t reported = 0;
        const StreamOutcome outcome = StreamFile(
            source, *stage, destination, [&](std::uint64_t done) { reported = done; }, block);
        EXPECT_EQ(outcome.status, StreamOutcome::Status::Done) << outcome.error;
        EXPECT_TRUE(destination.Commit(error)) << error;
        EXPECT_EQ(reported, source.Size());
        return Read("out");
    }

    CGlossary glossary;
};

TEST_F(BatchStreaming, EveryBlockSizeGivesTheWholeResult) {
    Conversion toBig5;
    toBig5.kind = ConversionKind::GbToBig5;
    toBig5.glossary = &glossary;
    toBig5.decodeUtf16Mark = true;
    Conversion codePages;
    codePages.fromCodePage = 936;
    codePages.toCodePage = 65001;
    codePages.decodeUtf16Mark = true;
    // Glossary keys, lead bytes and a rejected pair cut everywhere; and a UTF-16 file with a
    // surrogate pair, an unpaired one and an odd last byte.
    const std::string files[] = {
        Gbk("中国人软件") + "\xD6" + "A" + Gbk("软件中国人") + "\x81\x30\xD6",
        "\xFF\xFE" + FromHex("2d 4e 3d d8 00 de 00 d8 41 00 fd 56 42"),
    };
    for (const std::string& file : files) {
        Write("in", file);
        Bytes wholeBig5 = file;
        DecodeLoadedText(wholeBig5, 936);
        Bytes wholeUtf8 = wholeBig5;
        GbToBig5(wholeBig5, glossary, true);
        ConvertCodePage(wholeUtf8, 936, 65001);
        for (std::size_t block = 1; block <= file.size() + 1; ++block) {
            ASSERT_EQ(Hex(Stream(toBig5, block)), Hex(wholeBig5)) << "block " << block;
            ASSERT_EQ(Hex(Stream(codePages, block)), Hex(wholeUtf8)) << "block " << block;
        }
    }
}

TEST_F(BatchStreaming, FileOfManyBlocksConvertsOntoItself) {
    std::string text;
    while (text.size() < 3 * (1u << 20) + 5)
        text += Gbk("中国人的软件在这里。") + "\r\n";
    Write("same.txt", text);
    Bytes expected = text;
    GbToBig5(expected, glossary, true);
    const std::string same = Path("same.txt");
    const BatchResult result =
        RunCommandLine("/B /T /S \"" + same + "\" /D \"" + same + "\"", glossary);
    ASSERT_EQ(result.exitCode, kExitOk) << result.message;
    EXPECT_TRUE(Read("same.txt") == expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);
}

// A clock the test moves by hand.
struct FakeClock {
    std::chrono::steady_clock::time_point now{};
    BatchProgress::Clock Get() {
        return [this] { return now; };
    }
    void Advance(double seconds) {
        now += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(seconds));
    }
};

std::string Contents(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

TEST(BatchProgressLine, AppearsAfterOneSecondWithShareAndSpeed) {
    std::FILE* stream = std::tmpfile();
    FakeClock clock;
    BatchProgress progress(stream, true, clock.Get());
    progress.Start(100u << 20);
    clock.Advance(0.9);
    progress.Update(30u << 20);
    EXPECT_EQ(Contents(stream), ""); // quick work shows nothing
    clock.Advance(1.1);
    progress.Update(50u << 20);
    EXPECT_EQ(Contents(stream), "\rmorvane:  50%  25.0 MiB/s ");
    clock.Advance(0.05);
    progress.Update(51u << 20); // not ten times a second
    clock.Advance(2.0);
    progress.Finish(100u << 20);
    EXPECT_EQ(Contents(stream), "\rmorvane:  50%  25.0 MiB/s \rmorvane: 100%  24.7 MiB/s \n");
    std::fclose(stream);
}

TEST(BatchProgressLine, NeverWhenDisabledOrQuick) {
    for (bool enabled : {false, true}) {
        std::FILE* stream = std::tmpfile();
        FakeClock clock;
        BatchProgress progress(stream, enabled, clock.Get());
        progress.Start(10);
        clock.Advance(enabled ? 0.5 : 5.0);
        progress.Update(5);
        progress.Finish(10);
        EXPECT_EQ(Contents(stream), "");
        std::fclose(stream);
    }
}

// Runs a progress line on standard error pointed at a terminal (a pseudo-terminal) or at a
// file, for long enough to show; returns what arrived.
std::string ProgressOnStandardError(bool terminal) {
    int master = -1, slave = -1;
    if (terminal && ::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return "no pseudo-terminal";
    std::FILE* file = terminal ? nullptr : std::tmpfile();
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(terminal ? slave : ::fileno(file), STDERR_FILENO);
    FakeClock clock;
    BatchProgress progress = BatchProgress::ForStandardError(clock.Get());
    progress.Start(4u << 20);
    clock.Advance(2.0);
    progress.Update(2u << 20);
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::string arrived;
    if (terminal) {
        char buffer[256];
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        arrived.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
        ::close(master);
        ::close(slave);
    } else {
        arrived = Contents(file);
        std::fclose(file);
    }
    return arrived;
}

TEST(BatchProgressLine, OnlyWhenStandardErrorIsATerminal) {
    EXPECT_EQ(ProgressOnStandardError(true), "\rmorvane:  50%  1.0 MiB/s ");
    EXPECT_EQ(ProgressOnStandardError(false), "");
}

} // namespace
} // namespace morvane
