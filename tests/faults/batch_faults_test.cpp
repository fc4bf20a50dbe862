// Batch mode under injected faults: read errors, sources that change or stall while read, a
// sparse source past 4 GiB, broken multi-byte text and hostile glossary files. Each one either
// converts exactly or fails with a reason, leaving the destination as it was and no stray file.
#include "app/batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "app/batch_args.h"
#include "app/batch_progress.h"
#include "engine/chinese_chain.h"
#include "engine/codepage.h"
#include "engine/codepage_iconv.h"
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

class BatchFaults : public test::ScratchFolder {
  protected:
    std::string Line(const std::string& mode, const std::string& source,
                     const std::string& destination) const
    {
        return mode + " /S \"" + Path(source) + "\" /D \"" + Path(destination) + "\"";
    }

    CGlossary glossary;
};

// Progress reports come after each block converted: a hook there changes the source mid-read.
// The source is read a few blocks ahead, so it has to be many blocks long for the change to
// land before the end.
class AfterFirstBlock {
  public:
    explicit AfterFirstBlock(std::function<void()> fault)
        : sink_(std::fopen("/dev/null", "w")),
          progress_(sink_, true, [this, fault] {
              // Start asks the time once, then every block's report asks again.
              if (++calls_ == 2)
                  fault();
              return std::chrono::steady_clock::time_point{};
          })
    {
    }
    ~AfterFirstBlock() { std::fclose(sink_); }
    BatchProgress* get() { return &progress_; }

  private:
    std::FILE* sink_;
    int calls_ = 0;
    BatchProgress progress_;
};

// Two-byte GBK text of the given size, so any even cut is a cut between characters.
std::string GbkText(std::size_t size)
{
    const std::string pair = Gbk("中文");
    std::string text;
    text.reserve(size);
    while (text.size() < size)
        text += pair;
    text.resize(size);
    return text;
}

std::string Converted(std::string text, int from, int to)
{
    ConvertCodePage(text, from, to);
    return text;
}

