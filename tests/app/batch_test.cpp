// Batch mode end to end: files in a scratch folder, the destination's safety, exit statuses.
#include "app/batch.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "engine/glossary.h"
#include "lang/lang.h"
#include "tests/scratch_folder.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::Big5;
using test::FromHex;
using test::Gbk;

class BatchMode : public test::ScratchFolder {
  protected:
    void SetUp() override
    {
        ScratchFolder::SetUp();
        glossary.LoadText(Gbk("软件<>軟體\r\n"));
    }

    BatchResult Run(const std::string& line) const { return RunCommandLine(line, glossary); }

    CGlossary glossary;
};

TEST_F(BatchMode, ConvertsBetweenCodePages)
{
    Write("chinese.txt", Gbk("中文 text"));
    const BatchResult result =
        Run("/x 0x3A8 0x3a4 /s \"" + Path("chinese.txt") + "\" /d \"" + Path("japanese.txt") + "\"");
    ASSERT_EQ(result.exitCode, kExitOk) << result.message;
    EXPECT_EQ(Read("japanese.txt"), test::Encoded("中文 text", 932));
    ExpectOnlyFiles({"chinese.txt", "japanese.txt"});
}

TEST_F(BatchMode, GbToBig5WithAndWithoutTheGlossary)
{
    Write("gb.txt", Gbk("软件"));
    ASSERT_EQ(Run("/B /T /S \"" + Path("gb.txt") + "\" /D \"" + Path("t.txt") + "\"").exitCode, 0);
    EXPECT_EQ(Read("t.txt"), Big5("軟體"));
    ASSERT_EQ(Run("/B /S \"" + Path("gb.txt") + "\" /D \"" + Path("c.txt") + "\"").exitCode, 0);
    EXPECT_EQ(Read("c.txt"), Big5("軟件"));
}

TEST_F(BatchMode, Big5ToGbRunsTheGlossaryOnTheTraditionalText)
{
    Write("big5.txt", Big5("軟體"));
    ASSERT_EQ(Run("/G /T /S \"" + Path("big5.txt") + "\" /D \"" + Path("gb.txt") + "\"").exitCode, 0);
    EXPECT_EQ(Read("gb.txt"), Gbk("软件"));
}

TEST_F(BatchMode, ConvertsAFileOntoItself)
{
    Write("same.txt", Gbk("中国"));
    ASSERT_EQ(Run("/B /S \"" + Path("same.txt") + "\" /D \"" + Path("same.txt") + "\"").exitCode, 0);
    EXPECT_EQ(Read("same.txt"), Big5("中國"));
    ExpectOnlyFiles({"same.txt"});
}

TEST_F(BatchMode, EmptySourceGivesEmptyDestination)
{
    Write("empty.txt", "");
    Write("out.txt", "old");
    ASSERT_EQ(Run("/X 936 950 /S \"" + Path("empty.txt") + "\" /D \"" + Path("out.txt") + "\"").exitCode, 0);
    EXPECT_EQ(Read("out.txt"), "");
}

TEST_F(BatchMode, Utf16SourceDecodesToTheModesCodePage)
{
    // 中国 in UTF-16LE with its mark: GBK text for /B, BIG5 text for /G.
    Write("u16.txt", FromHex("ff fe 2d 4e fd 56"));
    ASSERT_EQ(Run("/B /S \"" + Path("u16.txt") + "\" /D \"" + Path("b.txt") + "\"").exitCode, 0);
    EXPECT_EQ(Read("b.txt"), Big5("中國"));
    Write("u16t.txt", FromHex("ff fe 2d 4e 0b 57")); // 中國
    ASSERT_EQ(Run("/G /S \"" + Path("u16t.txt") + "\" /D \"" + Path("g.txt") + "\"").exitCode, 0);
    EXPECT_EQ(Read("g.txt"), Gbk("中国"));
}

TEST_F(BatchMode, BytesAfterANulAreConvertedToo)
{
    Write("nul.txt", Gbk("中") + std::string(1, '\0') + Gbk("国"));
    ASSERT_EQ(Run("/B /S \"" + Path("nul.txt") + "\" /D \"" + Path("out.txt") + "\"").exitCode, 0);
    EXPECT_EQ(Read("out.txt"), Big5("中") + std::string(1, '\0') + Big5("國"));
}

TEST_F(BatchMode, UnknownCodePageFailsAndNamesIt)
{
    Write("in.txt", "abc");
    const BatchResult result =
        Run("/X 936 4242 /S \"" + Path("in.txt") + "\" /D \"" + Path("out.txt") + "\"");
    EXPECT_EQ(result.exitCode, kExitUsage);
    EXPECT_NE(result.message.find("4242"), std::string::npos);
    ExpectOnlyFiles({"in.txt"});
}

