// Test fixture: a fresh folder per test for files, with helpers to write, read and list them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace morvane::test {

class ScratchFolder : public testing::Test {
  protected:
    void SetUp() override
    {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("scratch_") + test->test_suite_name() + "_" + test->name();
        std::replace(name.begin(), name.end(), '/', '_'); // parameterised names hold slashes
        dir = std::filesystem::path(testing::TempDir()) / name;
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // Only the names given are in the folder: no temporary file was left behind.
    void ExpectOnlyFiles(std::initializer_list<std::string> names) const
    {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            found.insert(entry.path().filename().string());
        EXPECT_EQ(found, std::set<std::string>(names));
    }

    std::filesystem::path dir;
};

} // namespace morvane::test
