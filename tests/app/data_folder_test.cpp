// The data folder's precedence: --data, then a working directory that holds
// data/ (a run folder), then the installed data folder, else stay.
#include "app/DataFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        start_ = std::filesystem::current_path();
        root_ = std::filesystem::temp_directory_path() /
                ("hush_data_folder_" + std::to_string(getpid()) +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(root_ / "elsewhere");
        std::filesystem::create_directories(root_ / "run" / "data");
        std::filesystem::create_directories(root_ / "share" / "hush" / "data");
        std::filesystem::create_directories(root_ / "empty share");
    }
    void TearDown() override {
        std::filesystem::current_path(start_);
        std::filesystem::remove_all(root_);
    }
    std::string Installed() const { return (root_ / "share" / "hush").string(); }
    std::filesystem::path start_;
    std::filesystem::path root_;
};

TEST_F(DataFolderTest, AGivenFolderComesFirst) {
    std::filesystem::current_path(root_ / "run");
    EXPECT_EQ(ChooseDataFolder("/given", Installed()), "/given");
}

TEST_F(DataFolderTest, ARunFolderKeepsItsOwnDataOverTheInstalledData) {
    std::filesystem::current_path(root_ / "run");
    EXPECT_EQ(ChooseDataFolder("", Installed()), "");
}

TEST_F(DataFolderTest, ElsewhereTheInstalledDataIsUsedWhenItIsThere) {
    std::filesystem::current_path(root_ / "elsewhere");
    EXPECT_EQ(ChooseDataFolder("", Installed()), Installed());
    // Without an installation the working directory stays, so the missing
    // files are reported there as they always were.
    EXPECT_EQ(ChooseDataFolder("", (root_ / "empty share").string()), "");
    EXPECT_EQ(ChooseDataFolder("", ""), "");
}

}  // namespace
