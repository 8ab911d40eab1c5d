#pragma once

// One short-lived speck of a particle system, in world coordinates.
struct Particle {
    // Moves the particle on by dt seconds and fades it with the life left.
    void step(float dt);

    int alpha = 255;
    float life = 0.0f;
    float maxLife = 0.0f;
    float x = 0.0f, y = 0.0f;
    float vx = 0.0f, vy = 0.0f;
    float ax = 0.0f, ay = 0.0f;
    int colour = 0;
    int startAlpha = 255;
};
