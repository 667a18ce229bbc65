// Colour tables of the artwork. The 16 standard colours come first in both,
// so the pictures keep their look on a 16-colour display.
#include "palettes.h"

#include "pictures.h"

Palette StandardPalette()
{
    return Palette{
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
}

Palette ProductPicturePalette()
{
    Palette palette = StandardPalette();
    palette.resize(kShadeCount, Colour{0, 0, 0});
    palette[kDeepTeal] = Colour{0, 72, 72};
    palette[kDarkTeal] = Colour{0, 100, 100};
    palette[kSoftTeal] = Colour{40, 152, 152};
    palette[kLightTeal] = Colour{96, 184, 184};
    palette[kPaleAqua] = Colour{184, 236, 236};
    palette[kGold] = Colour{255, 204, 51};
    palette[kAmber] = Colour{214, 140, 24};
    palette[kCream] = Colour{255, 250, 232};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(Colour{uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51)});
    palette.resize(256, Colour{0, 0, 0});
    return palette;
}