TEST_F(BatchFaults, ReadErrorIsReportedAndTheDestinationKept)
{
    // Reading a process's memory at address 0 fails with EIO, as root too.
    fs::create_symlink("/proc/self/mem", Path("unreadable"));
    Write("out.txt", "old contents");
    const BatchResult result = RunCommandLine(Line("/B", "unreadable", "out.txt"), glossary);
    EXPECT_EQ(result.exitCode, kExitFailure);
    EXPECT_NE(result.message.find("Input/output error"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find(Path("unreadable")), std::string::npos) << result.message;
    EXPECT_EQ(Read("out.txt"), "old contents");
    ExpectOnlyFiles({"unreadable", "out.txt"});
}

TEST_F(BatchFaults, SourceRemovedWhileReadIsStillConvertedWhole)
{
    const std::string text = GbkText(16 << 20);
    Write("in.txt", text);
    AfterFirstBlock hook([this] { fs::remove(Path("in.txt")); });
    const BatchResult result =
        RunCommandLine(Line("/X 936 65001", "in.txt", "out.txt"), glossary, hook.get());
    ASSERT_EQ(result.exitCode, kExitOk) << result.message;
    EXPECT_FALSE(fs::exists(Path("in.txt")));
    EXPECT_TRUE(Read("out.txt") == Converted(text, 936, 65001));
    ExpectOnlyFiles({"out.txt"});
}

TEST_F(BatchFaults, SourceCutShortWhileReadConvertsWhatWasReadOrFails)
{
    const std::string text = GbkText(16 << 20);
    Write("in.txt", text);
    Write("out.txt", "old contents");
    AfterFirstBlock hook([this] { fs::resize_file(Path("in.txt"), 10); });
    const BatchResult result =
        RunCommandLine(Line("/X 936 65001", "in.txt", "out.txt"), glossary, hook.get());
    const std::string out = Read("out.txt");
    if (result.exitCode == kExitOk) {
        // Never bytes that were not in the file: a clean prefix of the whole conversion.
        const std::string whole = Converted(text, 936, 65001);
        EXPECT_GT(out.size(), 0u);
        EXPECT_LT(out.size(), whole.size());
        EXPECT_TRUE(whole.compare(0, out.size(), out) == 0);
    } else {
        EXPECT_EQ(result.exitCode, kExitFailure);
        EXPECT_FALSE(result.message.empty());
        EXPECT_EQ(out, "old contents");
    }
    ExpectOnlyFiles({"in.txt", "out.txt"});
}

// A writer that opens the FIFO, writes, and closes: the reader sees the end of the file there.
std::thread FifoWriter(const std::string& path, std::string bytes)
{
    return std::thread([path, bytes] {
        const int fd = ::open(path.c_str(), O_WRONLY);
        if (fd < 0)
            return;
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        (void)written;
        ::close(fd);
    });
}

TEST_F(BatchFaults, FifoWhoseWriterStopsMidCharacterConvertsWhatCame)
{
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
    std::thread writer = FifoWriter(Path("pipe"), Gbk("中文") + "\xd6");
    const BatchResult result = RunCommandLine(Line("/X 936 65001", "pipe", "out.txt"), glossary);
    writer.join();
    ASSERT_EQ(result.exitCode, kExitOk) << result.message;
    EXPECT_EQ(Read("out.txt"), "中文?");
    ExpectOnlyFiles({"pipe", "out.txt"});
}

// Reads everything written into a FIFO, counting it without keeping it.
struct FifoTally {
    std::uint64_t size = 0;
    std::uint64_t nonZero = 0;
    std::string tail; // the last bytes
};

std::thread FifoReader(const std::string& path, FifoTally& tally)
{
    return std::thread([path, &tally] {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            return;
        std::vector<char> block(1 << 20);
        ssize_t n;
        while ((n = ::read(fd, block.data(), block.size())) > 0) {
            for (ssize_t i = 0; i < n; ++i)
                tally.nonZero += block[static_cast<std::size_t>(i)] != 0;
            tally.size += static_cast<std::uint64_t>(n);
            const std::size_t keep = std::min<std::size_t>(static_cast<std::size_t>(n), 16);
            tally.tail = (tally.tail + std::string(block.data() + n - keep, keep));
            if (tally.tail.size() > 16)
                tally.tail.erase(0, tally.tail.size() - 16);
        }
        ::close(fd);
    });
}

TEST_F(BatchFaults, SparseSourcePastFourGibibytesConvertsWhole)
{
    // 4 GiB of zeros, then 中: a size kept in 32 bits would see two bytes, or none.
    constexpr std::uint64_t kHole = std::uint64_t(1) << 32;
    {
        std::ofstream(Path("sparse.txt"), std::ios::binary);
    }
    fs::resize_file(Path("sparse.txt"), kHole);
    std::ofstream(Path("sparse.txt"), std::ios::binary | std::ios::in | std::ios::ate) << Gbk("中");
    ASSERT_EQ(fs::file_size(Path("sparse.txt")), kHole + 2);

    // The destination is a FIFO read as it is written, so nothing needs 4 GiB of disk or memory.
    ASSERT_EQ(::mkfifo(Path("out").c_str(), 0600), 0);
    FifoTally tally;
    std::thread reader = FifoReader(Path("out"), tally);
    const BatchResult result = RunCommandLine(Line("/X 936 950", "sparse.txt", "out"), glossary);
    reader.join();
    ASSERT_EQ(result.exitCode, kExitOk) << result.message;
    EXPECT_EQ(tally.size, kHole + 2);
    EXPECT_EQ(tally.nonZero, 2u);
    EXPECT_EQ(Hex(tally.tail.substr(tally.tail.size() - 2)), Hex(Big5("中")));
    ExpectOnlyFiles({"sparse.txt", "out"});
}

struct BrokenText {
    const char* name;
    const char* mode;
    std::string source;
    std::string expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BrokenText& c, std::ostream* os) { *os << c.name; }

std::vector<BrokenText> BrokenTexts()
{
    const std::string utf16Mark = "\xff\xfe";
    return {
        {"LoneLeadByte", "/X 936 65001", Gbk("中") + "\x81 " + Gbk("文"), "中? 文"},
        {"LeadByteAtTheEnd", "/X 936 65001", Gbk("中文") + "\xd6", "中文?"},
        {"InvalidTrailByte", "/X 936 65001", "\xd6\x7f" + Gbk("文"), "?\x7f文"},
        {"Big5LeadAtTheEnd", "/G", Big5("中國") + "\xa4", Gbk("中国") + "?"},
        {"GbkLeadAtTheEndToBig5", "/B", Gbk("中国") + "\xd6", Big5("中國") + "?"},
        {"OddLengthUtf16", "/X 936 65001", utf16Mark + FromHex("2d 4e 87"), "中?"},
        {"UnpairedHighSurrogate", "/X 65001 65001", utf16Mark + FromHex("00 d8 41 00"), "?A"},
        {"UnpairedLowSurrogate", "/X 65001 65001", utf16Mark + FromHex("00 dc 41 00"), "?A"},
        {"HighSurrogateAtTheEnd", "/X 65001 65001", utf16Mark + FromHex("41 00 3d d8"), "A?"},
        {"Utf16ToTheBatchChain", "/B", utf16Mark + FromHex("2d 4e 00 d8"), Big5("中") + "?"},
    };
}

class BatchBrokenText : public BatchFaults, public testing::WithParamInterface<BrokenText> {};

TEST_P(BatchBrokenText, BecomesQuestionMarksAndTheRestConverts)
{
    const BrokenText& c = GetParam();
    Write("in.txt", c.source);
    const BatchResult result = RunCommandLine(Line(c.mode, "in.txt", "out.txt"), glossary);
    ASSERT_EQ(result.exitCode, kExitOk) << result.message;
    EXPECT_EQ(Hex(Read("out.txt")), Hex(c.expected));
    ExpectOnlyFiles({"in.txt", "out.txt"});
}

INSTANTIATE_TEST_SUITE_P(Cases, BatchBrokenText, testing::ValuesIn(BrokenTexts()),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(BatchFaults, CharactersCutByBlockAndSliceEdgesArriveWhole)
{
    // A two-byte character straddling each power-of-two edge a reader or a step might cut at.
    for (const std::size_t edge : {std::size_t(1) << 16, std::size_t(1) << 20}) {
        for (const std::size_t before : {edge - 1, edge, edge + 1}) {
            const std::string text = std::string(before, 'a') + Gbk("中") + "\xd6";
            Write("in.txt", text);
            ASSERT_EQ(RunCommandLine(Line("/X 936 65001", "in.txt", "out.txt"), glossary).exitCode,
                      kExitOk);
            const std::string out = Read("out.txt");
            EXPECT_EQ(out.size(), before + 4) << before;
            EXPECT_EQ(out.substr(before), "中?") << before;
            ASSERT_EQ(RunCommandLine(Line("/B", "in.txt", "out.txt"), glossary).exitCode, kExitOk);
            EXPECT_EQ(Hex(Read("out.txt").substr(before)), Hex(Big5("中") + "?")) << before;
        }
    }
}

// Glossary files a person could make by hand, loaded from disk as batch mode loads them.
TEST_F(BatchFaults, GlossaryKeyOfMoreThanABlockMatchesAcrossBlocks)
{
    std::string key;
    while (key.size() < (1 << 20) + 200000)
        key += Gbk("软件");
    Write("GB-BIG5.txt", key + "<>" + Gbk("軟體") + "\r\n");
    ASSERT_TRUE(glossary.LoadFile(Path("GB-BIG5.txt")));
    Write("in.txt", Gbk("甲") + key + Gbk("乙") + key.substr(2));
    ASSERT_EQ(RunCommandLine(Line("/B /T", "in.txt", "out.txt"), glossary).exitCode, kExitOk);
    // The second copy lacks its first character, so it is only mapped, not replaced.
    std::string rest = key.substr(2);
    GbToBig5(rest, glossary, false);
    EXPECT_TRUE(Read("out.txt") == Big5("甲軟體乙") + rest);
}

TEST_F(BatchFaults, GlossaryOfAMillionLines)
{
    std::string file;
    for (int i = 0; i < 1000000; ++i)
        file += Gbk("词") + std::to_string(i) + ">" + Gbk("字") + std::to_string(i) + "\r\n";
    Write("GB-BIG5.txt", file);
    ASSERT_TRUE(glossary.LoadFile(Path("GB-BIG5.txt")));
    EXPECT_EQ(glossary.Size(), 1000000u);
    Write("in.txt", Gbk("词0 词999999 词500000 词1"));
    ASSERT_EQ(RunCommandLine(Line("/B /T", "in.txt", "out.txt"), glossary).exitCode, kExitOk);
    EXPECT_EQ(Hex(Read("out.txt")), Hex(Big5("字0 字999999 字500000 字1")));
}

struct GlossaryFile {
    const char* name;
    std::string file;
    std::size_t pairs;
    std::string source; // GBK
    std::string expected; // BIG5, /B /T
};

void PrintTo(const GlossaryFile& c, std::ostream* os) { *os << c.name; }

std::vector<GlossaryFile> GlossaryFiles()
{
    const std::string nul(1, '\0');
    return {
        // A NUL is a byte like any other: inside a word it belongs to the word.
        {"NulInsideWords", Gbk("软") + nul + Gbk("件<>軟") + nul + Gbk("體\r\n"), 1,
         Gbk("软") + nul + Gbk("件软件"), Big5("軟") + nul + Big5("體軟件")},
        {"NulLinesBetweenPairs", nul + nul + "\r\n" + Gbk("软件<>軟體\r\n") + nul, 1,
         Gbk("软件"), Big5("軟體")},
        {"SeparatorsOnly", "<>\r\n<\r\n>\r\n<<>>\r\n><\r\n>>>>\r\n<", 0, Gbk("软件"),
         Big5("軟件")},
        {"NoLineEndAfterTheLastPair", Gbk("软件<>軟體\r\n程序<>程式"), 2, Gbk("软件程序"),
         Big5("軟體程式")},
    };
}

class BatchGlossaryFile : public BatchFaults, public testing::WithParamInterface<GlossaryFile> {};

TEST_P(BatchGlossaryFile, LoadsAndConverts)
{
    const GlossaryFile& c = GetParam();
    Write("GB-BIG5.txt", c.file);
    ASSERT_TRUE(glossary.LoadFile(Path("GB-BIG5.txt")));
    EXPECT_EQ(glossary.Size(), c.pairs);
    Write("in.txt", c.source);
    ASSERT_EQ(RunCommandLine(Line("/B /T", "in.txt", "out.txt"), glossary).exitCode, kExitOk);
    EXPECT_EQ(Hex(Read("out.txt")), Hex(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, BatchGlossaryFile, testing::ValuesIn(GlossaryFiles()),
                         [](const auto& row) { return std::string(row.param.name); });

// A code page the command line accepts but the C library cannot convert would fail only after
// the destination was opened.
TEST_F(BatchFaults, EveryCodePageTheCommandLineAcceptsConverts)
{
    Write("in.txt", "abc");
    for (int page = 1; page <= 65535; ++page) {
        if (FindCodePage(page) == nullptr)
            continue;
        const std::string number = std::to_string(page);
        const BatchResult there =
            RunCommandLine(Line("/X 65001 " + number, "in.txt", "out.txt"), glossary);
        const BatchResult back =
            RunCommandLine(Line("/X " + number + " 65001", "in.txt", "out.txt"), glossary);
        EXPECT_EQ(there.exitCode, kExitOk) << page << ": " << there.message;
        EXPECT_EQ(back.exitCode, kExitOk) << page << ": " << back.message;
    }
}

// A file name whose last folder is one letter S or D ("notes/D") must not make the next switch
// look like a name to quote.
TEST(BatchWords, NameEndingLikeAFileSwitchKeepsTheNextName)
{
    for (const char* name : {"notes/D", "backup/s", "x/S"}) {
        const ParsedCommandLine parsed =
            ParseCommandLine(JoinArguments({"/B", "/S", name, "/D", "out.txt"}));
        ASSERT_TRUE(parsed.ok) << name << ": " << parsed.error;
        EXPECT_EQ(parsed.arguments.sourceName, name);
        EXPECT_EQ(parsed.arguments.destinationName, "out.txt") << name;
    }
}

} // namespace
} // namespace morvane
