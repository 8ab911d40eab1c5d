#pragma once

#include <algorithm>

// A colour while we are still mixing it; Brush turns it into a pixel.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;

    constexpr Rgb() = default;
    constexpr Rgb(int red, int green, int blue)
        : r(red)
        , g(green)
        , b(blue)
    {
    }

    // t = 0 gives this colour, t = 1 the other one.
    Rgb mix(const Rgb& other, float t) const
    {
        return Rgb(clamp(r + (other.r - r) * t), clamp(g + (other.g - g) * t), clamp(b + (other.b - b) * t));
    }
    Rgb scaled(float f) const { return Rgb(clamp(r * f), clamp(g * f), clamp(b * f)); }
    Rgb lighter(float t) const { return mix(Rgb(255, 255, 255), t); }
    Rgb darker(float t) const { return mix(Rgb(0, 0, 0), t); }

    static int clamp(float v) { return std::max(0, std::min(255, static_cast<int>(v + 0.5f))); }
};
