#include "tools/skingen/frame.h"

#include "display/skin_layout.h"

namespace {

constexpr int BandLeft = FrameBand.left, BandRight = FrameBand.right - 1;
constexpr int InteriorTop = RimTopRows.bottom, InteriorLeft = Interior.left, InteriorRight = Interior.right - 1;

const Rgb OuterCorner{6, 6, 11};
const Rgb RimRows[3] = {{44, 26, 7}, {38, 23, 7}, {31, 20, 8}};
const Rgb RimSideTop{33, 21, 8}, RimSideBottom{24, 16, 8};

const Profile TopSheen{{4, 0}, {60, 39}, {135, 11}, {210, 86}, {270, 0}};
constexpr double TopShadow = 16;
const Profile BottomShadow{{4, 20}, {150, 22}, {255, 34}, {270, 30}};
const Profile BottomHighlight{{4, 14}, {15, 18}, {135, 105}, {180, 134}, {255, 86}, {270, 57}};
const Profile LowerSheen{{4, 0}, {100, 0}, {200, 20}, {256, 57}, {259, 57}, {270, 40}};
// Strength of the lower sheen by rows above the last interior row.
const double LowerSheenRows[] = {0.6, 1.0, 0.6, 0.25};

// Side bevel columns in rows 1..5.
const Profile LeftHighlightTop{{1, 60}, {2, 92}, {3, 127}, {4, 172}, {5, 168}};
const Profile LeftBevelTop{{1, 26}, {2, 56}, {3, 88}, {4, 110}, {5, 100}};
const Profile RightBevelTop{{1, 26}, {2, 50}, {3, 78}, {4, 94}, {5, 89}};
const Profile RightEdgeTop{{1, 30}, {2, 62}, {3, 96}, {4, 115}, {5, 108}};

void FillColumn(Image& image, int x, const Profile& profile) {
    for (int y = 1; y <= image.height - 2; ++y) image.at(x, y) = Grey(ShadeAt(profile, y));
}

double LowerSheenAt(const Image& image, int x, int y) {
    const int above = image.height - 4 - y;
    return above < 4 ? ShadeAt(LowerSheen, x) * LowerSheenRows[above] : 0;
}

void DrawBevels(Image& image, const FrameShape& shape) {
    const int h = image.height;
    for (int x = RightBevel.left; x < RightBevel.right; ++x) image.at(x, 0) = OuterCorner;
    for (int x = BandLeft; x <= BandRight; ++x) {
        image.at(x, 1) = Grey(ShadeAt(TopSheen, x));
        image.at(x, 2) = Grey(TopShadow);
        image.at(x, h - 3) = Grey(ShadeAt(BottomShadow, x));
        image.at(x, h - 2) = Grey(ShadeAt(BottomHighlight, x));
    }
    FillColumn(image, LeftBevel.left, Joined(LeftHighlightTop, shape.leftHighlight));
    for (int x = LeftBevel.left + 1; x < LeftBevel.right; ++x)
        FillColumn(image, x, Joined(LeftBevelTop, shape.leftBevel));
    for (int x = RightBevel.left; x < RightBevel.right - 1; ++x) {
        FillColumn(image, x, Joined(RightBevelTop, shape.rightBevel));
    }
    FillColumn(image, RightBevel.right - 1, Joined(RightEdgeTop, shape.rightEdge));
}

void DrawRim(Image& image, const FrameShape& shape) {
    for (int y = RimTopRows.top; y < RimTopRows.bottom; ++y)
        for (int x = BandLeft; x <= BandRight; ++x) image.at(x, y) = RimRows[y - RimTopRows.top];
    // The inner corners of the rim shade into the interior.
    image.at(InteriorLeft, InteriorTop) = Mix(RimRows[2], Rgb{}, 0.5);
    image.at(InteriorRight, InteriorTop) = Mix(RimRows[2], Rgb{}, 0.5);

    const int last = shape.lastMeterRow;
    for (int x : {LeftRimSide.left, LeftRimSide.left + 1, RightRimSide.left, RightRimSide.left + 1}) {
        for (int y = InteriorTop; y <= last; ++y) {
            const double t = double(y - InteriorTop) / (last - InteriorTop + (shape.sidesFadeOut ? 1 : 0));
            const Rgb end = shape.sidesFadeOut ? Grey(LowerSheenAt(image, x, last + 1)) : RimSideBottom;
            image.at(x, y) = Mix(RimSideTop, end, t);
        }
    }
}

// Under the level bars, across the interior and the ends of the rim sides.
void DrawLowerSheen(Image& image, const FrameShape& shape) {
    for (int y = shape.lastMeterRow + 1; y <= image.height - 4; ++y)
        for (int x = BandLeft; x <= BandRight; ++x) image.at(x, y) = Grey(LowerSheenAt(image, x, y));
}

}  // namespace

void DrawFrame(Image& image, const FrameShape& shape) {
    DrawBevels(image, shape);
    DrawRim(image, shape);
    DrawLowerSheen(image, shape);
}
