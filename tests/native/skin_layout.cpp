#include "tests/native/skin_layout.h"

#include <cmath>
#include <map>

namespace {

bool InSpectrumField(int x, int y) { return x >= 7 && x <= 267 && y >= 7 && y <= 31; }

}  // namespace

Field MeterFieldAt(const SkinLayout& skin, int x, int y) {
    if (skin.spectrum && InSpectrumField(x, y)) {
        if (x <= 9) return Field::Spectrum;    // bass indicator
        if (x <= 13) return Field::Black;      // strip under bar 0
        return (x - 14) % 3 == 2 ? Field::Black : Field::Spectrum;
    }
    if (skin.spectrum && y == 32 && x >= 7 && x <= 267) return Field::Black;  // separator
    if (y >= skin.levelTop && y <= skin.LevelBottom() && x >= 7 && x <= 267)
        return x >= 136 && x <= 138 ? Field::Black : Field::LevelBar;
    return Field::None;
}

Colour LevelBarColour(int x) {
    const int k = (x <= 135 ? x : 274 - x) - 7;
    return {int(std::lround(123 + 123.0 * k / 128)), int(std::lround(66 + 56.0 * k / 128)), 8};
}

Colour SpectrumColour(int y) {
    static const int red[25] = {123, 128, 133, 138, 142, 148, 153, 158, 163, 167, 172, 178, 183,
                                188, 192, 197, 202, 207, 212, 218, 222, 227, 232, 237, 242};
    static const int green[25] = {66, 68, 71, 73, 75, 78, 80, 82, 84, 86, 89, 91, 93,
                                  96, 98, 100, 103, 105, 107, 109, 111, 114, 116, 119, 120};
    return {red[y - 7], green[y - 7], 8};
}

const BmpFile& CommittedSkin(const SkinLayout& skin) {
    static std::map<std::string, BmpFile> loaded;
    auto found = loaded.find(skin.name);
    if (found == loaded.end())
        found = loaded.emplace(skin.name, BmpFile(std::string(VIS_SOURCE_DIR "/resources/") + skin.name + ".bmp")).first;
    return found->second;
}
