// The show on a real X server with a window manager: fullscreen on a wide
// and on a tall screen (and once without a manager), a window opened
// centred, resized by the manager, ended by Escape; minimised and restored,
// and closed with its close box. Each screenshot must hold the frame
// letterboxed (black bars, the picture centred and as large as fits) and
// match the capture's frame at the same show time.
#include "tests/app/HushProcess.h"
#include "tests/desktop/FrameCheck.h"
#include "tests/desktop/XSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <thread>

namespace hushtest {
namespace {

using namespace std::chrono_literals;

// The show time of every screenshot: pictures and the mask, no particles.
constexpr const char* kShowTime = "10";
// Mean coarse difference to the capture: the same frame scores under 1, a
// frame cut off or out of place over 20.
constexpr double kSameFrame = 6.0;
// A bench stopped before its last frame (by SIGTERM or Escape).
constexpr int kBenchStopped = 4;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto giveUp = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

bool Near(const Rect& a, const Rect& b) {
    return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1 &&
           std::abs(a.x + a.width - b.x - b.width) <= 1 &&
           std::abs(a.y + a.height - b.y - b.height) <= 1;
}

Launch OnDisplay(const XSession& session, std::vector<std::string> arguments) {
    Launch launch;
    launch.arguments = std::move(arguments);
    launch.setVariables = {
        {"DISPLAY", session.Name()}, {"SDL_VIDEODRIVER", "x11"}, {"SDL_AUDIODRIVER", "dummy"}};
    launch.unsetVariables = {"WAYLAND_DISPLAY"};
    return launch;
}

// xdotool or wmctrl on the session's display; its standard output.
std::string Tool(const XSession& session, std::vector<std::string> arguments) {
    Launch launch = OnDisplay(session, {arguments.begin() + 1, arguments.end()});
    launch.program = arguments.front();
    launch.deadline = 30s;
    const Outcome outcome = RunHush(launch);
    EXPECT_EQ(outcome.exitCode, 0)
        << arguments.front() << " " << arguments[1] << ": " << outcome.err;
    return outcome.out;
}

unsigned long ShowWindow(const XSession& session) {
    const std::string id = Tool(session, {"xdotool", "search", "--sync", "--name", "^h u s h$"});
    return std::strtoul(id.c_str(), nullptr, 10);
}

// The show with its clock held at kShowTime, drawing into its window until
// stopped.
Child HeldShow(const XSession& session, const char* mode) {
    return StartHush(
        OnDisplay(session, {mode, "--bench", "--at", kShowTime, "--frames", "100000"}));
}

class DesktopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string folder = TempFile("desktop_reference");
        std::filesystem::remove(folder);
        Launch launch;
        launch.arguments = {"--capture", folder,    "--fps", "60",
                            "--from",    kShowTime, "--to",  kShowTime};
        launch.unsetVariables = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
        const Outcome outcome = RunHush(launch);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        reference_ = ReadPng(folder + "/frame_000000.png");
        std::filesystem::remove_all(folder);
    }

    void SetUp() override { ASSERT_EQ(reference_.width, 1024) << "no reference capture"; }

    std::unique_ptr<XSession> StartSession(int width, int height, bool withManager = true) {
        std::string failure;
        std::unique_ptr<XSession> session = XSession::Start(width, height, withManager, &failure);
        EXPECT_NE(session, nullptr) << failure;
        return session;
    }

    // Waits until the image shows the frame where it belongs, then checks it
    // fully; what was grabbed last is judged when that never happens.
    void ExpectLetterboxed(const XSession& session, unsigned long window, const char* what) {
        Image shot;
        Rect expected;
        Rect found;
        WaitFor(
            [&] {
                shot = session.Grab(window);
                expected = ExpectedFrame(shot.width, shot.height);
                found = PictureBounds(shot);
                return shot.width > 0 && Near(found, expected) &&
                       LitPixelsOutside(shot, expected) == 0;
            },
            20s);
        ASSERT_GT(shot.width, 0) << what << ": nothing to grab";
        const double difference = CoarseDifference(shot, expected, reference_);
        std::cout << what << ": " << shot.width << "x" << shot.height << ", frame "
                  << Describe(found) << " (expected " << Describe(expected)
                  << "), difference to the capture " << difference << std::endl;
        EXPECT_TRUE(Near(found, expected))
            << what << ": picture at " << Describe(found) << ", expected " << Describe(expected);
        EXPECT_EQ(LitPixelsOutside(shot, expected), 0) << what << ": the bars are not black";
        EXPECT_LT(difference, kSameFrame) << what << ": not the capture's frame";
    }

    static Image reference_;
};

Image DesktopTest::reference_;

struct ScreenSize {
    int width, height;
};

struct Screen {
    int width, height;
    bool withManager;
};

std::string ScreenName(const Screen& screen) {
    return std::to_string(screen.width) + "x" + std::to_string(screen.height) +
           (screen.withManager ? "" : "WithoutWindowManager");
}

void PrintTo(const Screen& screen, std::ostream* out) {
    *out << ScreenName(screen);
}

class DesktopFullscreenTest : public DesktopTest, public ::testing::WithParamInterface<Screen> {};

