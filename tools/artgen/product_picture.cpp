// "LUM_BMP": the product name beside a small network of nodes sending out
// signal waves, on the teal of the setup window so its edges disappear.
#include <algorithm>
#include <cmath>

#include "fonts.h"
#include "palettes.h"
#include "pictures.h"

namespace {

const double kPi = 3.14159265358979323846;

struct Node {
    double x;
    double y;
    double radius;
};

const Node kHub{17.5, 23.5, 4.5};
const Node kSatellites[] = {
    {5.5, 10.5, 2.5}, {25.5, 6.5, 2.5}, {5.5, 36.5, 2.5}, {26.5, 40.5, 2.5},
};

// Faint waves spreading from the hub across the picture, behind the name.
// Each stops short of the picture's edges so none is seen cut off on the
// window's teal.
void DrawSignalWaves(Canvas& canvas)
{
    const double reach = kHub.y - 3;  // vertical room on either side of the hub
    for (double radius = 11; kHub.x + radius < kProductPictureWidth - 3; radius += 9) {
        double spread = std::min(32.0, std::asin(std::min(1.0, reach / radius)) * 180 / kPi);
        uint8_t shade = radius < 20 ? kLightTeal : kSoftTeal;
        StrokePath(canvas, ArcPath(kHub.x, kHub.y, radius, radius, -spread, spread), 0.55, shade);
    }
}

void DrawLinks(Canvas& canvas)
{
    Point hub{kHub.x, kHub.y};
    for (const Node& node : kSatellites)
        StrokeLine(canvas, hub, Point{node.x, node.y}, 0.6, kPaleAqua);
    StrokeLine(canvas, Point{kSatellites[0].x, kSatellites[0].y},
               Point{kSatellites[2].x, kSatellites[2].y}, 0.5, kSoftTeal);
    StrokeLine(canvas, Point{kSatellites[1].x, kSatellites[1].y},
               Point{kSatellites[3].x, kSatellites[3].y}, 0.5, kSoftTeal);
}

void DrawNode(Canvas& canvas, const Node& node, uint8_t fill, uint8_t rim)
{
    FillDisc(canvas, node.x, node.y, node.radius + 1.0, rim);
    FillDisc(canvas, node.x, node.y, node.radius, fill);
}

void DrawNetwork(Canvas& canvas)
{
    DrawSignalWaves(canvas);
    DrawLinks(canvas);
    for (const Node& node : kSatellites)
        DrawNode(canvas, node, kCream, kDeepTeal);
    DrawNode(canvas, kHub, kGold, kAmber);
    FillDisc(canvas, kHub.x - 1.5, kHub.y - 1.5, 1.2, kCream);  // a glint
}

void DrawName(Canvas& canvas)
{
    const StrokeStyle style{2.0, 2.0, 1.5};
    double width = StrokeTextWidth("Lumetra", style);
    double left = int(kProductPictureWidth - 7 - width) + 0.5 + style.halfWidth;
    double top = 6.5;
    DrawStrokeText(canvas, "Lumetra", left + 1.0, top + 1.0, style, kDeepTeal);
    DrawStrokeText(canvas, "Lumetra", left, top, style, kWhite);

    const char* tagline = "NETWORK UTILITIES";
    int captionLeft = int(left - style.halfWidth) + (int(width) - PixelTextWidth(tagline)) / 2;
    DrawPixelText(canvas, tagline, captionLeft, 35, kPaleAqua);
}

}  // namespace

Canvas DrawProductPicture()
{
    Canvas canvas = MakeCanvas(kProductPictureWidth, kProductPictureHeight, kTeal);
    DrawNetwork(canvas);
    DrawName(canvas);
    return canvas;
}
