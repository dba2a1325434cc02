// The reader's end of input: the end of the file, a read error, or the size
// the file had when the stream was made, so that no reading loop can go on
// forever on a handle that never reaches its end.
#include "model/MotionModelStream.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

fs::path TempPath(const char* stem) {
    return fs::temp_directory_path() / (std::string(stem) + std::to_string(getpid()));
}

// Every top-level line until the stream says it ended, at most `limit`.
int LinesUntilTheEnd(MotionModelStream& stream, int limit) {
    TopLevelLine line;
    int lines = 0;
    while (!stream.AtEnd() && lines < limit) {
        stream.ReadTopLevelLine(line);
        ++lines;
    }
    return lines;
}

TEST(MotionModelStreamTest, AReadErrorEndsTheInput) {
    // A folder opens for reading here; every read of it fails.
    const fs::path folder = TempPath("hush_stream_folder_");
    fs::create_directories(folder);
    File file(std::fopen(folder.c_str(), "r"), &std::fclose);
    ASSERT_NE(file, nullptr);
    MotionModelStream stream(file.get());
    EXPECT_LE(LinesUntilTheEnd(stream, 1000), 1);
    fs::remove_all(folder);
}

TEST(MotionModelStreamTest, AFileThatGrowsEndsAtTheSizeItHadWhenOpened) {
    const fs::path path = TempPath("hush_stream_growing_");
    std::ofstream(path) << "Mesh{\n}\n";
    File file(std::fopen(path.c_str(), "r"), &std::fclose);
    ASSERT_NE(file, nullptr);
    MotionModelStream stream(file.get());
    {
        std::ofstream more(path, std::ios::app);
        for (int i = 0; i < 1000; ++i) {
            more << "Mesh{\n}\n";
        }
    }
    // The two lines it had, and the one read that passes their end.
    EXPECT_LE(LinesUntilTheEnd(stream, 2000), 3);
    fs::remove(path);
}

}  // namespace
