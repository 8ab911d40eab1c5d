#include "databuilder/audio/SvFilter.h"

#include <algorithm>
#include <cmath>

void SvFilter::setup(double cutoff, double q, int rate)
{
    double nyquistSafe = std::clamp(cutoff, 10.0, rate * 0.45);
    double g = std::tan(M_PI * nyquistSafe / rate);
    k = 1.0 / std::max(q, 0.05);
    a1 = 1.0 / (1.0 + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

void SvFilter::tick(float x)
{
    double v3 = x - ic2;
    double v1 = a1 * ic1 + a2 * v3;
    double v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0 * v1 - ic1;
    ic2 = 2.0 * v2 - ic2;
    lowOut = v2;
    bandOut = v1;
    highOut = x - k * v1 - v2;
}

float SvFilter::low(float x)
{
    tick(x);
    return static_cast<float>(lowOut);
}

float SvFilter::band(float x)
{
    tick(x);
    return static_cast<float>(bandOut);
}

float SvFilter::high(float x)
{
    tick(x);
    return static_cast<float>(highOut);
}
