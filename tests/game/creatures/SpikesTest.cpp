#include "game/creatures/Spikes.h"
#include "game/creatures/KindWorld.h"
#include "game/play/CreatureFactory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class SpikesTest : public leveltest::KindWorld { };

TEST_F(SpikesTest, StandOnTheFloorOrHangFromTheRoofOfTheirCell)
{
    buildMap({ "...", "...", "..." });
    Spikes* upright = place<Spikes>(0, 1);
    EXPECT_EQ(10, upright->offsetY);
    EXPECT_FALSE(upright->flipV);
    EXPECT_TRUE(upright->bubbleProof);
    EXPECT_EQ(-10, place<Spikes>(1, 1, true)->offsetY);

    // A picture turned over after it was built hangs once it is reset.
    upright->flipV = true;
    upright->reset();
    EXPECT_EQ(-10, upright->offsetY);

    const auto& rows = LevelColours::rows();
    auto hanging = std::find_if(rows.begin(), rows.end(),
        [](const LevelColours::Row& row) { return row.kind == LevelColours::Kind::SPIKES && row.hanging; });
    ASSERT_NE(rows.end(), hanging);
    auto* fromLevel = dynamic_cast<Spikes*>(CreatureFactory::create(*hanging));
    ASSERT_NE(nullptr, fromLevel);
    game.addCreature(fromLevel);
    EXPECT_TRUE(fromLevel->flipV);
    EXPECT_EQ(-10, fromLevel->offsetY);
}

TEST_F(SpikesTest, KillOnlyAFishInTheirOwnCell)
{
    buildMap({ "....", "....", "...." });
    Spikes* spikes = place<Spikes>(1, 1);
    Player* player = makePlayer(79, 120);
    spikes->update(0.01f);
    EXPECT_FALSE(player->dead) << "a pixel to the left, in the next cell";
    player->setPosition(120, 160);
    spikes->update(0.01f);
    EXPECT_FALSE(player->dead) << "just below";
    player->setPosition(159, 159);
    spikes->update(0.01f);
    EXPECT_TRUE(player->dead) << "the far corner of their cell";
}

} // namespace
