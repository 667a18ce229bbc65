// The two lettering styles of the artwork: a stroke font (centre lines drawn
// with a round pen, for the product and maker names) and a 5 x 7 pixel font
// for small captions.
#pragma once
#include "canvas.h"

// Stroke font units: cap height 12, x-height 8, baseline at y = 12.
struct StrokeStyle {
    double scale;      // pixels per unit
    double spacing;    // units between the advances of neighbouring letters
    double halfWidth;  // pen radius in pixels
};

double StrokeTextWidth(const char* text, const StrokeStyle& style);
// (left, top) is where unit (0, 0) of the first letter lands.
void DrawStrokeText(Canvas& canvas, const char* text, double left, double top,
                    const StrokeStyle& style, uint8_t colour);

int PixelTextWidth(const char* text);
void DrawPixelText(Canvas& canvas, const char* text, int left, int top, uint8_t colour);
