// Letter shapes drawn for this artwork: only the letters its texts use.
#include "fonts.h"

#include <cstring>

namespace {

struct StrokeGlyph {
    double advance;
    std::vector<Path> strokes;
};

Path Line(double x0, double y0, double x1, double y1)
{
    return Path{Point{x0, y0}, Point{x1, y1}};
}

// Lower-case letters sit between the x-height (y = 4) and the baseline (12).
StrokeGlyph LowerGlyph(char c)
{
    switch (c) {
    case 'u': {
        Path bowl{Point{0, 4}};
        AppendPath(bowl, ArcPath(3, 9, 3, 3, 180, 360));
        bowl.push_back(Point{6, 4});
        return {6, {bowl, Line(6, 4, 6, 12)}};
    }
    case 'm': {
        Path first = ArcPath(2.5, 7, 2.5, 3, 180, 0);
        first.push_back(Point{5, 12});
        Path second = ArcPath(7.5, 7, 2.5, 3, 180, 0);
        second.push_back(Point{10, 12});
        return {10, {Line(0, 4, 0, 12), first, second}};
    }
    case 'e': {
        Path round{Point{0.2, 8}, Point{7, 8}};
        AppendPath(round, ArcPath(3.5, 8, 3.5, 4, 0, 315));
        return {7, {round}};
    }
    case 't': {
        Path stem{Point{2, 1}};
        AppendPath(stem, ArcPath(4.5, 9.5, 2.5, 2.5, 180, 270));
        stem.push_back(Point{5.5, 12});
        return {5.5, {stem, Line(0, 4, 5, 4)}};
    }
    case 'r': {
        Path shoulder = ArcPath(4, 8.5, 4, 4.5, 180, 95);
        shoulder.push_back(Point{5.5, 4});
        return {5.5, {Line(0, 4, 0, 12), shoulder}};
    }
    case 'a':
        return {7, {ArcPath(3.5, 8, 3.5, 4, 0, 360), Line(7, 4, 7, 12)}};
    default:
        return {6, {}};
    }
}

StrokeGlyph UpperGlyph(char c)
{
    switch (c) {
    case 'L':
        return {7, {Path{Point{0, 0}, Point{0, 12}, Point{7, 12}}}};
    case 'V':
        return {9, {Path{Point{0, 0}, Point{4.5, 12}, Point{9, 0}}}};
    case 'E':
        return {7, {Path{Point{7, 0}, Point{0, 0}, Point{0, 12}, Point{7, 12}}, Line(0, 6, 6, 6)}};
    case 'T':
        return {8, {Line(0, 0, 8, 0), Line(4, 0, 4, 12)}};
    case 'R': {
        Path bowl{Point{0, 12}, Point{0, 0}, Point{4.5, 0}};
        AppendPath(bowl, ArcPath(4.5, 3.25, 3.25, 3.25, 90, -90));
        bowl.push_back(Point{0, 6.5});
        return {8, {bowl, Line(4.5, 6.5, 8, 12)}};
    }
    case 'A':
        return {9, {Path{Point{0, 12}, Point{4.5, 0}, Point{9, 12}}, Line(1.9, 8, 7.1, 8)}};
    case 'N':
        return {8, {Path{Point{0, 12}, Point{0, 0}, Point{8, 12}, Point{8, 0}}}};
    default:
        return {8, {}};
    }
}

StrokeGlyph GlyphFor(char c)
{
    return (c >= 'A' && c <= 'Z') ? UpperGlyph(c) : LowerGlyph(c);
}

// 5 x 7 capitals, one string of five '#'/'.' per row.
struct PixelGlyph {
    char letter;
    const char* rows[7];
};

const PixelGlyph kPixelGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'I', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
};

const PixelGlyph* FindPixelGlyph(char c)
{
    for (const PixelGlyph& glyph : kPixelGlyphs)
        if (glyph.letter == c)
            return &glyph;
    return nullptr;
}

const int kPixelAdvance = 6;

}  // namespace

double StrokeTextWidth(const char* text, const StrokeStyle& style)
{
    double units = 0;
    size_t count = std::strlen(text);
    for (size_t i = 0; i < count; ++i)
        units += GlyphFor(text[i]).advance + (i + 1 < count ? style.spacing : 0);
    return units * style.scale + 2 * style.halfWidth;
}

void DrawStrokeText(Canvas& canvas, const char* text, double left, double top,
                    const StrokeStyle& style, uint8_t colour)
{
    double pen = 0;
    for (const char* c = text; *c; ++c) {
        StrokeGlyph glyph = GlyphFor(*c);
        for (const Path& stroke : glyph.strokes) {
            Path placed;
            for (const Point& p : stroke)
                placed.push_back(Point{left + (pen + p.x) * style.scale, top + p.y * style.scale});
            StrokePath(canvas, placed, style.halfWidth, colour);
        }
        pen += glyph.advance + style.spacing;
    }
}

int PixelTextWidth(const char* text)
{
    int count = int(std::strlen(text));
    return count > 0 ? count * kPixelAdvance - 1 : 0;
}

void DrawPixelText(Canvas& canvas, const char* text, int left, int top, uint8_t colour)
{
    for (int i = 0; text[i]; ++i) {
        const PixelGlyph* glyph = FindPixelGlyph(text[i]);
        if (!glyph)
            continue;  // a space, or a letter no caption uses
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (glyph->rows[row][col] == '#')
                    SetPixel(canvas, left + i * kPixelAdvance + col, top + row, colour);
    }
}
