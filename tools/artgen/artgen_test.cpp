// Runs the built artgen into a scratch directory and checks what the
// resource compiler and Windows will read: headers, sizes, palettes, pixel
// packing, icon directory and masks, and that the output never changes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "imagefile.h"
#include "pictures.h"

namespace {

std::string MakeScratchDir()
{
    char pattern[] = "/tmp/artgen_test.XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "";
}

void RemoveDir(const std::string& dir)
{
    std::string command = "rm -rf '" + dir + "'";
    if (std::system(command.c_str()) != 0)
        ADD_FAILURE() << "could not remove " << dir;
}

// Exit status of artgen run with the given argument text.
int RunArtgen(const std::string& arguments)
{
    std::string command = std::string(ARTGEN_PATH) + " " + arguments + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Read16(const Bytes& b, size_t at)
{
    return at + 2 <= b.size() ? uint32_t(b[at] | b[at + 1] << 8) : 0xFFFFFFFF;
}

uint32_t Read32(const Bytes& b, size_t at)
{
    return at + 4 <= b.size() ? Read16(b, at) | Read16(b, at + 2) << 16 : 0xFFFFFFFF;
}

// Palette index of pixel (x, y), counted from the top, of a bottom-up DIB
// whose pixel rows start at `bits`.
int DibIndex(const Bytes& b, size_t bits, int width, int height, int bpp, int x, int y)
{
    size_t row = bits + size_t(RowStride(width, bpp)) * size_t(height - 1 - y);
    if (bpp == 8)
        return b[row + size_t(x)];
    uint8_t pair = b[row + size_t(x / 2)];
    return x % 2 ? pair & 0x0F : pair >> 4;
}

Colour PaletteColour(const Bytes& b, size_t palette, int index)
{
    size_t at = palette + 4 * size_t(index);
    return Colour{b[at + 2], b[at + 1], b[at]};
}

bool IsWindowTeal(Colour c)
{
    return c.red == 0 && c.green == 128 && c.blue == 128;
}

class ArtgenOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = MakeScratchDir();
        ASSERT_FALSE(dir.empty()) << "no scratch directory";
        ASSERT_EQ(0, RunArtgen(dir)) << "artgen failed writing into " << dir;
    }
    void TearDown() override { RemoveDir(dir); }
    std::string dir;
};

struct BitmapCase {
    const char* file;
    Canvas (*draw)();
    int width;
    int height;
    int bpp;
};

const BitmapCase kBitmaps[] = {
    {"lum_bmp.bmp", DrawProductPicture, 168, 47, 8},
    {"vellogo.bmp", DrawMakerLogo, 115, 84, 4},
};

TEST_F(ArtgenOutput, BitmapHeadersDescribeTheirSizeDepthAndPalette)
{
    for (const BitmapCase& row : kBitmaps) {
        SCOPED_TRACE(row.file);
        Bytes b = ReadFile(dir + "/" + row.file);
        uint32_t entries = 1u << row.bpp;
        uint32_t imageSize = uint32_t(RowStride(row.width, row.bpp) * row.height);
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ('B', b[0]);
        EXPECT_EQ('M', b[1]);
        EXPECT_EQ(b.size(), Read32(b, 2)) << "bfSize against the file's length";
        EXPECT_EQ(0u, Read32(b, 6)) << "reserved words";
        EXPECT_EQ(54 + 4 * entries, Read32(b, 10)) << "bfOffBits";
        EXPECT_EQ(40u, Read32(b, 14)) << "BITMAPINFOHEADER size";
        EXPECT_EQ(uint32_t(row.width), Read32(b, 18));
        EXPECT_EQ(uint32_t(row.height), Read32(b, 22)) << "positive height: bottom-up";
        EXPECT_EQ(1u, Read16(b, 26)) << "planes";
        EXPECT_EQ(uint32_t(row.bpp), Read16(b, 28));
        EXPECT_EQ(0u, Read32(b, 30)) << "BI_RGB";
        EXPECT_EQ(imageSize, Read32(b, 34)) << "biSizeImage";
        EXPECT_EQ(entries, Read32(b, 46)) << "biClrUsed";
        EXPECT_EQ(54 + 4 * entries + imageSize, b.size()) << "headers + palette + rows";
    }
}

// The pixels in the file are the pixels drawn: row order, nibble order and
// row padding all right.
TEST_F(ArtgenOutput, BitmapPixelsMatchTheDrawing)
{
    for (const BitmapCase& row : kBitmaps) {
        SCOPED_TRACE(row.file);
        Bytes b = ReadFile(dir + "/" + row.file);
        ASSERT_EQ(b.size(), Read32(b, 2));
        Canvas drawn = row.draw();
        ASSERT_EQ(row.width, drawn.width);
        ASSERT_EQ(row.height, drawn.height);
        int mismatches = 0;
        for (int y = 0; y < row.height; ++y)
            for (int x = 0; x < row.width; ++x)
                if (DibIndex(b, Read32(b, 10), row.width, row.height, row.bpp, x, y) !=
                    GetPixel(drawn, x, y))
                    ++mismatches;
        EXPECT_EQ(0, mismatches) << "pixels differing from the drawing";
    }
}

