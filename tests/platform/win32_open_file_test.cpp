// Files opened for reading through the stand-in: regular files only, of a
// bounded size; everything else fails at once, as a missing file does.
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class Win32OpenFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("hush_open_file_" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(folder_ / "regular.txt") << "text";
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Opens through the system's own path form, with backslashes.
    std::FILE* Open(const std::string& name, const char* mode = "rb") const {
        return win32::OpenFile((folder_.string() + "\\" + name).c_str(), mode);
    }

    // The open fails, errno says why, and no file is left open.
    void ExpectRefused(const std::string& name, int error) const {
        errno = 0;
        std::FILE* file = Open(name);
        EXPECT_EQ(file, nullptr) << name;
        EXPECT_EQ(errno, error) << name;
        if (file != nullptr) {
            std::fclose(file);
        }
    }

    fs::path folder_;
};

TEST_F(Win32OpenFileTest, RegularFilesAndLinksToThemOpenForReading) {
    fs::create_symlink(folder_ / "regular.txt", folder_ / "link.txt");
    for (const char* name : {"regular.txt", "link.txt"}) {
        for (const char* mode : {"r", "rb"}) {
            std::FILE* file = Open(name, mode);
            ASSERT_NE(file, nullptr) << name << " " << mode;
            char text[8] = {};
            EXPECT_EQ(std::fread(text, 1, sizeof text, file), 4u);
            EXPECT_STREQ(text, "text");
            std::fclose(file);
        }
    }
}

TEST_F(Win32OpenFileTest, WhatIsNotARegularFileIsRefusedWithoutWaiting) {
    fs::create_directory(folder_ / "folder");
    ASSERT_EQ(mkfifo((folder_ / "pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", folder_ / "device");
    fs::create_symlink(folder_ / "folder", folder_ / "link_to_folder");
    ExpectRefused("missing", ENOENT);
    ExpectRefused("folder", EISDIR);
    ExpectRefused("link_to_folder", EISDIR);
    // A pipe nobody writes to: a blocking open would never return.
    ExpectRefused("pipe", EINVAL);
    ExpectRefused("device", EINVAL);
}

TEST_F(Win32OpenFileTest, AFileLargerThanAnyTheShowReadsIsRefused) {
    // Sparse: no disk space is taken.
    const fs::path large = folder_ / "large";
    std::ofstream(large).close();
    fs::resize_file(large, static_cast<std::uintmax_t>(win32::kMaxReadableFileBytes));
    std::FILE* file = Open("large");
    EXPECT_NE(file, nullptr) << "a file of the largest size opens";
    if (file != nullptr) {
        std::fclose(file);
    }
    fs::resize_file(large, static_cast<std::uintmax_t>(win32::kMaxReadableFileBytes) + 1);
    ExpectRefused("large", EFBIG);
}

TEST_F(Win32OpenFileTest, WritingModesAreLeftToTheCRuntime) {
    std::FILE* file = Open("written.txt", "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(fs::is_regular_file(folder_ / "written.txt"));
}

}  // namespace
