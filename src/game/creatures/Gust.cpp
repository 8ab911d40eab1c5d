#include "game/creatures/Gust.h"

Gust::Gust(float pixelsPerSecond, bool right)
    : speed(pixelsPerSecond)
    , movingRight(right)
{
    datafile.load("gust.dat");
    bubbleProof = true;
    flipH = right;
}

void Gust::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    const float step = speed * dt;
    x += movingRight ? step : -step;
    y += step;
    hurtPlayerOnContact();
}
