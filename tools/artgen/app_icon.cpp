// "APP_MAIN": a rounded teal tile holding a small network, four nodes in a
// ring around a golden hub: the motif of the product picture, readable at
// 16 and 32 pixels.
#include "palettes.h"
#include "pictures.h"

namespace {

struct IconLayout {
    double corner;         // tile corner radius
    double hubRadius;
    double nodeRadius;
    double nodeInset;      // node centres' distance from the tile's edges
    double linkHalfWidth;
};

IconLayout LayoutFor(int size)
{
    if (size <= 16)
        return IconLayout{3.0, 1.6, 1.1, 4.0, 0.45};
    return IconLayout{6.0, 3.6, 2.6, 7.5, 0.6};
}

std::vector<Point> NodePositions(int size, const IconLayout& layout)
{
    double near = layout.nodeInset, far = size - layout.nodeInset;
    return {{near, near}, {far, near}, {far, far}, {near, far}};
}

void DrawTile(Canvas& canvas, int size, const IconLayout& layout)
{
    FillRoundRect(canvas, 0, 0, size, size, layout.corner, kBlack);
    FillRoundRect(canvas, 1, 1, size - 1, size - 1, layout.corner - 1, kTeal);
}

// The ring between the nodes first, then the spokes from the hub over it.
void DrawLinks(Canvas& canvas, int size, const IconLayout& layout)
{
    Path ring = NodePositions(size, layout);
    ring.push_back(ring.front());
    StrokePath(canvas, ring, layout.linkHalfWidth, kAqua);
    Point hub{size / 2.0, size / 2.0};
    for (Point node : NodePositions(size, layout))
        StrokeLine(canvas, hub, node, layout.linkHalfWidth + 0.25, kWhite);
}

void DrawNodes(Canvas& canvas, int size, const IconLayout& layout)
{
    for (Point node : NodePositions(size, layout)) {
        FillDisc(canvas, node.x, node.y, layout.nodeRadius + 1.0, kBlack);
        FillDisc(canvas, node.x, node.y, layout.nodeRadius, kWhite);
    }
    double centre = size / 2.0;
    FillDisc(canvas, centre, centre, layout.hubRadius + 1.0, kBlack);
    FillDisc(canvas, centre, centre, layout.hubRadius, kYellow);
}

}  // namespace

Canvas DrawIcon(int size)
{
    Canvas canvas = MakeCanvas(size, size, kTransparent);
    IconLayout layout = LayoutFor(size);
    DrawTile(canvas, size, layout);
    DrawLinks(canvas, size, layout);
    DrawNodes(canvas, size, layout);
    return canvas;
}
