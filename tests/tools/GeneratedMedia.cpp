// Cache folders keyed by the executable's size and time stamp, guarded by
// an flock so concurrent test processes generate only once.
#include "GeneratedMedia.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace datakit_test {
namespace {

std::string ExecutableStamp() {
    std::filesystem::path exe = DATAKIT_EXE;
    auto time = std::filesystem::last_write_time(exe).time_since_epoch();
    std::ostringstream s;
    s << std::filesystem::file_size(exe) << ' '
      << std::chrono::duration_cast<std::chrono::nanoseconds>(time).count();
    return s.str();
}

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

GeneratedMedia Generate() {
    const std::filesystem::path cache = DATAKIT_CACHE;
    std::filesystem::create_directories(cache);
    int lock = ::open((cache / "lock").c_str(), O_CREAT | O_RDWR, 0644);
    if (lock >= 0) {
        ::flock(lock, LOCK_EX);
    }
    GeneratedMedia media{cache / "first", cache / "second"};
    const std::string stamp = ExecutableStamp();
    if (ReadText(cache / "stamp") != stamp) {
        std::filesystem::remove(cache / "stamp");
        bool generated = true;
        for (const auto& dir : {media.first, media.second}) {
            std::filesystem::remove_all(dir);
            std::string output;
            int status = RunDatakit("--out '" + dir.string() + "'", &output);
            EXPECT_EQ(status, 0) << output;
            generated = generated && status == 0;
        }
        if (generated) {
            std::ofstream(cache / "stamp") << stamp;
        }
    }
    if (lock >= 0) {
        ::flock(lock, LOCK_UN);
        ::close(lock);
    }
    return media;
}

}  // namespace

const GeneratedMedia& Media() {
    static const GeneratedMedia media = Generate();
    return media;
}

int RunDatakit(const std::string& arguments, std::string* output) {
    std::string command = std::string("'") + DATAKIT_EXE + "' " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        text += buffer;
    }
    int status = ::pclose(pipe);
    if (output != nullptr) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace datakit_test
