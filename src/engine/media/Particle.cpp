#include "engine/media/Particle.h"

void Particle::step(float dt)
{
    x += dt * vx;
    y += dt * vy;
    vx += dt * ax;
    vy += dt * ay;
    life -= dt;
    // A particle born without life has no fade; it dies at this very step.
    alpha = maxLife > 0.0f ? static_cast<int>(static_cast<float>(startAlpha) * life / maxLife) : 0;
}
