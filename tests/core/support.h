// Helpers shared by the library tests: a temporary folder, a fixture that
// works inside one, and whole-file reads and writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testsupport {

// A fresh folder under /tmp, removed again with everything in it.
class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/lunvelde-test-XXXXXX";
        if (mkdtemp(pattern))
            path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (ok())
            std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs each test with its own empty folder as the working directory.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.ok());
        std::filesystem::current_path(dir.path());
    }
    void TearDown() override { std::filesystem::current_path(oldDir); }

    const std::filesystem::path oldDir = std::filesystem::current_path();
    TempDir dir;
};

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace testsupport
