// One frame of the show: its order of work, a frame that cannot begin, a
// device that does not draw, the end of the show, the frame-line hook, and
// the shutdown hook.
#include "tests/show/ShowTestSupport.h"

#include <cmath>

namespace showtest {
namespace {

using FrameTest = ShowTest;

TEST_F(FrameTest, BeginsSetsTheInputsRunsTheRowsAndEnds) {
    ASSERT_EQ(FrameAt(2.0f), 0);
    EXPECT_EQ(FrameWords(),
              "clear view frame fTime fBassValue fPitchValue "
              "fR fG fB fA World WVP tech:RenderTunnel begin pass draw:death /pass /begin "
              "World WVP tech:RenderMask begin pass draw:mask /pass /begin /frame");
    const RecordedCall& clear = frameCalls_.at(0);
    EXPECT_EQ(clear.floats, (std::vector<float>{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(frameCalls_.at(1).ints, (std::vector<int>{0, 0}));
    EXPECT_EQ(frameCalls_.at(2).ints, (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(FloatsSet("fTime"), std::vector<float>{2.0f});
    EXPECT_TRUE(Window().Running());
}

TEST_F(FrameTest, EveryDrawAsksForTheBufferManagerFirst) {
    FrameAt(98.0f);
    int draws = 0;
    for (std::size_t i = 0; i < frameCalls_.size(); ++i) {
        if (frameCalls_[i].call == "RenderStaticBuffer") {
            ++draws;
            ASSERT_GT(i, 0u);
            EXPECT_EQ(frameCalls_[i - 1].call, "GetBufferManager");
            EXPECT_EQ(frameCalls_[i].ints, std::vector<int>{1});
        }
    }
    EXPECT_EQ(draws, 2 + 1 + 1 + 2 + 1);  // tunnel twice, Q, nothing, flourish twice, mask
}

TEST_F(FrameTest, TheFrameInputsCarryTheNewMusicValues) {
    g_fftLevel = 0.25f;
    FrameAt(10.0f, 0.5f, 0.75f, 1.0f);
    const float* s = g_analyser->spectrum;
    float bass = 0.5f;
    for (int i = 0; i <= 7; ++i) {
        bass += s[i];
    }
    bass *= 0.125f;
    float pitch = 0.75f;
    for (int i = 24; i <= 47; ++i) {
        pitch += s[i];
    }
    pitch /= 24.0f;
    EXPECT_EQ(g_show.bassValue, bass);
    EXPECT_EQ(g_show.pitchValue, pitch);
    EXPECT_EQ(FloatsSet("fBassValue").at(0), bass);
    EXPECT_EQ(FloatsSet("fPitchValue").at(0), pitch);
}

TEST_F(FrameTest, AFrameThatCannotBeginShowsABoxAndEndsNothing) {
    device_.FailFrom("BeginFrame", 1);
    EXPECT_EQ(FrameAt(181.0f, 8.0f), static_cast<int>(0x80004005));
    EXPECT_EQ(FrameWords(), "clear view frame");
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, L"RenderDevice: Begin Rendering Failed!");
    EXPECT_EQ(g_boxes[0].caption, L"Error");
    EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_ICONERROR));
    // The clock and music values were updated; the show goes on.
    EXPECT_EQ(g_show.bassValue, 1.0f);
    EXPECT_TRUE(Window().Running());

    FrameAt(181.0f);
    EXPECT_EQ(g_boxes.size(), 2u);
}

TEST_F(FrameTest, WithoutTheDrawFlagNothingIsSetYetTheMusicValuesAdvance) {
    device_.drawFlag = 0;
    g_fftLevel = 0.5f;
    FrameAt(50.0f);
    EXPECT_EQ(FrameWords(), "clear view frame /frame");
    const float first = g_show.bassValue;
    EXPECT_GT(first, 0.0f);
    g_count += kCountsPerSecond;
    Window().OnFrame();
    EXPECT_GT(g_show.bassValue, first);
}

TEST_F(FrameTest, TheShowEndsInTheFirstFrameAfter180Seconds) {
    FrameAt(180.0f);
    EXPECT_NE(FrameWords().find("draw:mask"), std::string::npos);
    EXPECT_TRUE(Window().Running());

    const float justAfter = std::nextafter(180.0f, 200.0f);
    FrameAt(justAfter);
    EXPECT_EQ(FrameWords(), "clear view frame fTime fBassValue fPitchValue /frame");
    EXPECT_FALSE(Window().Running());
}

TEST_F(FrameTest, TheDefaultCameraIsSetBeforeTheRows) {
    FrameAt(2.0f);
    const DrawSeen death = DrawsOf("death").at(0);
    const Matrix4 world = death.matrices.at("World");
    EXPECT_TRUE(
        SameBits(death.matrices.at("WVP"),
                 Product(Product(world, LookAt(0.0f, 0.0f, 20.0f)), Projection(1.5707964f))));
}

float g_hookBass = 0.0f;
int g_hookBins = 0;
std::size_t g_hookCallsBefore = 0;
const CRecordingRenderDevice* g_hookDevice = nullptr;

TEST_F(FrameTest, TheFrameLineHookSeesTheNewMusicValuesBeforeAnyDrawing) {
    g_hookDevice = &device_;
    g_frameLineHook = [](const float*, int binCount) {
        g_hookBass = g_show.bassValue;
        g_hookBins = binCount;
        g_hookCallsBefore = g_hookDevice->Calls().size();
    };
    const std::size_t before = device_.Calls().size();
    FrameAt(10.0f, 4.0f);
    EXPECT_EQ(g_hookBass, 0.5f);
    EXPECT_EQ(g_hookBins, 1024);
    EXPECT_EQ(g_hookCallsBefore, before);
}

TEST_F(FrameTest, ShutdownFreesTheAnalyserBuffersAndTheTunnelArrays) {
    CSpectrumAnalyser* analyser = g_analyser;
    float* const spectrum = analyser->spectrum;
    float* const work = analyser->work;
    CSpectrumAnalyser stand;
    stand.spectrum = new float[4]();
    g_analyser = &stand;
    EXPECT_EQ(Window().OnShutdown(), 0);
    EXPECT_EQ(stand.spectrum, nullptr);
    EXPECT_EQ(stand.work, nullptr);
    EXPECT_EQ(g_analyser, nullptr);
    EXPECT_EQ(g_tunnelEffect.vertices, nullptr);
    EXPECT_EQ(g_tunnelEffect.indices, nullptr);
    g_analyser = analyser;
    EXPECT_EQ(analyser->spectrum, spectrum);
    EXPECT_EQ(analyser->work, work);
}

}  // namespace
}  // namespace showtest
