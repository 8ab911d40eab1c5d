#include "engine/media/ParticleSystem.h"
#include "engine/media/DatafileWriter.h"
#include "engine/media/Screen.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

#include <cmath>
#include <cstdlib>

namespace {

Particle particleAt(float x, float y, float life)
{
    Particle particle;
    particle.x = x;
    particle.y = y;
    particle.life = life;
    particle.maxLife = life;
    return particle;
}

float speedOf(const Particle& particle)
{
    return std::hypot(particle.vx, particle.vy);
}

} // namespace

TEST(ParticleSystem, BurstThrowsParticlesEveryWayWithinTheSpeedRange)
{
    std::srand(7);
    ParticleSystem system;
    system.burst(100, 200, 0, -1);
    EXPECT_TRUE(system.particles.empty());

    system.startAlpha = 128;
    system.burst(100, 200, 300, -1);
    ASSERT_EQ(system.particles.size(), 300u);
    const int colour = system.particles[0].colour;
    EXPECT_GE(getr(colour), 120); // a light colour (16-bit rounding aside)
    EXPECT_GE(getg(colour), 120);
    EXPECT_GE(getb(colour), 120);
    bool up = false, down = false, leftward = false, rightward = false;
    for (const Particle& particle : system.particles) {
        EXPECT_EQ(particle.colour, colour); // one colour for the whole burst
        EXPECT_GE(speedOf(particle), 99.0f);
        EXPECT_LT(speedOf(particle), 120.0f);
        EXPECT_EQ(particle.x, std::trunc(particle.x));
        EXPECT_LE(std::fabs(particle.x - 100), 12.0f); // at most 0.099 s of flight ahead
        EXPECT_GE(particle.life, 0.0f);
        EXPECT_LT(particle.life, 0.8f);
        EXPECT_EQ(particle.life, particle.maxLife);
        EXPECT_EQ(particle.ay, 200.0f);
        EXPECT_EQ(particle.ax, 0.0f);
        EXPECT_EQ(particle.startAlpha, 128);
        up = up || particle.vy < -50;
        down = down || particle.vy > 50;
        leftward = leftward || particle.vx < -50;
        rightward = rightward || particle.vx > 50;
    }
    EXPECT_TRUE(up && down && leftward && rightward);

    system.burst(0, 0, 3, makecol(255, 0, 0));
    EXPECT_EQ(system.particles.back().colour, makecol(255, 0, 0));
}

TEST(ParticleSystem, ANarrowSpeedRangeUsesTheMinimumSpeed)
{
    std::srand(3);
    ParticleSystem system;
    system.minSpeed = 50.0f;
    system.maxSpeed = 50.5f;
    system.burst(0, 0, 20, -1);
    system.spray(0, 0, 20, 0.0f);
    system.jet(3, 0, 0, 20, 0);
    ASSERT_EQ(system.particles.size(), 60u);
    for (const Particle& particle : system.particles) {
        EXPECT_NEAR(speedOf(particle), 50.0f, 0.01f);
    }
    system.maxSpeed = 10.0f; // an inverted range is no worse
    system.burst(0, 0, 5, -1);
    EXPECT_NEAR(speedOf(system.particles.back()), 50.0f, 0.01f);
}

TEST(ParticleSystem, SprayFansUpwardsAndSetsTheFloor)
{
    std::srand(11);
    ParticleSystem system;
    system.sprayAccelX = 5.0f;
    system.sprayAccelY = -30.0f;
    system.floorOffset = 12;
    system.spray(40, 300, 100, 1.0f);
    EXPECT_EQ(system.floorY, 312);
    ASSERT_EQ(system.particles.size(), 100u);
    for (const Particle& particle : system.particles) {
        EXPECT_LE(particle.vy, 0.1f); // cos(1.57) is a hair above 0
        EXPECT_GE(particle.life, 1.0f);
        EXPECT_LT(particle.life, 1.8f);
        EXPECT_EQ(particle.ax, 5.0f);
        EXPECT_EQ(particle.ay, -30.0f);
        EXPECT_EQ(particle.colour, system.particles[0].colour);
    }
}

