// Where everything lies in the two skins, in skin pixels: x is the column
// from the left, y the row from the top. The meters, the window, the
// double-click handling, the skin generator and the tests all take their
// coordinates from here. Column and row ranges are half-open: `right` and
// `bottom` are the first column and row past the range.
#pragma once

struct Columns {
    int left, right;
    constexpr bool Contain(int x) const { return x >= left && x < right; }
};

struct Rows {
    int top, bottom;
    constexpr bool Contain(int y) const { return y >= top && y < bottom; }
};

constexpr int SkinWidth = 275;

// The frame, the same in both skins: a black outer line, grey bevels, a dark
// brown rim and the black interior that holds the meter fields.
constexpr Columns LeftBevel{1, 4};
constexpr Columns RightBevel{271, 274};
constexpr Columns FrameBand{4, 271};  // the top and bottom bevels and the rim's top rows
constexpr Rows RimTopRows{3, 6};
constexpr Columns Interior{6, 269};  // rows RimTopRows.bottom to height - 4
constexpr Columns LeftRimSide{4, 6};
constexpr Columns RightRimSide{269, 271};

// The Deduzodo's spectrum section. Display bar k (0..85) covers two columns
// from BarLeft(k); bar 0 falls on the black strip, so the skin lights bars
// 1..85 only. The bass indicator stands left of the strip.
constexpr Rows SpectrumRows{7, 32};                                      // row offset 0 is the top row
constexpr int SpectrumBarRows = SpectrumRows.bottom - SpectrumRows.top;  // the tallest bar
constexpr int SpectrumBars = 86;
constexpr int FirstBarLeft = 11;
constexpr int BarPitch = 3;
constexpr int BarWidth = 2;
constexpr int BarLeft(int bar) { return FirstBarLeft + BarPitch * bar; }
constexpr Columns BassColumns{7, 10};
constexpr Columns BlackStrip{BassColumns.right, BarLeft(1)};
// The lit bars of the skin and the gaps between them: what the hidden
// spectrum's mask covers.
constexpr Columns SpectrumField{BarLeft(1), BarLeft(SpectrumBars - 1) + BarWidth};
constexpr int SeparatorRow = SpectrumRows.bottom;

// The level bars: the left one grows leftwards from LeftBarInner, the right
// one rightwards from RightBarInner; the black centre gap lies between them.
// A peak mark is two columns wide.
constexpr int LeftBarOuter = 7, LeftBarInner = 135;
constexpr int RightBarInner = 139, RightBarOuter = 267;
constexpr Columns LeftLevelBar{LeftBarOuter, LeftBarInner + 1};
constexpr Columns RightLevelBar{RightBarInner, RightBarOuter + 1};
constexpr Columns CentreGap{LeftBarInner + 1, RightBarInner};
constexpr int PeakMarkWidth = 2;

// Double-click regions of the meters. They start one pixel inside the
// meters' fields.
constexpr Columns SpectrumClickColumns{15, RightBarOuter + 1};
constexpr Columns LeftLevelClickColumns{LeftBarOuter + 1, LeftBarInner + 1};
constexpr Columns RightLevelClickColumns{RightBarInner + 1, RightBarOuter + 1};

// A docked window stands this much further right under the companion
// front-end, which draws a border of its own left of the strip.
constexpr int SpecialHostDockOffset = 26;

// Each module's skin: its bitmap resource, its height (also the window's at
// single size) and the rows of its meters.
struct ModuleSkin {
    const char* bitmap;
    int height;
    bool hasSpectrum;
    Rows levelBand;          // the rows the level meter paints
    Rows levelBarRows;       // the rows the skin lights in both level bars
    Rows spectrumClickRows;  // empty without a spectrum
    Rows levelClickRows;
};

inline constexpr ModuleSkin DeduzodoSkin{"BITMAP_1", 46, true, {33, 39}, {33, 39}, {5, 29}, {34, 39}};
// The VU-Meter's band reaches one row above its bars, into the rim.
inline constexpr ModuleSkin VuMeterSkin{"BITMAP_2", 17, false, {5, 11}, {6, 11}, {0, 0}, {5, 10}};
