// The manifest on a small folder: what it records and what the check finds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "tools/datakit/Manifest.h"

namespace {

class ManifestTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("datakit_manifest_" + std::to_string(::getpid()));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "data");
        std::ofstream(root_ / "data/a.txt") << "abc";
        std::ofstream(root_ / "b.bin") << "hello";
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::filesystem::path root_;
};

TEST_F(ManifestTest, RecordsSizeAndSha256SortedByPath) {
    auto entries = datakit::WriteManifest(root_, {"data/a.txt", "b.bin"});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, "b.bin");
    EXPECT_EQ(entries[1].path, "data/a.txt");
    EXPECT_EQ(entries[1].size, 3u);
    EXPECT_EQ(entries[1].sha256,
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    std::vector<datakit::ManifestEntry> read;
    ASSERT_TRUE(datakit::ReadManifest(root_, read));
    EXPECT_EQ(read.size(), 2u);
    EXPECT_TRUE(datakit::CheckManifest(root_).empty());
}

TEST_F(ManifestTest, CheckNamesChangedAndMissingFiles) {
    datakit::WriteManifest(root_, {"data/a.txt", "b.bin"});
    std::ofstream(root_ / "data/a.txt") << "abd";
    EXPECT_EQ(datakit::CheckManifest(root_), std::vector<std::string>{"data/a.txt"});
    std::filesystem::remove(root_ / "b.bin");
    EXPECT_EQ(datakit::CheckManifest(root_), (std::vector<std::string>{"b.bin", "data/a.txt"}));
}

TEST_F(ManifestTest, MissingOrMalformedManifestFailsTheCheck) {
    EXPECT_EQ(datakit::CheckManifest(root_), std::vector<std::string>{datakit::kManifestPath});
    std::ofstream(root_ / datakit::kManifestPath) << "b.bin\tfive\tnot-a-hash\n";
    EXPECT_EQ(datakit::CheckManifest(root_), std::vector<std::string>{datakit::kManifestPath});
}

}  // namespace