TEST(ParticleSystem, JetThrowsParticlesOneWay)
{
    std::srand(5);
    ParticleSystem system;
    for (int direction = 0; direction <= 4; ++direction) {
        system.particles.clear();
        system.jet(direction, 10, 20, 10, -1);
        ASSERT_EQ(system.particles.size(), 10u);
        for (const Particle& particle : system.particles) {
            EXPECT_EQ(particle.colour, -1); // used as given
            EXPECT_EQ(particle.ay, 100.0f);
            EXPECT_LT(particle.life, 2.0f);
            switch (direction) {
            case 0:
                EXPECT_LT(particle.vx, -99.0f);
                EXPECT_FLOAT_EQ(particle.vy, 0.2f * particle.vx);
                break;
            case 1:
                EXPECT_GT(particle.vx, 99.0f);
                EXPECT_FLOAT_EQ(particle.vy, -0.2f * particle.vx);
                break;
            case 2:
                EXPECT_EQ(particle.vx, 0.0f);
                EXPECT_LT(particle.vy, -99.0f);
                break;
            case 3:
                EXPECT_GT(particle.vx, 99.0f);
                EXPECT_EQ(particle.vy, 0.0f);
                break;
            default:
                EXPECT_EQ(particle.vx, 0.0f);
                EXPECT_EQ(particle.vy, 0.0f);
                EXPECT_EQ(particle.x, 10.0f);
                EXPECT_EQ(particle.y, 20.0f);
            }
        }
    }
}

TEST(ParticleSystem, UpdateMovesFadesAndRemovesDeadParticles)
{
    ParticleSystem system;
    Particle moving = particleAt(0, 0, 1.0f);
    moving.vx = 10;
    moving.vy = -20;
    moving.ax = 4;
    moving.ay = 8;
    moving.startAlpha = 200;
    system.particles.push_back(particleAt(5, 5, 0.0f)); // born dead
    system.particles.push_back(moving);
    system.particles.push_back(particleAt(5, 5, 0.5f));

    system.update(0.5f);
    ASSERT_EQ(system.particles.size(), 1u);
    const Particle& p = system.particles[0];
    EXPECT_FLOAT_EQ(p.x, 5.0f); // position moves with the old velocity
    EXPECT_FLOAT_EQ(p.y, -10.0f);
    EXPECT_FLOAT_EQ(p.vx, 12.0f);
    EXPECT_FLOAT_EQ(p.vy, -16.0f);
    EXPECT_EQ(p.alpha, 100);

    system.update(0.5f);
    EXPECT_TRUE(system.particles.empty());
}

TEST(ParticleSystem, TheFloorStopsParticlesAtOrBelowIt)
{
    ParticleSystem system;
    system.floorEnabled = true;
    system.floorY = 100;
    Particle falling = particleAt(0, 90, 5.0f);
    falling.vx = 30;
    falling.vy = 20;
    falling.ay = 100;
    Particle above = particleAt(0, 0, 5.0f);
    above.vy = 10;
    system.particles = { falling, above };

    system.update(0.5f); // y 90 -> 100: on the floor
    EXPECT_EQ(system.particles[0].vx, 0.0f);
    EXPECT_EQ(system.particles[0].vy, 0.0f);
    EXPECT_EQ(system.particles[1].vy, 10.0f);
    const float restX = system.particles[0].x;
    system.update(0.5f);
    system.update(0.5f);
    EXPECT_EQ(system.particles[0].x, restX);
    EXPECT_EQ(system.particles[0].y, 100.0f);

    system.floorEnabled = false;
    system.update(0.5f);
    EXPECT_GT(system.particles[0].vy, 0.0f);
}

