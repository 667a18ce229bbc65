// Per-pixel shape tests: a pixel takes the colour when its centre lies inside
// the shape. Simple and exact enough for images of a few thousand pixels.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

double DistanceToSegment(Point p, Point a, Point b)
{
    double dx = b.x - a.x, dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    double t = 0.0;
    if (len2 > 0.0)
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0);
    double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

double DistanceToPath(Point p, const Path& path)
{
    if (path.size() == 1)
        return DistanceToSegment(p, path[0], path[0]);
    double best = 1e9;
    for (size_t i = 1; i < path.size(); ++i)
        best = std::min(best, DistanceToSegment(p, path[i - 1], path[i]));
    return best;
}

Point PixelCentre(int x, int y)
{
    return Point{x + 0.5, y + 0.5};
}

}  // namespace

Canvas MakeCanvas(int width, int height, uint8_t fill)
{
    return Canvas{width, height, std::vector<uint8_t>(size_t(width) * size_t(height), fill)};
}

uint8_t GetPixel(const Canvas& canvas, int x, int y)
{
    return canvas.pixels[size_t(y) * size_t(canvas.width) + size_t(x)];
}

void SetPixel(Canvas& canvas, int x, int y, uint8_t colour)
{
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height)
        return;
    canvas.pixels[size_t(y) * size_t(canvas.width) + size_t(x)] = colour;
}

void FillRect(Canvas& canvas, int left, int top, int right, int bottom, uint8_t colour)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            SetPixel(canvas, x, y, colour);
}

void FillEllipse(Canvas& canvas, double cx, double cy, double rx, double ry, uint8_t colour)
{
    for (int y = int(cy - ry) - 1; y <= int(cy + ry) + 1; ++y)
        for (int x = int(cx - rx) - 1; x <= int(cx + rx) + 1; ++x) {
            Point p = PixelCentre(x, y);
            double nx = (p.x - cx) / rx, ny = (p.y - cy) / ry;
            if (nx * nx + ny * ny <= 1.0 + 1e-9)
                SetPixel(canvas, x, y, colour);
        }
}

void FillDisc(Canvas& canvas, double cx, double cy, double radius, uint8_t colour)
{
    FillEllipse(canvas, cx, cy, radius, radius, colour);
}

void FillRing(Canvas& canvas, double cx, double cy, double inner, double outer, uint8_t colour)
{
    for (int y = int(cy - outer) - 1; y <= int(cy + outer) + 1; ++y)
        for (int x = int(cx - outer) - 1; x <= int(cx + outer) + 1; ++x) {
            Point p = PixelCentre(x, y);
            double d = std::hypot(p.x - cx, p.y - cy);
            if (d >= inner && d <= outer)
                SetPixel(canvas, x, y, colour);
        }
}

void StrokePath(Canvas& canvas, const Path& path, double halfWidth, uint8_t colour)
{
    if (path.empty())
        return;
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (const Point& p : path) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    for (int y = int(std::floor(top - halfWidth)) - 1; y <= int(bottom + halfWidth) + 1; ++y)
        for (int x = int(std::floor(left - halfWidth)) - 1; x <= int(right + halfWidth) + 1; ++x)
            if (DistanceToPath(PixelCentre(x, y), path) <= halfWidth + 1e-9)
                SetPixel(canvas, x, y, colour);
}

void StrokeLine(Canvas& canvas, Point from, Point to, double halfWidth, uint8_t colour)
{
    StrokePath(canvas, Path{from, to}, halfWidth, colour);
}

Path ArcPath(double cx, double cy, double rx, double ry, double fromDeg, double toDeg)
{
    // Fine enough that the chords stay well inside a tenth of a pixel.
    int steps = std::max(4, int(std::fabs(toDeg - fromDeg) / 3.0));
    Path path;
    for (int i = 0; i <= steps; ++i) {
        double a = (fromDeg + (toDeg - fromDeg) * i / steps) * kPi / 180.0;
        path.push_back(Point{cx + rx * std::cos(a), cy - ry * std::sin(a)});
    }
    return path;
}

void AppendPath(Path& path, const Path& more)
{
    path.insert(path.end(), more.begin(), more.end());
}

Path OffsetPath(const Path& path, double dx, double dy)
{
    Path moved;
    for (const Point& p : path)
        moved.push_back(Point{p.x + dx, p.y + dy});
    return moved;
}

void FillRoundRect(Canvas& canvas, double left, double top, double right, double bottom,
                   double radius, uint8_t colour)
{
    for (int y = int(top); y < int(bottom) + 1; ++y)
        for (int x = int(left); x < int(right) + 1; ++x) {
            Point p = PixelCentre(x, y);
            if (p.x < left || p.x > right || p.y < top || p.y > bottom)
                continue;
            // Distance past the inner rectangle whose corners are the arcs' centres.
            double dx = std::max({left + radius - p.x, 0.0, p.x - (right - radius)});
            double dy = std::max({top + radius - p.y, 0.0, p.y - (bottom - radius)});
            if (dx * dx + dy * dy <= radius * radius)
                SetPixel(canvas, x, y, colour);
        }
}
