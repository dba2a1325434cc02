// LoadLibraryA's name mapping and search, GetProcAddress and FreeLibrary.
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using AnswerFunction = int (*)();

int AnswerOf(HMODULE library) {
    const FARPROC answer = GetProcAddress(library, "TestPluginAnswer");
    return answer != nullptr ? reinterpret_cast<AnswerFunction>(answer)() : -1;
}

TEST(Win32LibraryTest, DllNameFindsTheSharedLibraryBesideTheExecutable) {
    const HMODULE library = LoadLibraryA("TestPlugin.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(AnswerOf(library), 42);
    EXPECT_EQ(GetProcAddress(library, "NoSuchExport"), nullptr);
    EXPECT_TRUE(FreeLibrary(library));
}

TEST(Win32LibraryTest, SuffixIsCaseBlindButTheNameKeepsItsCase) {
    const HMODULE upper = LoadLibraryA("TestPlugin.DLL");
    EXPECT_NE(upper, nullptr);
    if (upper != nullptr) {
        FreeLibrary(upper);
    }
    EXPECT_EQ(LoadLibraryA("testplugin.dll"), nullptr);
    EXPECT_EQ(LoadLibraryA("Missing.dll"), nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(Win32LibraryTest, FoldersAreKeptAndOtherNamesPassThrough) {
    std::string windowsFolder = win32::ExecutableDir();
    for (char& c : windowsFolder) {
        if (c == '/') {
            c = '\\';
        }
    }
    const HMODULE inFolder = LoadLibraryA((windowsFolder + "TestPlugin.dll").c_str());
    ASSERT_NE(inFolder, nullptr);
    EXPECT_EQ(AnswerOf(inFolder), 42);
    FreeLibrary(inFolder);

    const HMODULE native = LoadLibraryA((win32::ExecutableDir() + "libTestPlugin.so").c_str());
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(AnswerOf(native), 42);
    FreeLibrary(native);

    EXPECT_EQ(LoadLibraryA("/no/such/folder/TestPlugin.dll"), nullptr);
}

std::vector<char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where the last byte the loader maps from the file ends.
std::size_t EndOfLoadedPart(const std::vector<char>& bytes) {
    ElfW(Ehdr) header{};
    std::copy_n(bytes.data(), sizeof header, reinterpret_cast<char*>(&header));
    std::size_t end = 0;
    for (int i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment{};
        std::copy_n(bytes.data() + header.e_phoff + i * sizeof segment, sizeof segment,
                    reinterpret_cast<char*>(&segment));
        if (segment.p_type == PT_LOAD) {
            end = std::max<std::size_t>(end, segment.p_offset + segment.p_filesz);
        }
    }
    return end;
}

// A library cut short where the loader would map it is refused, instead of
// faulting when its missing pages are touched; what lies past the mapped
// part (symbols, debug sections) is not needed.
TEST(Win32LibraryTest, LibraryCutShortInsideItsSegmentsIsRefused) {
    const std::vector<char> whole = ReadBytes(win32::ExecutableDir() + "libTestPlugin.so");
    const std::size_t loaded = EndOfLoadedPart(whole);
    ASSERT_GT(loaded, 4096u);
    ASSERT_LT(loaded, whole.size());
    char folder[] = "/tmp/win32_library_test_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/libTestPlugin.so";
    const std::string name = std::string(folder) + "/TestPlugin.dll";
    for (const std::size_t cut : {std::size_t{0}, std::size_t{64}, loaded / 2, loaded - 1}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(whole.data(), static_cast<std::streamsize>(cut));
        EXPECT_EQ(LoadLibraryA(name.c_str()), nullptr) << "cut at " << cut;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(whole.data(), static_cast<std::streamsize>(loaded));
    const HMODULE library = LoadLibraryA(name.c_str());
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(AnswerOf(library), 42);
    FreeLibrary(library);
    std::filesystem::remove_all(folder);
}

}  // namespace
