#include "engine/media/ParticleSystem.h"

#include "engine/media/Screen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

ParticleSystem::ParticleSystem()
{
    datafile.load("particles.dat");
    blendMode = 1;
    cullable = false;
}

// A speed from the system's range. A range narrower than one pixel per second
// gives the minimum speed (instead of a division by zero).
int ParticleSystem::randomSpeed() const
{
    const int range = static_cast<int>(maxSpeed - minSpeed);
    const int spread = range >= 1 ? std::rand() % range : 0;
    return spread + static_cast<int>(minSpeed);
}

int ParticleSystem::randomLightColour()
{
    const int red = 128 + std::rand() % 128;
    const int green = 128 + std::rand() % 128;
    const int blue = 128 + std::rand() % 128;
    return makecol(red, green, blue);
}

void ParticleSystem::burst(float originX, float originY, int count, int colour)
{
    if (colour == -1) {
        colour = randomLightColour();
    }
    for (int i = 0; i < count; ++i) {
        // Whole radians: the directions scatter irregularly round the circle.
        const int angle = std::rand() % 314;
        const int speed = randomSpeed();
        Particle particle;
        particle.vx = static_cast<float>(std::sin(angle) * speed);
        particle.vy = static_cast<float>(std::cos(angle) * speed);
        const float spread = static_cast<float>(std::rand() % 100) * 0.001f;
        particle.x = std::trunc(originX + spread * particle.vx);
        particle.y = std::trunc(originY + spread * particle.vy);
        particle.life = particle.maxLife = static_cast<float>(std::rand() % 200) * 0.004f;
        particle.alpha = 255;
        particle.ax = 0.0f;
        particle.ay = 200.0f;
        particle.colour = colour;
        particle.startAlpha = startAlpha;
        particles.push_back(particle);
    }
}

void ParticleSystem::spray(float originX, float originY, int count, float lifeBase)
{
    const int colour = randomLightColour();
    for (int i = 0; i < count; ++i) {
        // The upper half-circle: the vertical speed is never downwards.
        const float angle = static_cast<float>(std::rand() % 314) * 0.01f + 1.57f;
        const int speed = randomSpeed();
        Particle particle;
        particle.vx = std::sin(angle) * static_cast<float>(speed);
        particle.vy = std::cos(angle) * static_cast<float>(speed);
        const float spread = static_cast<float>(std::rand() % 100) * 0.001f;
        particle.x = std::trunc(originX + spread * particle.vx);
        particle.y = std::trunc(originY + spread * particle.vy);
        particle.life = particle.maxLife = static_cast<float>(std::rand() % 200) * 0.004f + lifeBase;
        particle.alpha = 255;
        particle.ax = sprayAccelX;
        particle.ay = sprayAccelY;
        particle.colour = colour;
        particle.startAlpha = startAlpha;
        particles.push_back(particle);
    }
    floorY = floorOffset + static_cast<int>(originY);
}

void ParticleSystem::jet(int direction, float originX, float originY, int count, int colour)
{
    for (int i = 0; i < count; ++i) {
        const float speed = static_cast<float>(randomSpeed());
        const float spread = static_cast<float>(std::rand() % 200) * 0.001f;
        Particle particle;
        particle.life = particle.maxLife = static_cast<float>(std::rand() % 500) * 0.004f;
        switch (direction) {
        case 0:
            particle.vx = -speed;
            particle.vy = -0.2f * speed;
            break;
        case 1:
            particle.vx = speed;
            particle.vy = -0.2f * speed;
            break;
        case 2:
            particle.vx = 0.0f;
            particle.vy = -speed;
            break;
        case 3:
            particle.vx = speed;
            particle.vy = 0.0f;
            break;
        default:
            break;
        }
        particle.x = std::trunc(originX + spread * particle.vx);
        particle.y = std::trunc(originY + spread * particle.vy);
        particle.ax = 0.0f;
        particle.ay = 100.0f;
        particle.colour = colour;
        particle.alpha = 255;
        particle.startAlpha = startAlpha;
        particles.push_back(particle);
    }
}

void ParticleSystem::update(float dt)
{
    for (Particle& particle : particles) {
        particle.step(dt);
    }
    particles.erase(std::remove_if(particles.begin(), particles.end(),
                        [](const Particle& particle) { return particle.life <= 0.0f; }),
        particles.end());
    if (floorEnabled) {
        for (Particle& particle : particles) {
            if (static_cast<int>(particle.y) >= floorY) {
                particle.vx = 0.0f;
                particle.vy = 0.0f;
            }
        }
    }
}

void ParticleSystem::draw(BITMAP* target)
{
    if (target == nullptr || particles.empty()) {
        return;
    }

    // The picture is the same for every particle; a missing datafile or
    // picture draws nothing (and is reported once, when it is loaded).
    BITMAP* bitmap = nullptr;
    RLE_SPRITE* rle = nullptr;
    if (imageIndex >= 0) {
        if (!datafile.isLoaded() || imageIndex >= datafile.count) {
            return;
        }
        const int type = datafile.getType(imageIndex);
        if (type == DAT_BITMAP) {
            bitmap = static_cast<BITMAP*>(datafile.get(imageIndex));
        } else if (type == DAT_RLE_SPRITE) {
            rle = static_cast<RLE_SPRITE*>(datafile.get(imageIndex));
        }
        if (bitmap == nullptr && rle == nullptr) {
            return;
        }
    }

    float shiftX = 0.0f;
    float shiftY = 0.0f;
    if (camera != nullptr && camera->cameraTarget != nullptr) {
        shiftX = static_cast<float>(camera->width / 2) - camera->cameraTarget->x;
        shiftY = static_cast<float>(camera->height / 2) - camera->cameraTarget->y;
    }

    // Neighbours often share an alpha: the blender is only chosen again when
    // it changes.
    bool blenderChosen = false;
    int blenderAlpha = 0;
    for (const Particle& particle : particles) {
        if (!blenderChosen || particle.alpha != blenderAlpha) {
            selectBlender(blendMode, particle.alpha);
            blenderChosen = true;
            blenderAlpha = particle.alpha;
        }
        const int drawX = static_cast<int>(particle.x + shiftX);
        const int drawY = static_cast<int>(particle.y + shiftY);
        const bool translucent = particle.alpha != 255;
        if (bitmap != nullptr) {
            const int left = drawX - bitmap->w / 2;
            const int top = drawY - bitmap->h / 2;
            if (translucent) {
                draw_trans_sprite(target, bitmap, left, top);
            } else {
                draw_sprite(target, bitmap, left, top);
            }
        } else if (rle != nullptr) {
            const int left = drawX - rle->w / 2;
            const int top = drawY - rle->h / 2;
            if (translucent) {
                draw_trans_rle_sprite(target, rle, left, top);
            } else {
                draw_rle_sprite(target, rle, left, top);
            }
        } else if (translucent) {
            drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
            putpixel(target, drawX, drawY, particle.colour);
            solid_mode();
        } else {
            putpixel(target, drawX, drawY, particle.colour);
        }
    }
}
