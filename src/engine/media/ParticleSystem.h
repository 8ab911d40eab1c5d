#pragma once

#include "engine/media/DatafileManager.h"
#include "engine/media/Particle.h"
#include "engine/media/Sprite.h"

#include <vector>

class Screen;

// Specks that fly out from a point, slow or fall, fade and die: bubbles,
// sparkles and splashes. Particles live in world coordinates and are drawn
// relative to the camera of the screen given as `camera`.
class ParticleSystem : public Sprite {
public:
    ParticleSystem();
    ~ParticleSystem() override = default;

    // Particles in every direction; colour -1 picks one light colour for all.
    void burst(float originX, float originY, int count, int colour);
    // An upward fan in a light colour, living lifeBase seconds longer than a
    // burst; the floor is set just below the origin.
    void spray(float originX, float originY, int count, float lifeBase);
    // Particles thrown one way: 0 up-left, 1 up-right, 2 up, 3 right.
    void jet(int direction, float originX, float originY, int count, int colour);

    void update(float dt) override;
    void draw(BITMAP* target) override;

    std::vector<Particle> particles;
    DatafileManager datafile;
    int imageIndex = 0;
    int startAlpha = 255;
    float minSpeed = 100.0f, maxSpeed = 120.0f;
    float sprayAccelX = 0.0f, sprayAccelY = 0.0f;
    bool floorEnabled = false;
    int floorOffset = 0;
    int floorY = 0;
    Screen* camera = nullptr;

private:
    int randomSpeed() const;
    static int randomLightColour();
};
