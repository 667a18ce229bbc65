// Serialises canvases as Windows device-independent bitmaps (.bmp) and icon
// files (.ico), the forms the resource compiler takes for BITMAP and ICON.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "canvas.h"

struct Colour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

using Palette = std::vector<Colour>;
using Bytes = std::vector<uint8_t>;

// In an icon canvas this index marks a transparent pixel (AND mask bit set).
const uint8_t kTransparent = 0xFF;

// Bottom-up, uncompressed, BITMAPINFOHEADER; the palette is padded with black
// to the full 2^bitsPerPixel entries. bitsPerPixel is 4 or 8.
Bytes EncodeBitmap(const Canvas& canvas, const Palette& palette, int bitsPerPixel);

// One 16-colour image per canvas (square, at most 255 pixels wide), each with
// its AND mask.
Bytes EncodeIcon(const std::vector<Canvas>& images, const Palette& palette);

// Bytes of one row padded to whole 32-bit words.
int RowStride(int width, int bitsPerPixel);
