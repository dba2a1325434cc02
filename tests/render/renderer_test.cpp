// The Renderer: API names, the library's loading and its factory, with one
// message box per failure.
#include "render/Renderer.h"
#include "tests/platform/win32_test_support.h"

#include <win32_standin.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override { win32::SetMessageBoxHook(&RecordBoxes, &boxes_); }
    void TearDown() override { win32::SetMessageBoxHook(nullptr, nullptr); }
    std::vector<RecordedBox> boxes_;
};

TEST_F(RendererTest, NamesOtherThanTheTwoApisAreRefusedWithTheirName) {
    for (const char* name : {"direct3d", "DIRECT3D1", "DIRECT3D ", "", "OPENGL "}) {
        boxes_.clear();
        Renderer renderer(nullptr);
        EXPECT_EQ(renderer.CreateDevice(name), E_FAIL) << name;
        ASSERT_EQ(boxes_.size(), 1u) << name;
        EXPECT_EQ(boxes_[0].text,
                  L"API " + std::wstring(name, name + std::strlen(name)) + L" not supported");
        EXPECT_EQ(boxes_[0].caption, L"Error");
        EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(renderer.library, nullptr);
        EXPECT_EQ(renderer.device, nullptr);
    }
}

TEST_F(RendererTest, VeryLongNameIsCutToTheMessageBuffer) {
    const std::string name(300, 'X');
    Renderer renderer(nullptr);
    EXPECT_EQ(renderer.CreateDevice(name.c_str()), E_FAIL);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text.size(), 255u);
    EXPECT_EQ(boxes_[0].text.substr(0, 8), L"API XXXX");
}

TEST_F(RendererTest, OpenGlNameLooksForItsOwnLibrary) {
    Renderer renderer(nullptr);
    EXPECT_EQ(renderer.CreateDevice("OPENGL"), E_FAIL);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, L"Loading EmberGL.dll failed!");
    EXPECT_EQ(renderer.library, nullptr);
}

TEST_F(RendererTest, RealLibraryCreatesADevice) {
    Renderer renderer(nullptr);
    ASSERT_EQ(renderer.CreateDevice("DIRECT3D"), S_OK);
    EXPECT_TRUE(boxes_.empty());
    ASSERT_NE(renderer.device, nullptr);
    EXPECT_NE(renderer.library, nullptr);
    EXPECT_EQ(renderer.device->drawFlag, 0);  // not open yet
    delete renderer.device;
}

// Runs the probe with only the given folder to find the library in.
std::string RunProbe(const std::string& libraryFolder) {
    const std::string command =
        "LD_LIBRARY_PATH=" + libraryFolder + " ./renderer_probe/renderer_probe DIRECT3D 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> chunk;
        while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) {
            output += chunk.data();
        }
        pclose(pipe);
    }
    return output;
}

TEST(RendererLoading, MissingLibraryShowsItsLoadFailure) {
    EXPECT_EQ(RunProbe("renderer_cases/none"),
              "box: Error|Loading EmberD3D.dll failed!|16\n"
              "result: 80004005\ndevice: null\nlibrary: null\n");
}

TEST(RendererLoading, LibraryWithoutTheExportStaysLoaded) {
    EXPECT_EQ(RunProbe("renderer_cases/no_export"),
              "box: Error|Failed to find DLL function|16\n"
              "result: 80004005\ndevice: null\nlibrary: loaded\n");
}

TEST(RendererLoading, FailingFactoryLeavesNoDevice) {
    EXPECT_EQ(RunProbe("renderer_cases/failing_factory"),
              "box: Error|Creation of the Render Device failed!|16\n"
              "result: 80004005\ndevice: null\nlibrary: loaded\n");
}

}  // namespace
