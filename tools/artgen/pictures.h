// The three pictures of the setup program, drawn by code: the product
// picture, the maker's logo and the two sizes of the application icon.
#pragma once
#include "canvas.h"
#include "imagefile.h"

const int kProductPictureWidth = 168;
const int kProductPictureHeight = 47;
const int kMakerLogoWidth = 115;
const int kMakerLogoHeight = 84;

// The 16 colours every Windows display has, in their usual order.
Palette StandardPalette();
// 256 colours: the standard 16, the shades of the product picture, then a
// 6 x 6 x 6 colour cube.
Palette ProductPicturePalette();

Canvas DrawProductPicture();  // indices into ProductPicturePalette()
Canvas DrawMakerLogo();       // indices into StandardPalette()
Canvas DrawIcon(int size);    // 16 or 32; StandardPalette() or kTransparent
