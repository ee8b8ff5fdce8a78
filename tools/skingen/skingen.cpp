// Draws the plug-in's two skins and writes them as BITMAP_1.bmp (Deduzodo,
// 275 x 46) and BITMAP_2.bmp (VU-Meter, 275 x 17) into the given folder.
#include <cstdio>
#include <string>

#include "display/skin_layout.h"
#include "tools/skingen/bmp_writer.h"
#include "tools/skingen/frame.h"
#include "tools/skingen/meters.h"

namespace {

const FrameShape DeduzodoFrame{DeduzodoSkin.height,
                               DeduzodoSkin.levelBarRows.bottom - 1,
                               false,
                               {{6, 164}, {7, 160}, {22, 60}, {32, 60}, {44, 6}},
                               {{6, 90}, {7, 80}, {32, 80}, {44, 8}},
                               {{6, 84}, {7, 80}, {32, 80}, {44, 57}},
                               {{6, 100}, {7, 94}, {32, 92}, {44, 64}}};

// A second highlight runs down column 1 beside the bars; the sides fade out quickly.
const FrameShape VuMeterFrame{
    VuMeterSkin.height, VuMeterSkin.levelBarRows.bottom - 1, true, {{6, 206}, {15, 6}}, {{15, 8}}, {{15, 57}},
    {{15, 64}}};

Image DrawDeduzodoSkin() {
    Image skin(SkinWidth, DeduzodoFrame.height);
    DrawFrame(skin, DeduzodoFrame);
    DrawSpectrumField(skin);
    DrawLevelBars(skin, DeduzodoSkin.levelBarRows);
    return skin;
}

Image DrawVuMeterSkin() {
    Image skin(SkinWidth, VuMeterFrame.height);
    DrawFrame(skin, VuMeterFrame);
    DrawLevelBars(skin, VuMeterSkin.levelBarRows);
    return skin;
}

bool Write(const Image& skin, const std::string& path) {
    if (WriteBmp(skin, path)) return true;
    std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = Write(DrawDeduzodoSkin(), folder + "/" + DeduzodoSkin.bitmap + ".bmp") &&
                         Write(DrawVuMeterSkin(), folder + "/" + VuMeterSkin.bitmap + ".bmp");
    return written ? 0 : 1;
}
