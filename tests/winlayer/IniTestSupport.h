#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

// A fresh temporary folder per test, removed afterwards, with small file helpers.
class IniFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "winlayer-ini-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
    const std::filesystem::path& Folder() const { return m_folder; }

    static void WriteFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static struct stat StatOf(const std::string& path) {
        struct stat status {};
        stat(path.c_str(), &status);
        return status;
    }

private:
    std::filesystem::path m_folder;
};