// Both pictures are painted onto the setup window's teal: their whole border
// must be that teal so no rectangle shows.
TEST_F(ArtgenOutput, BitmapBordersAreTheWindowTeal)
{
    for (const BitmapCase& row : kBitmaps) {
        SCOPED_TRACE(row.file);
        Bytes b = ReadFile(dir + "/" + row.file);
        ASSERT_EQ(b.size(), Read32(b, 2));
        for (int y = 0; y < row.height; ++y)
            for (int x = 0; x < row.width; ++x) {
                if (x != 0 && y != 0 && x != row.width - 1 && y != row.height - 1)
                    continue;
                int index = DibIndex(b, Read32(b, 10), row.width, row.height, row.bpp, x, y);
                Colour c = PaletteColour(b, 54, index);
                ASSERT_TRUE(IsWindowTeal(c)) << "pixel (" << x << "," << y << ") is RGB("
                                             << int(c.red) << "," << int(c.green) << ","
                                             << int(c.blue) << ")";
            }
    }
}

TEST_F(ArtgenOutput, IconHasA32And16PixelImageWithMasks)
{
    Bytes b = ReadFile(dir + "/app_main.ico");
    ASSERT_GE(b.size(), 6u + 2 * 16);
    EXPECT_EQ(0u, Read16(b, 0)) << "reserved";
    EXPECT_EQ(1u, Read16(b, 2)) << "type icon";
    ASSERT_EQ(2u, Read16(b, 4)) << "image count";

    const int sizes[] = {32, 16};
    uint32_t expectedOffset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        int size = sizes[i];
        SCOPED_TRACE(size);
        size_t entry = 6 + 16 * size_t(i);
        uint32_t xorSize = uint32_t(RowStride(size, 4) * size);
        uint32_t andSize = uint32_t(RowStride(size, 1) * size);
        uint32_t bytes = Read32(b, entry + 8), offset = Read32(b, entry + 12);
        EXPECT_EQ(size, b[entry]);
        EXPECT_EQ(size, b[entry + 1]);
        EXPECT_EQ(16, b[entry + 2]) << "colour count";
        EXPECT_EQ(0, b[entry + 3]);
        EXPECT_EQ(1u, Read16(b, entry + 4)) << "planes";
        EXPECT_EQ(4u, Read16(b, entry + 6)) << "bits per pixel";
        EXPECT_EQ(40 + 64 + xorSize + andSize, bytes) << "header, palette, XOR and AND bitmaps";
        EXPECT_EQ(expectedOffset, offset) << "images follow each other without gaps";
        expectedOffset += bytes;
        ASSERT_LE(size_t(offset) + bytes, b.size());

        EXPECT_EQ(40u, Read32(b, offset));
        EXPECT_EQ(uint32_t(size), Read32(b, offset + 4));
        EXPECT_EQ(uint32_t(2 * size), Read32(b, offset + 8)) << "height counts XOR and AND";
        EXPECT_EQ(4u, Read16(b, offset + 14));
        EXPECT_EQ(xorSize + andSize, Read32(b, offset + 20));
    }
    EXPECT_EQ(expectedOffset, b.size()) << "nothing after the last image";
}

// Transparent corners, an opaque middle, and black under every transparent
// pixel so the screen shows through unchanged.
TEST_F(ArtgenOutput, IconMasksLeaveCornersTransparent)
{
    Bytes b = ReadFile(dir + "/app_main.ico");
    ASSERT_EQ(2u, Read16(b, 4));
    for (int i = 0; i < 2; ++i) {
        size_t offset = Read32(b, 6 + 16 * size_t(i) + 12);
        int size = b[6 + 16 * size_t(i)];
        SCOPED_TRACE(size);
        ASSERT_LE(offset + 104 + size_t(RowStride(size, 4) + RowStride(size, 1)) * size_t(size),
                  b.size());
        size_t xorBits = offset + 40 + 64;
        size_t andBits = xorBits + size_t(RowStride(size, 4) * size);
        auto transparent = [&](int x, int y) {
            size_t row = andBits + size_t(RowStride(size, 1) * (size - 1 - y));
            return (b[row + size_t(x / 8)] & (0x80 >> (x % 8))) != 0;
        };
        EXPECT_TRUE(transparent(0, 0));
        EXPECT_TRUE(transparent(size - 1, size - 1));
        EXPECT_FALSE(transparent(size / 2, size / 2));
        EXPECT_FALSE(transparent(size / 2, 0)) << "the tile reaches the top edge";
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                if (transparent(x, y)) {
                    ASSERT_EQ(0, DibIndex(b, xorBits, size, size, 4, x, y))
                        << "XOR colour under transparent pixel (" << x << "," << y << ")";
                }
            }
    }
}

TEST(Artgen, OutputIsTheSameOnEveryRun)
{
    std::string first = MakeScratchDir(), second = MakeScratchDir();
    ASSERT_EQ(0, RunArtgen(first));
    ASSERT_EQ(0, RunArtgen(second));
    for (const char* name : {"lum_bmp.bmp", "vellogo.bmp", "app_main.ico"}) {
        SCOPED_TRACE(name);
        Bytes a = ReadFile(first + "/" + name), b = ReadFile(second + "/" + name);
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == b) << "sizes " << a.size() << " and " << b.size();
    }
    RemoveDir(first);
    RemoveDir(second);
}

TEST(Artgen, FailsWithoutAUsableDirectory)
{
    EXPECT_EQ(2, RunArtgen("")) << "no argument";
    EXPECT_EQ(1, RunArtgen("/nonexistent/artgen_out")) << "directory missing";
}

}  // namespace
