// A palette-indexed pixel canvas and the few shape primitives the artwork
// needs. Shapes are decided per pixel centre (no anti-aliasing: the images
// are palette images), so strokes come out with even, clean edges.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct Canvas {
    int width;
    int height;
    std::vector<uint8_t> pixels;  // palette indices, top row first
};

struct Point {
    double x;
    double y;
};

using Path = std::vector<Point>;

Canvas MakeCanvas(int width, int height, uint8_t fill);
uint8_t GetPixel(const Canvas& canvas, int x, int y);
void SetPixel(Canvas& canvas, int x, int y, uint8_t colour);
void FillRect(Canvas& canvas, int left, int top, int right, int bottom, uint8_t colour);

// Pixel (x, y) has its centre at (x + 0.5, y + 0.5).
void FillDisc(Canvas& canvas, double cx, double cy, double radius, uint8_t colour);
void FillRing(Canvas& canvas, double cx, double cy, double inner, double outer, uint8_t colour);
void FillEllipse(Canvas& canvas, double cx, double cy, double rx, double ry, uint8_t colour);
void StrokePath(Canvas& canvas, const Path& path, double halfWidth, uint8_t colour);
void StrokeLine(Canvas& canvas, Point from, Point to, double halfWidth, uint8_t colour);

// Points along an elliptic arc; angles in degrees, counter-clockwise as seen
// on screen (0 = right, 90 = up).
Path ArcPath(double cx, double cy, double rx, double ry, double fromDeg, double toDeg);
void AppendPath(Path& path, const Path& more);
Path OffsetPath(const Path& path, double dx, double dy);

// Rectangle [left, right) x [top, bottom) in pixel edges, corners rounded
// with the given radius.
void FillRoundRect(Canvas& canvas, double left, double top, double right, double bottom,
                   double radius, uint8_t colour);
