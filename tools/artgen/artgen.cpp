// artgen OUTDIR: draws the setup program's artwork into OUTDIR as
// lum_bmp.bmp, vellogo.bmp and app_main.ico. Output depends on nothing but
// this code, so every build embeds the same bytes.
#include <cstdio>
#include <string>

#include "imagefile.h"
#include "pictures.h"

namespace {

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "artgen: cannot create %s\n", path.c_str());
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    if (!written)
        std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
    return written;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    bool ok = WriteFile(dir + "/lum_bmp.bmp", EncodeBitmap(DrawProductPicture(), ProductPicturePalette(), 8));
    ok = WriteFile(dir + "/vellogo.bmp", EncodeBitmap(DrawMakerLogo(), StandardPalette(), 4)) && ok;
    ok = WriteFile(dir + "/app_main.ico", EncodeIcon({DrawIcon(32), DrawIcon(16)}, StandardPalette())) && ok;
    return ok ? 0 : 1;
}
