// Little-endian writers for the BITMAPFILEHEADER / BITMAPINFOHEADER and
// ICONDIR / ICONDIRENTRY layouts, written field by field so the output does
// not depend on the host's struct packing.
#include "imagefile.h"

namespace {

const int kFileHeaderSize = 14;
const int kInfoHeaderSize = 40;
const int kIconDirSize = 6;
const int kIconEntrySize = 16;

void Put16(Bytes& out, uint32_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(Bytes& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, uint32_t imageSize,
                   uint32_t coloursUsed)
{
    Put32(out, kInfoHeaderSize);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));
    Put16(out, 1);  // planes
    Put16(out, uint32_t(bitsPerPixel));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dots per inch, as pels per metre
    Put32(out, 2835);
    Put32(out, coloursUsed);
    Put32(out, 0);  // all colours important
}

void PutPalette(Bytes& out, const Palette& palette, int entries)
{
    for (int i = 0; i < entries; ++i) {
        Colour c = i < int(palette.size()) ? palette[size_t(i)] : Colour{0, 0, 0};
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
}

uint8_t ColourIndex(const Canvas& canvas, int x, int y)
{
    uint8_t index = GetPixel(canvas, x, y);
    return index == kTransparent ? 0 : index;  // transparent pixels are black in the XOR image
}

// Pixel rows, bottom row first, packed at 4 or 8 bits and padded to words.
void PutPixelRows(Bytes& out, const Canvas& canvas, int bitsPerPixel)
{
    int stride = RowStride(canvas.width, bitsPerPixel);
    for (int y = canvas.height - 1; y >= 0; --y) {
        Bytes row(size_t(stride), 0);
        for (int x = 0; x < canvas.width; ++x) {
            uint8_t index = ColourIndex(canvas, x, y);
            if (bitsPerPixel == 8)
                row[size_t(x)] = index;
            else
                row[size_t(x / 2)] |= uint8_t((index & 0x0F) << (x % 2 ? 0 : 4));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

void PutMaskRows(Bytes& out, const Canvas& canvas)
{
    int stride = RowStride(canvas.width, 1);
    for (int y = canvas.height - 1; y >= 0; --y) {
        Bytes row(size_t(stride), 0);
        for (int x = 0; x < canvas.width; ++x)
            if (GetPixel(canvas, x, y) == kTransparent)
                row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

Bytes IconImageBytes(const Canvas& canvas, const Palette& palette)
{
    uint32_t xorSize = uint32_t(RowStride(canvas.width, 4) * canvas.height);
    uint32_t andSize = uint32_t(RowStride(canvas.width, 1) * canvas.height);
    Bytes out;
    // An icon image's header counts the XOR and AND bitmaps together: twice the height.
    PutInfoHeader(out, canvas.width, canvas.height * 2, 4, xorSize + andSize, 0);
    PutPalette(out, palette, 16);
    PutPixelRows(out, canvas, 4);
    PutMaskRows(out, canvas);
    return out;
}

}  // namespace

int RowStride(int width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

Bytes EncodeBitmap(const Canvas& canvas, const Palette& palette, int bitsPerPixel)
{
    int entries = 1 << bitsPerPixel;
    uint32_t imageSize = uint32_t(RowStride(canvas.width, bitsPerPixel) * canvas.height);
    uint32_t offset = uint32_t(kFileHeaderSize + kInfoHeaderSize + 4 * entries);
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);  // two reserved words
    Put32(out, offset);
    PutInfoHeader(out, canvas.width, canvas.height, bitsPerPixel, imageSize, uint32_t(entries));
    PutPalette(out, palette, entries);
    PutPixelRows(out, canvas, bitsPerPixel);
    return out;
}

Bytes EncodeIcon(const std::vector<Canvas>& images, const Palette& palette)
{
    std::vector<Bytes> bodies;
    for (const Canvas& image : images)
        bodies.push_back(IconImageBytes(image, palette));

    Bytes out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // type: icon
    Put16(out, uint32_t(images.size()));
    uint32_t offset = uint32_t(kIconDirSize + kIconEntrySize * int(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(uint8_t(images[i].width));
        out.push_back(uint8_t(images[i].height));
        out.push_back(16);  // colours
        out.push_back(0);   // reserved
        Put16(out, 1);      // planes
        Put16(out, 4);      // bits per pixel
        Put32(out, uint32_t(bodies[i].size()));
        Put32(out, offset);
        offset += uint32_t(bodies[i].size());
    }
    for (const Bytes& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}
