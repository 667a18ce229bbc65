// Names of the palette entries the drawings use.
#pragma once
#include <cstdint>

// The standard 16 colours (StandardPalette order).
enum StandardColour : uint8_t {
    kBlack = 0, kMaroon, kGreen, kOlive, kNavy, kPurple, kTeal, kSilver,
    kGray, kRed, kLime, kYellow, kBlue, kFuchsia, kAqua, kWhite,
};

// Extra shades of the 256-colour product picture, after the standard 16.
enum PictureShade : uint8_t {
    kDeepTeal = 16, kDarkTeal, kSoftTeal, kLightTeal, kPaleAqua, kGold, kAmber, kCream,
    kShadeCount = 40,  // the colour cube starts here
};