TEST(ParticleSystem, PixelsDrawAtWorldCoordinatesOrFollowTheCamera)
{
    BITMAP* target = create_bitmap(64, 64);
    clear_to_color(target, 0);
    const int red = makecol(255, 0, 0);
    ParticleSystem system;
    system.imageIndex = -1;
    Particle particle = particleAt(10.7f, 20.2f, 1.0f);
    particle.colour = red;
    particle.alpha = 255;
    system.particles.push_back(particle);

    system.draw(target);
    EXPECT_EQ(getpixel(target, 10, 20), red);

    // With a camera the target sits in the middle of that screen.
    Screen screen(40, 30, false, true);
    Sprite cameraTarget;
    cameraTarget.x = 5;
    cameraTarget.y = 10;
    screen.setCameraTarget(&cameraTarget);
    system.camera = &screen;
    clear_to_color(target, 0);
    system.draw(target);
    EXPECT_EQ(getpixel(target, 10 + 20 - 5, 20 + 15 - 10), red);
    EXPECT_EQ(getpixel(target, 10, 20), 0);

    // Without a target the camera does not shift anything.
    screen.setCameraTarget(nullptr);
    clear_to_color(target, 0);
    system.draw(target);
    EXPECT_EQ(getpixel(target, 10, 20), red);
    destroy_bitmap(target);
}

TEST(ParticleSystem, TranslucentPixelsBlendAndMissingPicturesDrawNothing)
{
    BITMAP* target = create_bitmap(16, 16);
    clear_to_color(target, makecol(0, 0, 64));
    ParticleSystem system;
    system.imageIndex = -1;
    Particle particle = particleAt(3, 3, 1.0f);
    particle.colour = makecol(0, 0, 128);
    particle.alpha = 128;
    system.particles.push_back(particle);
    system.draw(target); // additive at half strength
    const int blue = getb(getpixel(target, 3, 3));
    EXPECT_GT(blue, 64);
    EXPECT_LT(blue, 192);

    // particles.dat is not beside the tests: picture particles draw nothing.
    system.imageIndex = 0;
    clear_to_color(target, 0);
    system.draw(target);
    system.imageIndex = 7;
    system.draw(target);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(getpixel(target, x, y), 0);
        }
    }
    destroy_bitmap(target);
}

TEST(ParticleSystem, PicturesAreCentredOnTheParticle)
{
    ScratchDir scratch;
    const int green = makecol(0, 255, 0);
    BITMAP* picture = create_bitmap(4, 6);
    clear_to_color(picture, green);
    DatafileWriter writer;
    writer.addBitmap(picture, "SPECK");
    writer.addBitmap(picture, "SPARE"); // the last object is never addressed
    destroy_bitmap(picture);
    ASSERT_TRUE(writer.save("particles.dat"));

    BITMAP* target = create_bitmap(32, 32);
    clear_to_color(target, 0);
    {
        ParticleSystem system;
        ASSERT_TRUE(system.datafile.isLoaded());
        Particle particle = particleAt(10, 10, 1.0f);
        particle.alpha = 255;
        system.particles.push_back(particle);
        system.draw(target);
        EXPECT_EQ(getpixel(target, 8, 7), green); // top-left of a 4 x 6 picture
        EXPECT_EQ(getpixel(target, 11, 12), green);
        EXPECT_EQ(getpixel(target, 12, 10), 0);
        EXPECT_EQ(getpixel(target, 10, 13), 0);

        // Fading particles are drawn through the blender (additive here).
        clear_to_color(target, makecol(0, 64, 0));
        system.particles[0].alpha = 64;
        system.draw(target);
        const int g = getg(getpixel(target, 10, 10));
        EXPECT_GT(g, 64);
        EXPECT_LT(g, 160);

        // A picture the datafile does not have draws nothing.
        clear_to_color(target, 0);
        system.imageIndex = 1;
        system.draw(target);
        EXPECT_EQ(getpixel(target, 10, 10), 0);
    }
    destroy_bitmap(target);
}
