// The HTML log: off by default, the two line styles, line feeds kept, appends.
#include "app/HtmlLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class HtmlLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("hush_log_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        path_ = dir_ / "log.html";
    }
    void TearDown() override {
        EnableHtmlLog(nullptr);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
    std::filesystem::path path_;
};

TEST_F(HtmlLogTest, DisabledWritesNothing) {
    EnableHtmlLog(nullptr);
    LogMessage("hello %d", 1);
    LogError("bad");
    EXPECT_FALSE(g_htmlLog.enabled);
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST_F(HtmlLogTest, WritesBothStylesInOrderKeepingLineFeedsAndAppends) {
    ASSERT_TRUE(EnableHtmlLog(path_.c_str()));
    LogMessage("Num Objects: %d", 3);
    LogError("failed to alloc %s", "VertexList");
    LogMessage("}\n\n");
    const std::string once =
        "<font face=\"Arial\" size=\"2\" color=\"#000000\">Num Objects: 3</font><br>\n"
        "<font face=\"Arial\" size=\"2\" color=\"#FF0000\"><b>failed to alloc VertexList"
        "</b></font><br>\n"
        "<font face=\"Arial\" size=\"2\" color=\"#000000\">}\n\n</font><br>\n";
    EXPECT_EQ(ReadAll(path_), once);

    // A second run of the program appends to the same file.
    EnableHtmlLog(nullptr);
    ASSERT_TRUE(EnableHtmlLog(path_.c_str()));
    LogMessage("Num Objects: %d", 3);
    EXPECT_EQ(ReadAll(path_), once +
                                  "<font face=\"Arial\" size=\"2\" color=\"#000000\">"
                                  "Num Objects: 3</font><br>\n");
}

TEST_F(HtmlLogTest, UnwritablePlaceDropsMessagesSilently) {
    ASSERT_TRUE(EnableHtmlLog((dir_ / "missing" / "log.html").c_str()));
    LogMessage("lost");
    LogError("lost too");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

TEST_F(HtmlLogTest, NameTooLongForTheBufferIsRefused) {
    const std::string longName(HtmlLog::kFileNameSize, 'x');
    EXPECT_FALSE(EnableHtmlLog(longName.c_str()));
    EXPECT_FALSE(g_htmlLog.enabled);
}

TEST_F(HtmlLogTest, HookSeesEveryLineWithItsStyleWhetherOrNotTheFileIsOn) {
    std::vector<std::pair<bool, std::string>> seen;
    SetHtmlLogHook(
        [](void* user, bool error, const char* text) {
            static_cast<std::vector<std::pair<bool, std::string>>*>(user)->emplace_back(error,
                                                                                        text);
        },
        &seen);
    LogMessage("off %d", 1);
    ASSERT_TRUE(EnableHtmlLog(path_.c_str()));
    LogError("on %s", "too");
    SetHtmlLogHook(nullptr, nullptr);
    LogMessage("unseen");
    EXPECT_EQ(seen,
              (std::vector<std::pair<bool, std::string>>{{false, "off 1"}, {true, "on too"}}));
    EXPECT_NE(ReadAll(path_).find("on too"), std::string::npos);
}

}  // namespace
