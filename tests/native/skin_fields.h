// What the plug-in relies on in its two skins: which meter field each pixel
// belongs to and the colours a fully lit field holds.
#pragma once

#include <string>

#include "display/skin_layout.h"
#include "tests/native/bmp_reader.h"

inline constexpr Colour Black{0, 0, 0};

// Gap: a pixel of the meter area that stays black, between or beside the bars.
enum class Field { None, Gap, LevelBar, Spectrum };

// The meter field at (x, y), None outside every field.
Field MeterFieldAt(const ModuleSkin& skin, int x, int y);
// Gradient G of the level bars, mirrored on the right bar.
Colour LevelBarColour(int x);
// Gradient V of the spectrum bars and the bass indicator, rows 7..31.
Colour SpectrumColour(int y);

// The committed skin file, read once.
const BmpFile& CommittedSkin(const ModuleSkin& skin);

inline bool Near(const Colour& a, const Colour& b, int tolerance) {
    auto close = [tolerance](int p, int q) { return p - q <= tolerance && q - p <= tolerance; };
    return close(a.red, b.red) && close(a.green, b.green) && close(a.blue, b.blue);
}

// A meter pixel: red and green within the tolerance, blue exactly as wanted.
inline bool MeterColour(const Colour& stored, const Colour& wanted, int tolerance) {
    return Near(stored, {wanted.red, wanted.green, stored.blue}, tolerance) && stored.blue == wanted.blue;
}
