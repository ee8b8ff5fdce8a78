#include "tools/skingen/shading.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

uint8_t Channel(double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 255.0))); }

}  // namespace

double ShadeAt(const Profile& profile, double at) {
    if (at <= profile.front().at) return profile.front().value;
    for (std::size_t i = 1; i < profile.size(); ++i) {
        const KeyPoint& a = profile[i - 1];
        const KeyPoint& b = profile[i];
        if (at > b.at) continue;
        const double t = (at - a.at) / double(b.at - a.at);
        const double eased = (1 - std::cos(t * Pi)) / 2;
        return a.value + (b.value - a.value) * eased;
    }
    return profile.back().value;
}

Profile Joined(const Profile& first, const Profile& rest) {
    Profile all = first;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

Rgb Grey(double level) {
    const uint8_t v = Channel(level);
    return {v, v, v};
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {Channel(a.red + (b.red - a.red) * t), Channel(a.green + (b.green - a.green) * t),
            Channel(a.blue + (b.blue - a.blue) * t)};
}
