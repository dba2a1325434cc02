// The pieces a capture writes with: PNG frames that read back as written
// and cost no allocation per frame, the writer's thread that takes every
// frame in order, and the progress line.
#include "app/capture/CaptureProgress.h"
#include "app/capture/CaptureWriter.h"
#include "app/capture/PngEncoder.h"
#include "app/capture/PngFolderSink.h"

#include <gtest/gtest.h>
#include <stb_image.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

// Counts heap allocations while g_counting is set. Sanitizer builds keep
// their own allocator and skip the count.
#if !defined(__SANITIZE_ADDRESS__)
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* __libc_realloc(void* p, std::size_t size);
#endif

namespace {

// Allocations on any thread count: the writer's included.
std::atomic<bool> g_counting = false;
std::atomic<int> g_allocations = 0;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

std::vector<std::uint8_t> Noise(std::size_t bytes, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> pixels(bytes);
    for (std::uint8_t& byte : pixels) {
        byte = static_cast<std::uint8_t>(random());
    }
    return pixels;
}

std::vector<std::uint8_t> Decode(const std::uint8_t* png, std::size_t size, int channels) {
    int width = 0, height = 0, found = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(png, static_cast<int>(size), &width, &height, &found, channels);
    EXPECT_NE(pixels, nullptr);
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    std::vector<std::uint8_t> decoded;
    if (pixels != nullptr) {
        decoded.assign(pixels, pixels + std::size_t(width) * height * channels);
        stbi_image_free(pixels);
    }
    return decoded;
}

TEST(PngEncoder, FramesReadBackAsTheyWereFromNoiseToFlat) {
    PngEncoder encoder(kWidth, kHeight, 3);
    const std::size_t bytes = std::size_t(kWidth) * kHeight * 3;
    // Noise does not compress: the encoder's worst case for its arena.
    for (const std::vector<std::uint8_t>& image :
         {Noise(bytes, 1), std::vector<std::uint8_t>(bytes, 40), Noise(bytes, 2)}) {
        std::size_t size = 0;
        const std::uint8_t* png = encoder.Encode(image.data(), &size);
        ASSERT_NE(png, nullptr);
        EXPECT_EQ(Decode(png, size, 3), image);
    }
}

TEST(PngFolderSink, WritesNumberedRgbFramesWithoutAllocatingPerFrame) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator is not counted";
#endif
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("hush_png_sink_" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    PngFolderSink sink((folder / "frames").string(), kWidth, kHeight);
    ASSERT_TRUE(sink.Open()) << sink.Error();
    CaptureProgress progress(STDERR_FILENO, false, 3);

    std::vector<std::uint8_t> rgba = Noise(std::size_t(kWidth) * kHeight * 4, 3);
    ASSERT_TRUE(sink.Write(rgba.data())) << sink.Error();
    g_counting = true;
    for (int frame = 1; frame < 3; ++frame) {
        rgba[0] = static_cast<std::uint8_t>(frame);
        const bool written = sink.Write(rgba.data());
        progress.Frame(frame + 1, 0.5f, 1.0);
        ASSERT_TRUE(written) << sink.Error();
    }
    g_counting = false;
    EXPECT_EQ(g_allocations, 0);

    const std::filesystem::path last = folder / "frames" / "frame_000002.png";
    std::ifstream file(last, std::ios::binary);
    const std::vector<std::uint8_t> png{std::istreambuf_iterator<char>(file), {}};
    const std::vector<std::uint8_t> rgb = Decode(png.data(), png.size(), 3);
    ASSERT_EQ(rgb.size(), std::size_t(kWidth) * kHeight * 3);
    EXPECT_EQ(rgb[0], 2);
    EXPECT_EQ(rgb[1], rgba[1]);
    EXPECT_EQ(rgb[3 * 1000 + 2], rgba[4 * 1000 + 2]);
    EXPECT_TRUE(std::filesystem::exists(folder / "frames" / "frame_000000.png"));
    std::filesystem::remove_all(folder);
}

TEST(PngFolderSink, AFileInTheWayIsReported) {
    const std::string path = "/tmp/hush_png_sink_file_" + std::to_string(getpid());
    std::ofstream(path) << "x";
    PngFolderSink sink(path, kWidth, kHeight);
    EXPECT_FALSE(sink.Open());
    EXPECT_NE(sink.Error().find(path), std::string::npos) << sink.Error();
    std::filesystem::remove(path);
}

// /dev/full takes no byte: every write fails as on a disk that filled up.
TEST(PngFolderSink, AFullDiskIsReported) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("hush_png_sink_full_" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    PngFolderSink sink(folder.string(), kWidth, kHeight);
    ASSERT_TRUE(sink.Open()) << sink.Error();
    std::filesystem::create_symlink("/dev/full", folder / "frame_000001.png");
    const std::vector<std::uint8_t> rgba = Noise(std::size_t(kWidth) * kHeight * 4, 4);
    EXPECT_TRUE(sink.Write(rgba.data())) << sink.Error();
    EXPECT_FALSE(sink.Write(rgba.data()));
    EXPECT_EQ(sink.Error(), "cannot write " + (folder / "frame_000001.png").string() +
                                ": No space left on device");
    std::filesystem::remove_all(folder);
}

// Notes the first byte of each frame it is given, slowly, and fails from
// frame failAt on.
class RecordingSink : public FrameSink {
public:
    explicit RecordingSink(int failAt = -1) : failAt_(failAt) { firsts.reserve(64); }
    bool Write(const std::uint8_t* rgba) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (static_cast<int>(firsts.size()) == failAt_) {
            error_ = "the disk is full";
            return false;
        }
        firsts.push_back(rgba[0]);
        return true;
    }
    bool Finish() override { return true; }