TEST_P(DesktopFullscreenTest, CoversTheScreenWithTheFrameCentredBetweenBlackBars) {
    const Screen screen = GetParam();
    const std::unique_ptr<XSession> session =
        StartSession(screen.width, screen.height, screen.withManager);
    ASSERT_NE(session, nullptr);
    Child show = HeldShow(*session, "--fullscreen");
    const unsigned long window = ShowWindow(*session);
    ASSERT_NE(window, 0ul);
    EXPECT_TRUE(WaitFor(
        [&] {
            const Rect placed = session->Geometry(window);
            return placed.x == 0 && placed.y == 0 && placed.width == screen.width &&
                   placed.height == screen.height;
        },
        10s))
        << "window at " << Describe(session->Geometry(window));
    const std::string what = "fullscreen " + ScreenName(screen);
    ExpectLetterboxed(*session, session->Root(), what.c_str());
    show.Signal(SIGTERM);
    const Outcome outcome = show.Wait(30s);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, kBenchStopped) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(Screens, DesktopFullscreenTest,
                         ::testing::Values(Screen{1600, 900, true}, Screen{1280, 1024, true},
                                           Screen{1600, 900, false}),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                             return ScreenName(info.param);
                         });

TEST_F(DesktopTest, AWindowResizedByTheManagerKeepsTheFrameLetterboxed) {
    const std::unique_ptr<XSession> session = StartSession(1600, 900);
    ASSERT_NE(session, nullptr);
    Child show = HeldShow(*session, "--windowed");
    const unsigned long window = ShowWindow(*session);
    ASSERT_NE(window, 0ul);
    const std::string id = std::to_string(window);
    for (const ScreenSize size :
         {ScreenSize{800, 600}, ScreenSize{1000, 500}, ScreenSize{500, 700}}) {
        Tool(*session, {"xdotool", "windowsize", id, std::to_string(size.width),
                        std::to_string(size.height)});
        EXPECT_TRUE(WaitFor(
            [&] {
                const Rect placed = session->Geometry(window);
                return placed.width == size.width && placed.height == size.height;
            },
            10s))
            << "window at " << Describe(session->Geometry(window));
        const std::string what =
            "window " + std::to_string(size.width) + "x" + std::to_string(size.height);
        ExpectLetterboxed(*session, window, what.c_str());
    }
    // Escape, typed into the focused window, ends it.
    Tool(*session, {"xdotool", "windowactivate", "--sync", id});
    Tool(*session, {"xdotool", "key", "Escape"});
    const Outcome outcome = show.Wait(30s);
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, kBenchStopped) << outcome.err;
}

// The show clock of the trace's last whole frame line; -1 before the first.
double LastShowTime(const std::string& trace) {
    const std::size_t end = trace.rfind('\n');
    if (end == std::string::npos) {
        return -1.0;
    }
    const std::size_t line = trace.rfind("{\"frame\":", end);
    if (line == std::string::npos) {
        return -1.0;
    }
    const std::size_t t = trace.find("\"t\":", line);
    return t != std::string::npos ? std::strtod(trace.c_str() + t + 4, nullptr) : -1.0;
}

// Every frame's show clock, in order.
std::vector<double> ShowTimes(const std::string& trace) {
    std::vector<double> times;
    for (std::size_t line = trace.find("{\"frame\":"); line != std::string::npos;
         line = trace.find("{\"frame\":", line + 1)) {
        const std::size_t t = trace.find("\"t\":", line);
        times.push_back(std::strtod(trace.c_str() + t + 4, nullptr));
    }
    return times;
}

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

TEST_F(DesktopTest, MinimisedTheShowGoesOnItsClockAndTheCloseBoxEndsIt) {
    const std::unique_ptr<XSession> session = StartSession(1600, 900);
    ASSERT_NE(session, nullptr);
    const std::string trace = TempFile("desktop_trace");
    Child show = StartHush(OnDisplay(*session, {"--windowed", "--trace", trace}));
    const unsigned long window = ShowWindow(*session);
    ASSERT_NE(window, 0ul);
    const std::string id = std::to_string(window);
    ASSERT_TRUE(WaitFor([&] { return LastShowTime(ReadFile(trace)) > 1.0; }, 30s))
        << "the show does not run";
    // 1024x768 with its frame, centred on the screen.
    const Rect framed = session->Framed(window);
    EXPECT_EQ(Describe(framed), "1024x768+288+66");

    const double before = LastShowTime(ReadFile(trace));
    const auto minimisedAt = std::chrono::steady_clock::now();
    Tool(*session, {"xdotool", "windowminimize", id});
    EXPECT_TRUE(WaitFor([&] { return !session->Viewable(window); }, 10s)) << "not minimised";
    std::this_thread::sleep_for(2s);
    const double minimised = LastShowTime(ReadFile(trace));
    Tool(*session, {"xdotool", "windowactivate", id});
    EXPECT_TRUE(WaitFor([&] { return session->Viewable(window); }, 10s)) << "not restored";
    std::this_thread::sleep_for(1s);
    const double after = LastShowTime(ReadFile(trace));
    const double wall = Seconds(std::chrono::steady_clock::now() - minimisedAt);
    std::cout << "show clock " << before << " s before minimising, " << minimised
              << " s after 2 s minimised, " << after << " s after restoring; " << wall
              << " s went by" << std::endl;
    EXPECT_GT(minimised - before, 1.5) << "frames stopped while minimised";
    // The frame lines lag by a frame or two (llvmpipe: under 0.1 s each).
    EXPECT_NEAR(after - before, wall, 0.5) << "the clock did not follow the time";

    Tool(*session, {"wmctrl", "-i", "-c", id});
    const Outcome outcome = show.Wait(30s);
    EXPECT_TRUE(outcome.exited) << "not ended by the close box";
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "");
    const std::vector<double> times = ShowTimes(ReadFile(trace));
    std::remove(trace.c_str());
    ASSERT_FALSE(times.empty());
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end())) << "the show clock went back";
}

}  // namespace
}  // namespace hushtest
