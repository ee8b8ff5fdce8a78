// Smooth shading curves through a few chosen values, and colour helpers.
#pragma once

#include <vector>

#include "tools/skingen/image.h"

struct KeyPoint {
    int at;  // a column or a row
    double value;
};

// Key points in increasing order of `at`.
using Profile = std::vector<KeyPoint>;

// The profile's value at `at`: eased (cosine) between neighbouring key points,
// so every key point is met exactly with a flat tangent; held beyond the ends.
double ShadeAt(const Profile& profile, double at);

// `first` followed by `rest`.
Profile Joined(const Profile& first, const Profile& rest);

Rgb Grey(double level);
// a at t = 0, b at t = 1.
Rgb Mix(Rgb a, Rgb b, double t);
