// LoadLibraryA's name mapping and search, GetProcAddress and FreeLibrary.
#include <win32_standin.h>

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
