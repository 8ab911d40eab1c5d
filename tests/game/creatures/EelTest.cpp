#include "game/creatures/Eel.h"
#include "game/creatures/KindWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class EelTest : public leveltest::KindWorld {
protected:
    // 100 x 40 pictures: twelve, the glow last.
    EelTest()
    {
        paint("eel.dat", 12, 100, 40);
        startSound({ "eelcharge" });
    }
};

TEST_F(EelTest, PatrolsAndStopsToChargeForOnePointSixSecondsEveryFour)
{
    buildMap({ "##########", "#........#", "##########" });
    Eel* eel = place<Eel>(4, 1);
    EXPECT_EQ(11.0f, eel->glow.frame);
    EXPECT_EQ(0.0f, eel->glow.alpha);
    eel->update(0.01f);
    EXPECT_EQ(120.0f, eel->xTween.target) << "first to the left";
    EXPECT_FALSE(eel->flipH);

    std::vector<float> charges;
    std::vector<float> ends;
    float peak = 0.0f;
    for (int step = 2; step <= 1600; ++step) {
        bool was = eel->charging;
        float x = eel->x;
        eel->update(0.01f);
        if (eel->charging && !was) {
            charges.push_back(step * 0.01f);
            EXPECT_FALSE(eel->moving) << "it stops to charge";
            EXPECT_TRUE(eel->bubbleProof);
        }
        if (!eel->charging && was) {
            ends.push_back(step * 0.01f);
            EXPECT_FALSE(eel->bubbleProof);
            EXPECT_TRUE(eel->moving) << "and swims on";
        }
        if (eel->charging && was) {
            EXPECT_EQ(x, eel->x);
            peak = std::max(peak, eel->glow.alpha);
        }
        if (step == 450) {
            EXPECT_TRUE(eel->flipH) << "it was swimming right when it stopped";
        }
        if (step == 580) {
            EXPECT_EQ(680.0f, eel->xTween.target) << "on its way right again";
        }
    }
    ASSERT_EQ(3u, charges.size());
    EXPECT_NEAR(4.0f, charges[0], 0.02f);
    EXPECT_NEAR(9.6f, charges[1], 0.03f);
    EXPECT_NEAR(15.2f, charges[2], 0.04f);
    ASSERT_LE(2u, ends.size());
    EXPECT_NEAR(5.6f, ends[0], 0.02f);
    EXPECT_NEAR(180.0f, peak, 5.0f);
    EXPECT_EQ(3u, played("eelcharge").size());
}

TEST_F(EelTest, BitesWithin60ButChargingShocksOnlyWhatTouchesItsBody)
{
    buildMap({ "###", "#.#", "###" });
    Eel* eel = place<Eel>(1, 1);
    Player* player = makePlayer(120 + 61, 120);
    eel->update(0.01f);
    EXPECT_FALSE(player->dead);
    player->x = 120 + 59;
    eel->update(0.01f);
    EXPECT_TRUE(player->dead);

    player->dead = false;
    eel->chargeTimer = 0.005f;
    eel->update(0.01f);
    ASSERT_TRUE(eel->charging);
    EXPECT_FALSE(player->dead) << "59 pixels from the middle is well clear of its body";
    // The eel's body: 45 pixels to each side and 15 up and down; the fish's
    // picture: 2 pixels round its middle.
    for (auto clear : { std::make_pair(120 + 48, 120), std::make_pair(120, 120 + 18) }) {
        player->setPosition(clear.first, clear.second);
        eel->update(0.01f);
        EXPECT_FALSE(player->dead) << clear.first << " " << clear.second;
    }
    for (auto touching : { std::make_pair(120 + 46, 120), std::make_pair(120 - 20, 120 - 16) }) {
        player->dead = false;
        player->setPosition(touching.first, touching.second);
        eel->update(0.01f);
        EXPECT_TRUE(player->dead) << touching.first << " " << touching.second;
    }
}

TEST_F(EelTest, ItsChargeClockStandsStillInABubble)
{
    buildMap({ "###", "#.#", "###" });
    Eel* eel = place<Eel>(1, 1);
    eel->trap(5.0f);
    run(eel, 4.5f, 0.1f);
    EXPECT_FALSE(eel->charging);
    EXPECT_FLOAT_EQ(4.0f, eel->chargeTimer);
}

} // namespace
