// Which glossary file is read: the user's own once it exists, otherwise the shipped one.
#include "engine/glossary_location.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include <gtest/gtest.h>

#include "engine/glossary.h"
#include "tests/test_text.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::Gbk;

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
  public:
    explicit ScopedEnv(const char* name) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const std::string& value) const { setenv(name_, value.c_str(), 1); }
    void Unset() const { unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class GlossaryLocation : public testing::Test {
  protected:
    void SetUp() override
    {
        root = fs::path(testing::TempDir()) /
               ("location_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root / "config" / "Morvane");
        fs::create_directories(root / "data");
        fs::create_directories(root / "empty");
        config.Set((root / "config").string());
        dataDir.Set((root / "data").string());
        Write(shippedFile(), Gbk("[Shipped]\r\n软件<>軟體\r\n头发>頭髮\r\n"));
    }
    void TearDown() override { fs::remove_all(root); }

    static void Write(const fs::path& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    fs::path userFile() const { return root / "config" / "Morvane" / "GB-BIG5.txt"; }
    fs::path shippedFile() const { return root / "data" / "GB-BIG5.txt"; }

    static std::string ToTraditional(const CGlossary& glossary, const std::string& utf8)
    {
        Bytes out;
        glossary.ApplyToTraditional(Gbk(utf8), out);
        return test::Utf8(out, kCodePageGbk);
    }

    ScopedEnv config{"XDG_CONFIG_HOME"};
    ScopedEnv dataDir{"MORVANE_DATA_DIR"};
    fs::path root;
};

TEST_F(GlossaryLocation, WithoutTheUsersFileTheShippedOneIsRead)
{
    EXPECT_EQ(ShippedGlossaryPath(), shippedFile().string());
    EXPECT_EQ(GlossaryReadPath(), shippedFile().string());

    CGlossary glossary;
    ASSERT_TRUE(glossary.Load());
    EXPECT_EQ(glossary.Size(), 2u);
    EXPECT_EQ(ToTraditional(glossary, "软件头发"), "軟體頭髮");
}

TEST_F(GlossaryLocation, TheUsersFileOnceItExistsIsTheOnlyOneRead)
{
    // Even an empty file of the user's shuts the shipped pairs out: deleting every line in
    // the editor must not bring them back.
    struct Case {
        const char* userText;
        std::size_t pairs;
        const char* converted;
    };
    const Case cases[] = {
        {"中国>中國\r\n", 1, "软件头发中國"},
        {"", 0, "软件头发中国"},
        {"[Mine]\r\n头发>頭发\r\n", 1, "软件頭发中国"},
    };
    for (const Case& c : cases) {
        Write(userFile(), Gbk(c.userText));
        EXPECT_EQ(GlossaryReadPath(), userFile().string()) << c.userText;
        CGlossary glossary;
        ASSERT_TRUE(glossary.Load()) << c.userText;
        EXPECT_EQ(glossary.Size(), c.pairs) << c.userText;
        EXPECT_EQ(ToTraditional(glossary, "软件头发中国"), c.converted) << c.userText;
    }
}

TEST_F(GlossaryLocation, ADataFolderWithoutTheFileMeansNoShippedGlossary)
{
    // The variable names the only folder looked in, so pointing it at an empty one runs
    // without the shipped glossary even from the build folder.
    dataDir.Set((root / "empty").string());
    EXPECT_EQ(ShippedGlossaryPath(), "");
    EXPECT_EQ(GlossaryReadPath(), GlossaryPath());

    CGlossary glossary;
    EXPECT_FALSE(glossary.Load());
    EXPECT_EQ(glossary.Size(), 0u);
}

TEST_F(GlossaryLocation, FromTheBuildFolderTheSourceTreesFileIsShipped)
{
    // The test program is not installed, so neither is a glossary beside it.
    const fs::path source = fs::path(MORVANE_SOURCE_DIR) / "engine" / "data" / "GB-BIG5.txt";
    ASSERT_TRUE(fs::exists(source));
    for (bool unset : {true, false}) {
        if (unset)
            dataDir.Unset();
        else
            dataDir.Set("");
        const std::string shipped = ShippedGlossaryPath();
        ASSERT_FALSE(shipped.empty()) << "unset " << unset;
        EXPECT_TRUE(fs::equivalent(shipped, source)) << shipped;
        EXPECT_EQ(GlossaryReadPath(), shipped);
    }
}

} // namespace
} // namespace morvane
