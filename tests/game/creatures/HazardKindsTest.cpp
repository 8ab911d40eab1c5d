#include "game/creatures/HazardWorld.h"

#include "game/creatures/Cannon.h"
#include "game/creatures/Crate.h"
#include "game/creatures/Refill.h"
#include "game/creatures/Seagull.h"
#include "game/creatures/Sentinel.h"
#include "game/creatures/Sharky.h"
#include "game/play/CreatureFactory.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using HazardKindsTest = hazardtest::HazardWorld;

std::unique_ptr<Creature> fromColour(int red, int green, int blue)
{
    const LevelColours::Row* row = LevelColours::find(LevelColours::key(red, green, blue));
    return std::unique_ptr<Creature>(row != nullptr ? CreatureFactory::create(*row) : nullptr);
}

TEST_F(HazardKindsTest, TheLevelColoursBuildTheHazardsWithTheirSettings)
{
    auto left = fromColour(0, 255, 128);
    auto right = fromColour(0, 255, 148);
    ASSERT_NE(nullptr, dynamic_cast<Sentinel*>(left.get()));
    ASSERT_NE(nullptr, dynamic_cast<Sentinel*>(right.get()));
    EXPECT_TRUE(left->flipH);
    EXPECT_FALSE(right->flipH);
    EXPECT_EQ("dat/sentinel.dat", left->datafile.name) << "the fish knows statues by their pictures";

    auto plain = fromColour(100, 100, 0);
    auto explosive = fromColour(164, 100, 0);
    ASSERT_NE(nullptr, dynamic_cast<Crate*>(plain.get()));
    ASSERT_NE(nullptr, dynamic_cast<Crate*>(explosive.get()));
    EXPECT_FALSE(static_cast<Crate*>(plain.get())->isExplosive());
    EXPECT_TRUE(static_cast<Crate*>(explosive.get())->isExplosive());
    EXPECT_TRUE(explosive->obstacle);

    EXPECT_NE(nullptr, dynamic_cast<Seagull*>(fromColour(225, 225, 225).get()));
    EXPECT_NE(nullptr, dynamic_cast<Sharky*>(fromColour(0, 0, 0).get()));
    EXPECT_NE(nullptr, dynamic_cast<Cannon*>(fromColour(0, 0, 64).get()));
    EXPECT_NE(nullptr, dynamic_cast<Refill*>(fromColour(125, 125, 125).get()));
}

} // namespace
