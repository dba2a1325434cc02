// The media the datakit executable generates, made twice into two cache
// folders the first time any test asks, and reused while the executable
// stays the same (every test case runs in a process of its own).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace datakit_test {

struct GeneratedMedia {
    std::filesystem::path first;   // one generation
    std::filesystem::path second;  // another, independent one
};

// Generates on first use; a lock keeps parallel test processes from
// generating at the same time. Fails the calling test when datakit fails.
const GeneratedMedia& Media();

// Runs the datakit executable with the arguments; returns its exit status
// and, through `output`, what it printed.
int RunDatakit(const std::string& arguments, std::string* output = nullptr);

std::vector<unsigned char> ReadBytes(const std::filesystem::path& file);

}  // namespace datakit_test
