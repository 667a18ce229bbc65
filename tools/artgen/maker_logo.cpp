// "VELLOGO": the maker's emblem, a V whose arms end in network nodes inside a
// round badge, over the name "VELTRANE"; teal around it like the window.
#include "fonts.h"
#include "palettes.h"
#include "pictures.h"

namespace {

const double kBadgeX = 57.5;
const double kBadgeY = 31.5;
const double kBadgeRadius = 26.0;

void DrawBadge(Canvas& canvas)
{
    // Radii a little off whole pixels keep single-pixel nubs off the rims.
    FillDisc(canvas, kBadgeX + 1.5, kBadgeY + 1.5, kBadgeRadius + 0.4, kBlack);  // shadow
    FillDisc(canvas, kBadgeX, kBadgeY, kBadgeRadius + 0.4, kSilver);
    FillDisc(canvas, kBadgeX, kBadgeY, kBadgeRadius - 2.6, kGray);
    FillDisc(canvas, kBadgeX, kBadgeY, kBadgeRadius - 3.6, kNavy);
    FillRing(canvas, kBadgeX, kBadgeY, kBadgeRadius - 6.6, kBadgeRadius - 5.6, kBlue);
}

void DrawEmblem(Canvas& canvas)
{
    Point left{kBadgeX - 13, kBadgeY - 11};
    Point bottom{kBadgeX, kBadgeY + 13};
    Point right{kBadgeX + 13, kBadgeY - 11};
    StrokePath(canvas, Path{left, bottom, right}, 3.5, kBlack);
    StrokePath(canvas, Path{left, bottom, right}, 2.4, kWhite);
    for (Point node : {left, right, bottom}) {
        FillDisc(canvas, node.x, node.y, 4.6, kBlack);
        FillDisc(canvas, node.x, node.y, 3.6, kYellow);
    }
}

void DrawMakerName(Canvas& canvas)
{
    const StrokeStyle style{1.0, 3.5, 1.0};
    double width = StrokeTextWidth("VELTRANE", style);
    double left = int((kMakerLogoWidth - width) / 2) + style.halfWidth;
    double top = 66;
    DrawStrokeText(canvas, "VELTRANE", left + 1, top + 1, style, kBlack);
    DrawStrokeText(canvas, "VELTRANE", left, top, style, kWhite);
}

}  // namespace

Canvas DrawMakerLogo()
{
    Canvas canvas = MakeCanvas(kMakerLogoWidth, kMakerLogoHeight, kTeal);
    DrawBadge(canvas);
    DrawEmblem(canvas);
    DrawMakerName(canvas);
    return canvas;
}