    std::vector<std::uint8_t> firsts;

private:
    int failAt_;
};

constexpr std::size_t kFrameBytes = 16;

TEST(CaptureWriter, EveryFrameReachesTheSinkInOrderWithoutAllocatingPerFrame) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator is not counted";
#endif
    RecordingSink sink;
    std::vector<float> clocks;
    clocks.reserve(64);
    CaptureWriter writer(sink, kFrameBytes, 2, [&clocks](std::int64_t written, float showClock) {
        EXPECT_EQ(written, static_cast<std::int64_t>(clocks.size()) + 1);
        clocks.push_back(showClock);
    });
    // The sink is slower than the frames come: the two buffers fill and the
    // render side waits instead of dropping a frame.
    g_counting = true;
    for (int frame = 0; frame < 40; ++frame) {
        std::uint8_t* pixels = writer.Next();
        ASSERT_NE(pixels, nullptr);
        pixels[0] = static_cast<std::uint8_t>(frame);
        writer.Queue(static_cast<float>(frame) * 0.5f);
    }
    // Closing right after the last frame still writes what waits.
    EXPECT_TRUE(writer.Close());
    g_counting = false;
    EXPECT_EQ(g_allocations, 0);
    EXPECT_EQ(writer.Written(), 40);
    ASSERT_EQ(sink.firsts.size(), 40u);
    ASSERT_EQ(clocks.size(), 40u);
    for (int frame = 0; frame < 40; ++frame) {
        EXPECT_EQ(sink.firsts[frame], frame);
        EXPECT_EQ(clocks[frame], static_cast<float>(frame) * 0.5f);
    }
}

TEST(CaptureWriter, AFailedSinkStopsTheFramesInsteadOfBlockingThem) {
    RecordingSink sink(3);
    CaptureWriter writer(sink, kFrameBytes, 2, nullptr);
    int handedOut = 0;
    while (std::uint8_t* pixels = writer.Next()) {
        pixels[0] = static_cast<std::uint8_t>(handedOut++);
        writer.Queue(0.0f);
        ASSERT_LT(handedOut, 100) << "the render side was never told";
    }
    EXPECT_GE(handedOut, 4);
    EXPECT_FALSE(writer.Close());
    EXPECT_FALSE(writer.Close());
    EXPECT_EQ(writer.Written(), 3);
    EXPECT_EQ(sink.Error(), "the disk is full");
    EXPECT_EQ(sink.firsts, (std::vector<std::uint8_t>{0, 1, 2}));
}

std::string Written(bool terminal) {
    int ends[2];
    EXPECT_EQ(pipe(ends), 0);
    {
        CaptureProgress progress(ends[1], terminal, 4);
        progress.Frame(1, 0.0f, 0.5);
        progress.Frame(2, 0.5f, 1.0);
        progress.Summary(4, 0.0f, 1.5f, "/tmp/out.mp4", 2.0);
    }
    close(ends[1]);
    std::string text;
    char buffer[1024];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, std::size_t(n));
    }
    close(ends[0]);
    return text;
}

TEST(CaptureProgress, ATerminalSeesOneLineUpdatedInPlaceOthersOnlyTheSummary) {
    const std::string summary =
        "hush: captured 4 frames (t 0.000 to 1.500 s) into /tmp/out.mp4 in 2.0 s "
        "(2.0 frames/s)\n";
    EXPECT_EQ(Written(false), summary);
    EXPECT_EQ(Written(true),
              "\rframe 1/4  t 0.000 s  2.0 frames/s  0:02 left\033[K"
              "\rframe 2/4  t 0.500 s  2.0 frames/s  0:01 left\033[K"
              "\r\033[K" +
                  summary);
}

}  // namespace

#if !defined(__SANITIZE_ADDRESS__)
extern "C" void* malloc(std::size_t size) {
    g_allocations += g_counting ? 1 : 0;
    return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count, std::size_t size) {
    g_allocations += g_counting ? 1 : 0;
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* p, std::size_t size) {
    g_allocations += g_counting ? 1 : 0;
    return __libc_realloc(p, size);
}
#endif
