#include "engine/media/Interpolator.h"

#include "engine/core/DebugLog.h"

#include <cmath>

void Interpolator::start(float newTarget, float newDuration, int newRepeats)
{
    if (updatee == nullptr) {
        DebugLog::log("No updatee set for interpolator!", true);
        return;
    }
    repeats = newRepeats;
    target = newTarget;
    duration = newDuration;
    startValue = *updatee;
    active = true;
    elapsed = 0.0f;
    cyclic = false;
}

void Interpolator::startAtSpeed(float newTarget, float newRate, int newRepeats)
{
    if (updatee == nullptr) {
        DebugLog::log("No updatee set for interpolator!", true);
        return;
    }
    rate = newRate;
    start(newTarget, std::fabs(newTarget - *updatee) / newRate, newRepeats);
}

void Interpolator::update(float dt)
{
    if (!active || updatee == nullptr) {
        return;
    }
    if (delay > 0.0f) {
        // The wait swallows the whole step; the run starts on the next one.
        delay -= dt;
        return;
    }
    if (cyclic) {
        *updatee += dt * rate;
        if (*updatee >= 255.0f) {
            *updatee = 0.0f;
        } else if (*updatee < 0.0f) {
            *updatee = 255.0f;
        }
        return;
    }
    elapsed += dt * timeScale;
    if (elapsed < duration) {
        *updatee = startValue + (target - startValue) * (elapsed / duration);
        return;
    }
    *updatee = target;
    active = false;
    if (repeats == 0) {
        return;
    }
    if (repeats > 0) {
        --repeats;
    }
    if (pingPong) {
        start(startValue, duration, repeats);
    } else {
        *updatee = startValue;
        start(target, duration, repeats);
    }
}
