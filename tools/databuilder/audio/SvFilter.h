#pragma once

// A zero-delay state-variable filter: low, band and high pass from one state,
// stable however fast the cutoff moves, so sweeps and wah effects stay clean.
class SvFilter {
public:
    void setup(double cutoff, double q, int rate = 44100);
    float low(float x);
    float band(float x);
    float high(float x);

private:
    void tick(float x);
    double k = 1.0, a1 = 1.0, a2 = 0.0, a3 = 0.0;
    double ic1 = 0.0, ic2 = 0.0;
    double lowOut = 0.0, bandOut = 0.0, highOut = 0.0;
};
