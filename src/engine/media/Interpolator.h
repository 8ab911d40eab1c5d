#pragma once

// Moves one float that someone else owns towards a target over time; can
// repeat, ping-pong, wait before starting, or wrap round a 0-255 cycle.
class Interpolator {
public:
    Interpolator() = default;
    explicit Interpolator(float* value)
        : updatee(value)
    {
    }

    void setUpdatee(float* value) { updatee = value; }
    void start(float target, float duration, int repeats);
    void startAtSpeed(float target, float rate, int repeats);
    void stop() { active = false; }
    void update(float dt);

    bool pingPong = false;
    bool active = false;
    bool cyclic = false;
    int repeats = 0;
    float duration = 0.0f;
    float delay = 0.0f;
    float target = 0.0f;
    float timeScale = 1.0f;
    float rate = 0.0f;
    float startValue = 0.0f; // the updatee when the run began
    float elapsed = 0.0f;
    float* updatee = nullptr;
};
