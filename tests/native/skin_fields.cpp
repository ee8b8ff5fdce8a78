#include "tests/native/skin_fields.h"

#include <cmath>
#include <map>

namespace {

constexpr Columns MeterColumns{LeftBarOuter, RightBarOuter + 1};

}  // namespace

Field MeterFieldAt(const ModuleSkin& skin, int x, int y) {
    if (skin.hasSpectrum && SpectrumRows.Contain(y) && MeterColumns.Contain(x)) {
        if (BassColumns.Contain(x)) return Field::Spectrum;
        if (BlackStrip.Contain(x)) return Field::Gap;  // under bar 0
        return (x - FirstBarLeft) % BarPitch < BarWidth ? Field::Spectrum : Field::Gap;
    }
    if (skin.hasSpectrum && y == SeparatorRow && MeterColumns.Contain(x)) return Field::Gap;
    if (skin.levelBarRows.Contain(y) && MeterColumns.Contain(x))
        return CentreGap.Contain(x) ? Field::Gap : Field::LevelBar;
    return Field::None;
}

Colour LevelBarColour(int x) {
    const int k = (x <= LeftBarInner ? x : LeftBarOuter + RightBarOuter - x) - LeftBarOuter;
    return {int(std::lround(123 + 123.0 * k / 128)), int(std::lround(66 + 56.0 * k / 128)), 8};
}

Colour SpectrumColour(int y) {
    static const int red[25] = {123, 128, 133, 138, 142, 148, 153, 158, 163, 167, 172, 178, 183,
                                188, 192, 197, 202, 207, 212, 218, 222, 227, 232, 237, 242};
    static const int green[25] = {66, 68, 71,  73,  75,  78,  80,  82,  84,  86,  89,  91, 93,
                                  96, 98, 100, 103, 105, 107, 109, 111, 114, 116, 119, 120};
    return {red[y - SpectrumRows.top], green[y - SpectrumRows.top], 8};
}

const BmpFile& CommittedSkin(const ModuleSkin& skin) {
    static std::map<std::string, BmpFile> loaded;
    auto found = loaded.find(skin.bitmap);
    if (found == loaded.end())
        found = loaded.emplace(skin.bitmap, BmpFile(std::string(VIS_SOURCE_DIR "/resources/") + skin.bitmap + ".bmp"))
                    .first;
    return found->second;
}
