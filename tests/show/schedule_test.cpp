// The schedule: which rows run at each bound of their windows, what each
// frame draws in what order, and each row's calls on the device.
#include "show/Schedule.h"
#include "tests/show/ShowTestSupport.h"

#include <cmath>

namespace showtest {
namespace {

struct Stretch {
    float t;
    std::vector<int> rows;
};

// The rows that run at each bound, read from the show's running order.
const std::vector<Stretch> kStretches = {
    {0.0f, {15}},
    {4.0f, {1, 6, 15}},
    {22.0f, {1, 6, 7, 15}},
    {24.0f, {1, 6, 7, 12, 15}},
    {29.0f, {1, 3, 4, 6, 7, 12, 15}},
    {30.0f, {1, 3, 4, 6, 7, 12, 15}},
    {45.0f, {1, 3, 4, 7, 12, 15}},
    {50.0f, {3, 4, 12, 15}},
    {52.0f, {3, 4, 8, 12, 15}},
    {80.0f, {3, 4, 8, 12, 15}},
    {87.0f, {3, 8, 11, 12, 15}},
    {90.0f, {3, 8, 11, 12, 15}},
    {94.0f, {8, 11, 12, 15}},
    {97.0f, {2, 5, 8, 11, 12, 15}},
    {100.0f, {2, 5, 8, 11, 12, 15}},
    {106.0f, {2, 5, 8, 12, 13, 15}},
    {107.0f, {2, 5, 8, 12, 13, 14, 15}},
    {113.0f, {2, 5, 8, 14, 15}},
    {115.0f, {2, 5, 8, 10, 14, 15}},
    {120.0f, {2, 5, 8, 10, 14, 15}},
    {136.0f, {5, 8, 9, 10, 14, 15}},
    {144.0f, {5, 8, 9, 10, 14, 15}},
    {155.0f, {5, 9, 10, 14, 15}},
    {164.0f, {9, 10, 14, 15}},
    {170.0f, {9, 10, 14, 15}},
    {171.0f, {9, 10, 15}},
    {180.0f, {15}},
    {std::nextafter(180.0f, 200.0f), {}},
    // Just inside the open bounds.
    {std::nextafter(0.0f, 1.0f), {1, 15}},
    {std::nextafter(50.0f, 0.0f), {1, 3, 4, 12, 15}},
    {std::nextafter(94.0f, 0.0f), {3, 8, 11, 12, 15}},
};

// What each row draws, by buffer.
const std::map<int, std::vector<std::string>> kRowDraws = {
    {1, {"death"}},
    {2, {"tunnel", "tunnel"}},
    {3, {"waiting"}},
    {4, {"W0", "W1"}},
    {5, {"Q0"}},
    {6, {"nny"}},
    {7, {"vic"}},
    {8, {"nothing"}},
    {9, {"n", "n"}},
    {10, {"dream"}},
    {11, {"flourish", "flourish"}},
    {12, {}},
    {13, {}},
    {14, {}},
    {15, {"mask"}},
};

TEST(ScheduleTest, RowsRunExactlyInsideTheirWindows) {
    for (const Stretch& stretch : kStretches) {
        std::vector<int> rows;
        for (const ScheduleRow& row : kSchedule) {
            if (RowRunsAt(row, stretch.t)) {
                rows.push_back(row.number);
            }
        }
        EXPECT_EQ(rows, stretch.rows) << "t = " << stretch.t;
    }
}

using ScheduleFrameTest = ShowTest;

TEST_F(ScheduleFrameTest, EachFrameDrawsItsRowsInTableOrder) {
    for (const Stretch& stretch : kStretches) {
        if (stretch.t < 8.0f && stretch.t != std::floor(stretch.t)) {
            continue;  // not an exact count of the fake counter
        }
        FrameAt(stretch.t);
        std::vector<std::string> expected;
        for (int row : stretch.rows) {
            const std::vector<std::string>& draws = kRowDraws.at(row);
            expected.insert(expected.end(), draws.begin(), draws.end());
        }
        std::vector<std::string> drawn;
        for (const DrawSeen& draw : frameDraws_) {
            drawn.push_back(draw.what);
        }
        EXPECT_EQ(drawn, expected) << "t = " << stretch.t;
    }
}

// The device calls of each picture, tunnel and mask row, in order.
const std::string kRow1 =
    "fR fG fB fA World WVP tech:RenderTunnel begin pass draw:death /pass /begin";
const std::string kRow2 =
    "View fR fG fB fA fTime World WVP tech:RenderTunnel begin pass draw:tunnel /pass /begin "
    "fTime begin pass draw:tunnel /pass /begin";
const std::string kRow3 =
    "fR fG fB fA fTime fBassValue fPitchValue World WVP tech:RenderTunnel begin pass "
    "draw:waiting /pass /begin";
std::string RisingRow(const std::string& what) {
    return "fR fG fB fA fBassValue fPitchValue World WVP tech:RenderTunnel begin pass draw:" +
           what + " /pass /begin";
}
const std::string kRow9 =
    "fR fB fA fBassValue fPitchValue World WVP tech:RenderTunnel begin pass draw:n /pass /begin "
    "fA World WVP tech:RenderTunnel begin pass draw:n /pass /begin";
const std::string kRow11 =
    "fR fG fB fA fBassValue fPitchValue WVP World tech:RenderTunnel begin pass draw:flourish "
    "draw:flourish /pass /begin";
const std::string kRow15 = "World WVP tech:RenderMask begin pass draw:mask /pass /begin";
const std::string kFrameStart = "clear view frame fTime fBassValue fPitchValue ";

TEST_F(ScheduleFrameTest, EachRowSetsExactlyItsParametersInItsOrder) {
    FrameAt(29.0f);
    EXPECT_EQ(FrameWords(), kFrameStart + kRow1 + " " + kRow3 + " draw:W0 draw:W1 " +
                                RisingRow("nny") + " " + RisingRow("vic") + " " + kRow15 +
                                " /frame");
    FrameAt(98.0f);
    EXPECT_EQ(FrameWords(), kFrameStart + kRow2 + " draw:Q0 " + RisingRow("nothing") + " " +
                                kRow11 + " " + kRow15 + " /frame");
    FrameAt(150.0f);
    EXPECT_EQ(FrameWords(), kFrameStart + "draw:Q0 " + kRow9 + " " + RisingRow("dream") + " " +
                                kRow15 + " /frame");
}

}  // namespace
}  // namespace showtest
