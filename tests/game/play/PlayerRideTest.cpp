#include "engine/media/ParticleSystem.h"
#include "game/play/FishLevel.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using fishtest::DT;
using fishtest::releaseKeys;

// A long level with a low ceiling over its first columns and a rock ahead
// on the fish's row.
class PlayerRideTest : public fishtest::FishLevel {
protected:
    PlayerRideTest()
    {
        buildMap({
            "####################",
            "##########..........",
            "............#.......",
            "....................",
            "....................",
            "####################",
        });
    }

    bool onLayer(int layer, const Sprite* sprite) const
    {
        const auto& sprites = game.screen->layers[layer].sprites;
        return std::find(sprites.begin(), sprites.end(), sprite) != sprites.end();
    }
};

TEST_F(PlayerRideTest, ZazCarriesTheFishAtItsOwnPaceStopsAtTheCeilingAndKillsItOnAWall)
{
    fish->rideRay();
    EXPECT_TRUE(fish->ridingFriend);
    EXPECT_TRUE(onLayer(1, &fish->friendSprite));
    EXPECT_EQ(fish->friendSprite.x, 200.0f);

    // A speed boost is the fish's, not the friend's; "up" climbs to the
    // ceiling's edge and no further.
    fish->activatePowerup(Player::SPEED_BOOST, 10.0f);
    key[KEY_UP] = 1;
    run(0.5f);
    EXPECT_NEAR(fish->x, 500.0f, 0.1f);
    EXPECT_GE(fish->y, 160.0f);
    EXPECT_LT(fish->y, 165.0f);
    EXPECT_EQ(fish->x, fish->friendSprite.x);
    EXPECT_FALSE(fish->dead);

    // The rock at column 12 ends the ride; Zaz flies on without the fish.
    releaseKeys();
    run(0.8f);
    EXPECT_TRUE(fish->dead);
    EXPECT_LT(fish->x, 960.0f);
    EXPECT_GT(fish->x, 950.0f);
    EXPECT_EQ(plays("ow"), 1);
    float diedAtY = fish->y;
    run(0.3f);
    EXPECT_GT(fish->friendSprite.x, 1100.0f);
    EXPECT_LT(fish->x, 960.0f);
    EXPECT_LT(fish->y, diedAtY);

    // The fish takes its friend off the screen when it goes.
    const Sprite* friendSprite = &fish->friendSprite;
    game.screen->removeSprite(fish.get(), 2);
    fish.reset();
    EXPECT_FALSE(onLayer(1, friendSprite));
}

TEST_F(PlayerRideTest, TheRocketRidesLowAndPuffsSmokeFromItsTailTenTimesASecond)
{
    ParticleSystem smoke;
    game.emitters[0] = &smoke;
    fish->rideRocket();
    EXPECT_TRUE(fish->rocketSmoke);
    EXPECT_EQ(fish->friendSprite.offsetX, 5);

    key[KEY_DOWN] = 1;
    run(0.35f);
    EXPECT_EQ(smoke.particles.size(), 4u);
    // The first puff leaves the tail before the rocket has moved.
    EXPECT_NEAR(smoke.particles.front().x, 185.0f, 12.0f);
    EXPECT_EQ(fish->friendSprite.offsetY, fish->offsetY + 20);
    EXPECT_NEAR(fish->y, 200.0f + 400.0f * 0.35f, 0.5f);
    game.emitters[0] = nullptr;
}

} // namespace
