// The picture, tunnel and mask rows: the exact values each draw sees, with
// given music values, computed here in 32-bit floats.
#include "tests/show/ShowTestSupport.h"

#include <cmath>

namespace showtest {
namespace {

// Music values that come out of a silent frame exactly.
constexpr float kB = 0.375f;
constexpr float kP = 0.0625f;
constexpr float kU = 0.25f;

class PictureRowsTest : public ShowTest {
protected:
    void FrameAt(float t) { FrameWithMusicAt(t, kB, kP, kU); }

    static void ExpectPlaced(const DrawSeen& draw, const Matrix4& world, const Matrix4& view,
                             const Matrix4& projection) {
        EXPECT_TRUE(SameBits(draw.matrices.at("World"), world)) << draw.what;
        EXPECT_TRUE(SameBits(draw.matrices.at("WVP"), Product(Product(world, view), projection)))
            << draw.what;
    }
};

const Matrix4 kP45 = Projection(0.7853982f);
const Matrix4 kP60 = Projection(1.0471976f);
const Matrix4 kP90 = Projection(1.5707964f);

TEST_F(PictureRowsTest, Row1DriftsUnderTheDefaultCameraWithTheBassAsBlue) {
    const float t = 10.0f;
    FrameAt(t);
    const DrawSeen draw = DrawsOf("death").at(0);
    EXPECT_EQ(draw.technique, "RenderTunnel");
    EXPECT_EQ(draw.floats.at("fR"), 1.0f);
    EXPECT_EQ(draw.floats.at("fG"), 1.0f);
    EXPECT_EQ(draw.floats.at("fB"), kB);
    EXPECT_EQ(draw.floats.at("fA"), 2.0f * (0.25f * std::sin(0.1f * t) + 5.0f * kP));
    ExpectPlaced(draw,
                 Translation(5.0f * std::cos(0.05f * t) - 5.0f, 0.0f, 5.0f * std::sin(0.025f * t)),
                 LookAt(0.0f, 0.0f, 20.0f), kP90);
}

TEST_F(PictureRowsTest, Row2FadesTheTunnelAndRunsTheClockBackwardsInItsSecondPass) {
    struct Fade {
        float t;
        float fA;
    };
    const Fade fades[] = {
        {97.0f, 0.5f},
        {100.0f, 0.5f * std::sin(0.1f * 3.0f)},
        {107.0f, 0.5f},
        {110.0f, 0.5f},
        {113.0f, 0.5f},
        {116.0f, 0.5f * (1.0f - std::sin(0.2f * 3.0f))},
        {120.0f, 0.5f * (1.0f - std::sin(0.2f * 7.0f))},
    };
    for (const Fade& fade : fades) {
        FrameAt(fade.t);
        const std::vector<DrawSeen> draws = DrawsOf("tunnel");
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_EQ(draws[0].floats.at("fA"), fade.fA) << fade.t;
        EXPECT_EQ(draws[0].floats.at("fTime"), fade.t);
        EXPECT_EQ(draws[1].floats.at("fTime"), -fade.t);
        EXPECT_EQ(draws[0].floats.at("fB"), 1.0f);
        EXPECT_TRUE(SameBits(draws[0].matrices.at("View"), LookAt(8.0f, -3.0f, 10.0f)));
        ExpectPlaced(draws[0], RotationZ(0.1f * fade.t), LookAt(8.0f, -3.0f, 10.0f), kP45);
        ExpectPlaced(draws[1], RotationZ(0.1f * fade.t), LookAt(8.0f, -3.0f, 10.0f), kP45);
    }
    EXPECT_NEAR(fades[6].fA, 0.0073f, 0.0001f);
}

TEST_F(PictureRowsTest, Row3TintsWithTheUpperBandAndStretchesThePicture) {
    const float t = 50.0f;
    FrameAt(t);
    const DrawSeen draw = DrawsOf("waiting").at(0);
    EXPECT_EQ(draw.floats.at("fB"), kU + kP);
    EXPECT_EQ(draw.floats.at("fA"), 0.25f * std::sin(0.05f * (t - 29.0f)) + 4.0f * kP);
    EXPECT_EQ(draw.floats.at("fTime"), t);
    EXPECT_EQ(draw.floats.at("fBassValue"), kB);
    EXPECT_EQ(draw.floats.at("fPitchValue"), 1.5f * kP);
    Matrix4 stretch;
    D3DXMatrixScaling(&stretch, 1.0f, 1.25f, 1.0f);
    const Matrix4 place = Translation(3.0f - 5.0f * std::cos(0.03f * (t - 25.0f)), -5.0f,
                                      5.0f * std::sin(0.025f * (t - 29.0f)) - 11.0f);
    ExpectPlaced(draw, Product(place, stretch), LookAt(0.0f, 0.0f, 25.0f), kP60);
}

TEST_F(PictureRowsTest, RisingPicturesFadeInAndLiftWithThePitch) {
    struct Rising {
        const char* what;
        float t;
        float start;
        float blue;
        float lift;
        float eye;
    };
    const Rising rows[] = {
        {"nny", 10.0f, 4.0f, 0.0f, 0.75f, 20.0f},
        {"vic", 30.0f, 22.0f, kP, 4.75f, 20.0f},
        {"nothing", 60.0f, 52.0f, 0.0f, 4.75f, 25.0f},
    };
    for (const Rising& row : rows) {
        FrameAt(row.t);
        const DrawSeen draw = DrawsOf(row.what).at(0);
        EXPECT_EQ(draw.floats.at("fB"), row.blue) << row.what;
        EXPECT_EQ(draw.floats.at("fA"), std::sin(0.2f * (row.t - row.start)) + kP) << row.what;
        EXPECT_EQ(draw.floats.at("fPitchValue"), 1.5f * kP);
        ExpectPlaced(
            draw, Translation(0.0f, row.lift * kP, 5.0f * std::sin(0.025f * (row.t - row.start))),
            LookAt(0.0f, 0.0f, row.eye), kP90);
    }
}

TEST_F(PictureRowsTest, Row10IsThePortraitFarAwayOnTheRight) {
    const float t = 130.0f;
    FrameAt(t);
    const DrawSeen draw = DrawsOf("dream").at(0);
    EXPECT_EQ(draw.floats.at("fB"), std::sin(0.05f * (t - 115.0f)) + kP);
    EXPECT_EQ(draw.floats.at("fA"), 0.25f * std::sin(0.2f * (t - 115.0f)));
    ExpectPlaced(draw, Translation(12.0f, 0.75f * kP, 5.0f * std::cos(0.025f * (t - 115.0f))),
                 LookAt(0.0f, 0.0f, 55.0f), kP45);
}

TEST_F(PictureRowsTest, Row9SecondCopyTurnsRecedesAndFadesWithThePitch) {
    for (const float t : {150.0f, 164.0f}) {
        FrameAt(t - 1.0f);
        FrameAt(t);
        const std::vector<DrawSeen> draws = DrawsOf("n");
        ASSERT_EQ(draws.size(), 2u);
        const float s = std::sin(0.025f * (t - 136.0f));
        EXPECT_EQ(draws[0].floats.at("fA"), std::sin(0.2f * (t - 136.0f)) + kP);
        EXPECT_EQ(draws[0].floats.at("fB"), std::sin(0.05f * (t - 136.0f)) + 3.0f * kP);
        EXPECT_EQ(draws[0].floats.at("fG"), 1.0f);  // left by row 10 of the frame before
        ExpectPlaced(draws[0], Translation(0.0f, 8.75f * kP, 5.0f * s), LookAt(0.0f, 0.0f, 25.0f),
                     kP90);
        const Matrix4 turn = RotationZ(8.75f * kP * 0.31415927f + 0.03926991f);
        const Matrix4 place = Translation(0.0f, 5.0f * kP, 5.0f * s - 78.75f * kP + 3.0f);
        ExpectPlaced(draws[1], Product(turn, place), LookAt(0.0f, 0.0f, 25.0f), kP90);
        EXPECT_EQ(draws[1].floats.at("fA"), t == 164.0f ? 1.0f : 1.0f - 8.75f * kP);
    }
    FrameAt(171.0f);
    EXPECT_EQ(DrawsOf("n").at(1).floats.at("fA"), 1.0f - std::sin(0.2f * 7.0f));
}

TEST_F(PictureRowsTest, Row11OrbitsAndSwitchesItsFadeAt90) {
    for (const float t : {89.9f, 90.0f}) {
        FrameAt(t);
        const std::vector<DrawSeen> draws = DrawsOf("flourish");
        ASSERT_EQ(draws.size(), 2u);
        const float since = t - 87.0f;
        EXPECT_EQ(draws[0].floats.at("fA"), t < 90.0f ? std::cos(0.3f * since) : 2.0f * kP);
        EXPECT_EQ(draws[0].floats.at("fB"), 4.0f * kP * std::sin(0.05f * since));
        const Matrix4 move = Translation(3.0f * std::cos(0.1f * since), 0.0f,
                                         5.0f - 5.0f * std::sin(0.025f * since));
        const Matrix4 orbit = Product(move, RotationZ(0.05f * since));
        EXPECT_TRUE(SameBits(draws[0].matrices.at("World"), move));
        EXPECT_TRUE(SameBits(draws[0].matrices.at("WVP"),
                             Product(Product(orbit, LookAt(0.0f, 0.0f, 21.0f)), kP45)));
    }
    FrameAt(std::nextafter(90.0f, 0.0f));
    EXPECT_NEAR(DrawsOf("flourish").at(0).floats.at("fA"), 0.6216f, 0.0001f);
}

TEST_F(PictureRowsTest, WhileTheTunnelRunsTheLaterRowsSeeTheClockBackwards) {
    for (const float t : {98.0f, 116.0f}) {
        FrameAt(t);
        for (const DrawSeen& draw : frameDraws_) {
            if (draw.what == "nothing" || draw.what == "flourish" || draw.what == "dream" ||
                draw.what == "mask") {
                EXPECT_EQ(draw.floats.at("fTime"), -t) << draw.what << " at " << t;
            }
        }
    }
    FrameAt(121.0f);
    EXPECT_EQ(DrawsOf("nothing").at(0).floats.at("fTime"), 121.0f);
    EXPECT_EQ(DrawsOf("mask").at(0).floats.at("fTime"), 121.0f);
}

TEST_F(PictureRowsTest, TheMaskCoversTheViewWithTheColourTheLastPictureLeft) {
    FrameAt(10.0f);
    const DrawSeen nny = DrawsOf("nny").at(0);
    const DrawSeen mask = DrawsOf("mask").at(0);
    EXPECT_EQ(mask.technique, "RenderMask");
    EXPECT_EQ(mask.floats.at("fA"), nny.floats.at("fA"));
    EXPECT_EQ(mask.floats.at("fB"), nny.floats.at("fB"));
    ExpectPlaced(mask, Translation(0.0f, 1.0f, -42.0f), LookAt(0.0f, 0.0f, 1.0f), kP45);
}

TEST_F(PictureRowsTest, ATunnelWithoutBufferIsNotDrawnButItsRowStillSetsItsParameters) {
    device_.FailFrom("CreateStaticBuffer", 1);
    SetUpTunnel(&device_);
    ASSERT_FALSE(g_tunnelEffect.HasBuffer());
    FrameAt(100.0f);
    EXPECT_TRUE(DrawsOf("tunnel").empty());
    for (const RecordedCall& call : frameCalls_) {
        if (call.call == "RenderStaticBuffer") {
            EXPECT_NE(call.buffer, 0u);
        }
    }
    EXPECT_EQ(FloatsSet("fTime"), (std::vector<float>{100.0f, 100.0f, -100.0f}));
    EXPECT_EQ(DrawsOf("nothing").at(0).floats.at("fTime"), -100.0f);
}

}  // namespace
}  // namespace showtest
