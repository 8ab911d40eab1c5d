#include "game/creatures/Clam.h"
#include "game/creatures/KindWorld.h"
#include "game/play/Treasure.h"

#include <gtest/gtest.h>

namespace {

class ClamTest : public leveltest::KindWorld {
protected:
    ClamTest()
    {
        buildMap({ "...", "...", "###" });
        clam = place<Clam>(1, 1);
        pearl = new Treasure(Treasure::PEARL);
        game.addSprite(pearl, 2);
        pearl->setPosition(110, 155);
        clam->holdPickup(pearl);
    }

    // The level moves the pearl's fades along with the clam.
    void run(float seconds)
    {
        for (int step = 0; step * 0.02f < seconds - 0.001f; ++step) {
            clam->update(0.02f);
            pearl->update(0.02f);
        }
    }

    Clam* clam = nullptr;
    Treasure* pearl = nullptr;
};

TEST_F(ClamTest, SnapsOnlyWhileItOpensOrShutsEveryTwoSeconds)
{
    EXPECT_TRUE(clam->bubbleProof);
    EXPECT_EQ(20, clam->offsetY);
    EXPECT_EQ(-100, clam->depthBias);
    Player* player = makePlayer(120 + 30, 120);
    run(1.9f);
    EXPECT_FALSE(player->dead) << "lying open and still";
    run(0.2f);
    EXPECT_EQ("close", clam->animationName);
    EXPECT_EQ(40, clam->depthBias) << "in front of its pearl";
    EXPECT_TRUE(player->dead);

    player->dead = false;
    run(0.5f);
    EXPECT_EQ(0.0f, clam->frame) << "shut";
    player->dead = false;
    run(1.2f);
    EXPECT_FALSE(player->dead) << "lying shut and still";
    player->x = 120 + 65;
    run(0.5f);
    EXPECT_EQ("open", clam->animationName);
    EXPECT_EQ(-500, clam->depthBias) << "behind its pearl";
    EXPECT_FALSE(player->dead) << "out of reach";
    player->x = 120 + 63;
    run(0.1f);
    EXPECT_TRUE(player->dead);
}

TEST_F(ClamTest, ItsPearlShowsWhileItIsOpenAndStaysGoneOnceTaken)
{
    run(2.1f);
    EXPECT_GT(255.0f, pearl->alpha) << "fading as the shell shuts";
    run(0.2f);
    EXPECT_EQ(0.0f, pearl->alpha);
    run(1.9f);
    EXPECT_EQ(255.0f, pearl->alpha) << "shown again as it opens";

    pearl->collected = true;
    pearl->alpha = 0.0f;
    run(4.0f);
    EXPECT_EQ(0.0f, pearl->alpha);
}

} // namespace