struct FailureCase {
    const char* name;
    const char* source; // relative to the scratch folder; "DIR" is a folder
    const char* destination;
    const char* reason;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const FailureCase kFailures[] = {
    {"MissingSource", "missing.txt", "out.txt", "No such file"},
    {"SourceIsAFolder", "DIR", "out.txt", "Is a directory"},
    {"DestinationIsAFolder", "in.txt", "DIR", "Is a directory"},
    {"DestinationFolderMissing", "in.txt", "nowhere/out.txt", "No such file"},
    {"PathComponentIsAFile", "in.txt", "in.txt/out.txt", "Not a directory"},
    {"FullDisk", "in.txt", "full", "No space left"},
};

class BatchFailure : public BatchMode, public testing::WithParamInterface<FailureCase> {};

TEST_P(BatchFailure, SaysWhichFileAndWhyAndLeavesTheDestination)
{
    const FailureCase& c = GetParam();
    Write("in.txt", Gbk("中文"));
    Write("out.txt", "old contents");
    fs::create_directory(Path("DIR"));
    // A link to /dev/full in our own folder: a bug that renamed over it harms nothing else.
    fs::create_symlink("/dev/full", Path("full"));
    const BatchResult result =
        Run("/B /S \"" + Path(c.source) + "\" /D \"" + Path(c.destination) + "\"");
    EXPECT_EQ(result.exitCode, kExitFailure);
    EXPECT_NE(result.message.find(c.reason), std::string::npos) << result.message;
    EXPECT_NE(result.message.find(Path(c.source == std::string("in.txt") ? c.destination : c.source)),
              std::string::npos)
        << result.message;
    EXPECT_EQ(Read("out.txt"), "old contents");
    EXPECT_TRUE(fs::is_symlink(Path("full")));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    ExpectOnlyFiles({"in.txt", "out.txt", "DIR", "full"});
}

INSTANTIATE_TEST_SUITE_P(Cases, BatchFailure, testing::ValuesIn(kFailures),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(BatchMode, SymbolicLinkIsFollowedNotReplaced)
{
    Write("in.txt", Gbk("中国"));
    Write("real.txt", "old");
    fs::create_symlink("real.txt", Path("link.txt"));
    fs::create_symlink("new.txt", Path("dangling.txt"));
    ASSERT_EQ(Run("/B /S \"" + Path("in.txt") + "\" /D \"" + Path("link.txt") + "\"").exitCode, 0);
    ASSERT_EQ(Run("/B /S \"" + Path("in.txt") + "\" /D \"" + Path("dangling.txt") + "\"").exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
    EXPECT_TRUE(fs::is_symlink(Path("dangling.txt")));
    EXPECT_EQ(Read("real.txt"), Big5("中國"));
    EXPECT_EQ(Read("new.txt"), Big5("中國"));
}

TEST_F(BatchMode, DeviceDestinationIsWrittenIntoNotReplaced)
{
    Write("in.txt", "abc");
    fs::create_symlink("/dev/null", Path("null"));
    ASSERT_EQ(Run("/B /S \"" + Path("in.txt") + "\" /D \"" + Path("null") + "\"").exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(Path("null")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(BatchMode, ReplacedFileKeepsItsPermissions)
{
    Write("in.txt", "abc");
    Write("out.txt", "old");
    fs::permissions(Path("out.txt"), fs::perms::owner_read | fs::perms::owner_write |
                                         fs::perms::group_read);
    ASSERT_EQ(Run("/B /S \"" + Path("in.txt") + "\" /D \"" + Path("out.txt") + "\"").exitCode, 0);
    EXPECT_EQ(fs::status(Path("out.txt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// The built program, run as a user would, with no display at all.
struct Process {
    int status;
    std::string out;
    std::string err;
};

Process RunProgram(const std::string& arguments, const std::string& dir)
{
    const std::string out = dir + "/stdout", err = dir + "/stderr";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LANG=C LC_ALL= "
                                "LC_MESSAGES= " MORVANE_BINARY " " + arguments + " >" + out +
                                " 2>" + err + " </dev/null";
    const int raw = std::system(command.c_str());
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

TEST_F(BatchMode, ProgramConvertsWithSeparateWordsAndNoDisplay)
{
    Write("my file.txt", Gbk("中国"));
    const Process p = RunProgram("/B /S '" + Path("my file.txt") + "' /D '" + Path("out.txt") + "'",
                                 dir.string() + "/..");
    EXPECT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(p.err, "");
    EXPECT_EQ(Read("out.txt"), Big5("中國"));
}

TEST_F(BatchMode, ProgramReportsFailuresWithUsageOnStandardError)
{
    const Process usage = RunProgram("notes.txt", dir.string());
    EXPECT_EQ(usage.status, kExitUsage);
    EXPECT_EQ(usage.out, "");
    EXPECT_NE(usage.err.find("one of /X, /B and /G"), std::string::npos) << usage.err;
    EXPECT_NE(usage.err.find("[/B] GBK to BIG5"), std::string::npos);

    const Process missing = RunProgram("/B /S '" + Path("missing.txt") + "' /D out", dir.string());
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find(Path("missing.txt")), std::string::npos) << missing.err;
}

TEST_F(BatchMode, ProgramPrintsHelpOnRequest)
{
    for (const char* request : {"-h", "--help", "'/?'"}) {
        const Process help = RunProgram(request, dir.string());
        EXPECT_EQ(help.status, 0) << request;
        EXPECT_NE(help.out.find("morvane /B /T /S \"gb2312.txt\" /D \"big5.txt\""),
                  std::string::npos)
            << help.out;
        EXPECT_EQ(help.out.find('\r'), std::string::npos);
    }
}

} // namespace
} // namespace morvane
