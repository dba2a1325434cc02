// What is checked before the decoder trusts a picture file: only JPEG, PNG
// and TGA go through, a PNG chunk claiming more than the file holds refuses
// the picture, and so does a JPEG or TGA far too small for its own header.
#include "platform/d3d9/picture_checks.h"

#include "d3d9_test_files.h"

#include <gtest/gtest.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File Open(const std::string& path) {
    return File(std::fopen(path.c_str(), "rb"), &std::fclose);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a check from the middle of the file, which must be left there.
bool PassesAndKeepsPosition(bool (*check)(std::FILE*), const std::string& path) {
    File file = Open(path);
    EXPECT_TRUE(file);
    EXPECT_EQ(std::fseek(file.get(), 3, SEEK_SET), 0);
    const bool passed = check(file.get());
    EXPECT_EQ(std::ftell(file.get()), 3) << path;
    return passed;
}

bool FitsAndKeepsPosition(const std::string& path) {
    return PassesAndKeepsPosition(&PngChunksFitTheFile, path);
}

bool IsTakenAndKeepsPosition(const std::string& path) {
    return PassesAndKeepsPosition(&IsJpegPngOrTga, path);
}

bool DecoderReads(const std::string& path) {
    int width = 0, height = 0, channels = 0;
    return stbi_info(path.c_str(), &width, &height, &channels) != 0;
}

// A 16 x 5 PNG whose second IDAT chunk claims 1.5 GB in a 246-byte file.
const unsigned char kOverlongIdat[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x05, 0x08, 0x00, 0x00, 0x00, 0x00, 0x4e, 0x8c, 0x62,
    0x5d, 0x00, 0x00, 0x00, 0x09, 0x70, 0x48, 0x59, 0x73, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00,
    0x01, 0x00, 0x4f, 0x25, 0xc4, 0xd6, 0x00, 0x00, 0x00, 0x44, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c,
    0x63, 0x60, 0x60, 0xf0, 0xf1, 0x99, 0x96, 0x29, 0x2b, 0xfb, 0xe8, 0xd1, 0xb4, 0x69, 0x9b, 0x37,
    0xff, 0xff, 0xcf, 0x00, 0x12, 0xc8, 0x84, 0x0a, 0xf8, 0x40, 0x05, 0x36, 0xc3, 0x05, 0x7c, 0xc0,
    0x02, 0x9b, 0x91, 0x04, 0x18, 0x68, 0x24, 0xe0, 0x5d, 0x00, 0x00, 0x00, 0x09, 0x70, 0x48, 0x59,
    0x73, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00, 0x01, 0x00, 0x4f, 0x25, 0xc4, 0xd6, 0x00, 0x00,
    0x00, 0xe0, 0x41, 0x06, 0x00, 0x30, 0x60, 0x00, 0x00, 0x44, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c,
    0x63, 0x60, 0x60, 0xf0, 0xf1, 0x99, 0x96, 0x29, 0x2b, 0xfb, 0xe8, 0xd1, 0xb4, 0x69, 0x9b, 0x37,
    0xff, 0xff, 0xcf, 0x00, 0x12, 0xc8, 0x84, 0x0a, 0xf8, 0x40, 0x05, 0x36, 0xc3, 0x05, 0x7c, 0xc0,
    0x02, 0x9b, 0x91, 0x04, 0x18, 0x68, 0x24, 0xe0, 0xd3, 0xba, 0xf7, 0xc6, 0x9e, 0xf9, 0x73, 0x57,
    0x6c, 0xae, 0x72, 0x52, 0x77, 0x4e, 0x48, 0x0a, 0xc7, 0x14, 0x40, 0x77, 0xd3, 0xba, 0xf7, 0xc6,
    0x9e, 0xf9, 0x73, 0x57, 0x6c, 0xae, 0x72, 0x52, 0x77, 0x4e, 0x48, 0x0a, 0xc7, 0x14, 0x40, 0x77,
    0x29, 0x00, 0xf5, 0x47, 0x58, 0x9f, 0xa9, 0x98, 0xb3, 0x78, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45,
    0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

TEST(PngChunks, AChunkLongerThanTheRestOfTheFileIsRefused) {
    const std::string overlong = d3d9test::WriteTextFile(
        "overlong.png", std::string(std::begin(kOverlongIdat), std::end(kOverlongIdat)));
    EXPECT_FALSE(FitsAndKeepsPosition(overlong));

    // A whole picture fits; cut inside its pixel data it does not.
    const std::string whole =
        d3d9test::WriteImage("whole.png", 9, 7, std::vector<std::uint32_t>(63, 0x336699FF));
    EXPECT_TRUE(FitsAndKeepsPosition(whole));
    const std::string bytes = ReadAll(whole);
    const std::string cut =
        d3d9test::WriteTextFile("cut.png", bytes.substr(0, bytes.find("IEND") - 12));
    EXPECT_FALSE(FitsAndKeepsPosition(cut));
}

TEST(PngChunks, OtherFilesAndBytesAfterTheEndPass) {
    const std::string whole =
        d3d9test::WriteImage("trailing.png", 4, 4, std::vector<std::uint32_t>(16, 0xFF0000FF));
    // Whatever follows IEND is never read, however long it claims to be.
    const std::string trailing =
        d3d9test::WriteTextFile("trailing_junk.png", ReadAll(whole) + "\xff\xff\xff\xffjunk");
    EXPECT_TRUE(FitsAndKeepsPosition(trailing));
    EXPECT_TRUE(FitsAndKeepsPosition(
        d3d9test::WriteImage("plain.tga", 2, 2, std::vector<std::uint32_t>(4, 0))));
    EXPECT_TRUE(FitsAndKeepsPosition(d3d9test::WriteTextFile("short.png", "\x89PN")));
}

TEST(PictureFormats, OnlyJpegPngAndTgaReachTheDecoder) {
    const std::vector<std::uint32_t> pixels(4, 0x20406080);
    for (const char* name : {"taken.png", "taken.jpg", "taken.tga"}) {
        EXPECT_TRUE(IsTakenAndKeepsPosition(d3d9test::WriteImage(name, 2, 2, pixels))) << name;
    }
    // The decoder reads these, but they are refused: a Radiance HDR of the
    // largest allowed size would decode to a gigabyte of floats.
    const float rgb[12] = {};
    const std::string hdr = d3d9test::TestPath("refused.hdr");
    ASSERT_NE(stbi_write_hdr(hdr.c_str(), 2, 2, 3, rgb), 0);
    const std::string bmp = d3d9test::TestPath("refused.bmp");
    ASSERT_NE(stbi_write_bmp(bmp.c_str(), 2, 2, 4, pixels.data()), 0);
    for (const std::string& path : {hdr, bmp}) {
        EXPECT_TRUE(DecoderReads(path)) << path;
        EXPECT_FALSE(IsTakenAndKeepsPosition(path)) << path;
    }
    EXPECT_FALSE(IsTakenAndKeepsPosition(d3d9test::WriteTextFile("one_byte.tga", "x")));
}

bool CouldHoldAndKeepsPosition(const std::string& path, long long pixels) {
    File file = Open(path);
    EXPECT_TRUE(file);
    EXPECT_EQ(std::fseek(file.get(), 3, SEEK_SET), 0);
    const bool passed = PixelsCouldBeInTheFile(file.get(), pixels);
    EXPECT_EQ(std::ftell(file.get()), 3) << path;
    return passed;
}

constexpr long long kLargestPicture = 16384LL * 4096;

// An uncompressed 8-bit grey TGA header claiming 16384 x 4096, and a few
// bytes of pixels: what a fuzzer found to cost seconds and hundreds of MB.
std::string HugeGreyTga() {
    std::string bytes(18, '\0');
    bytes[2] = 3;
    bytes[13] = 0x40;  // width 16384
    bytes[15] = 0x10;  // height 4096
    bytes[16] = 8;
    return bytes + std::string(25, '\x1d');
}

TEST(PicturePixels, AHeaderClaimingFarMoreThanTheFileHoldsIsRefused) {
    EXPECT_FALSE(CouldHoldAndKeepsPosition(d3d9test::WriteTextFile("huge.tga", HugeGreyTga()),
                                           kLargestPicture));
    const std::string jpeg =
        d3d9test::WriteImage("small.jpg", 32, 32, std::vector<std::uint32_t>(1024, 0x336699FF));
    EXPECT_TRUE(CouldHoldAndKeepsPosition(jpeg, 32 * 32));
    EXPECT_FALSE(CouldHoldAndKeepsPosition(jpeg, kLargestPicture));
    // The decoder's own limits answer for PNG.
    const std::string png =
        d3d9test::WriteImage("small.png", 4, 4, std::vector<std::uint32_t>(16, 0x336699FF));
    EXPECT_TRUE(CouldHoldAndKeepsPosition(png, kLargestPicture));
}

TEST(PicturePixels, APictureCutShortStillPassesUntilLessThanAQuarterIsLeft) {
    stbi_write_tga_with_rle = 0;
    const std::string whole = ReadAll(
        d3d9test::WriteImage("plain.tga", 64, 64, std::vector<std::uint32_t>(4096, 0x20406080)));
    stbi_write_tga_with_rle = 1;
    const std::size_t pixelBytes = whole.size() - 18;
    const auto cut = [&](const char* name, std::size_t kept) {
        return d3d9test::WriteTextFile(name, whole.substr(0, 18 + kept));
    };
    EXPECT_TRUE(CouldHoldAndKeepsPosition(cut("whole.tga", pixelBytes), 64 * 64));
    EXPECT_TRUE(CouldHoldAndKeepsPosition(cut("half.tga", pixelBytes / 2), 64 * 64));
    EXPECT_TRUE(CouldHoldAndKeepsPosition(cut("quarter.tga", pixelBytes / 4), 64 * 64));
    EXPECT_FALSE(CouldHoldAndKeepsPosition(cut("fifth.tga", pixelBytes / 5), 64 * 64));

    // Run-length packets repeat at most 128 pixels each.
    const std::string runs = d3d9test::WriteImage(
        "runs.tga", 256, 256, std::vector<std::uint32_t>(256 * 256, 0x20406080));
    EXPECT_TRUE(CouldHoldAndKeepsPosition(runs, 256 * 256));
    EXPECT_FALSE(CouldHoldAndKeepsPosition(runs, kLargestPicture));
}

}  // namespace
